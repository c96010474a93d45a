// Files changed, deleted or replaced on disk between open and save; reloading on activation;
// read-only files.
#include "app/DocumentEvents.h"
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"

#include <QtTest>

#include <sys/stat.h>
#include <utime.h>

using namespace tarmel;
using testsupport::TestApp;

namespace {

const QByteArray kOriginal("N10 G0 X0\r\nN20 M30\r\n");
const QByteArray kOther("N10 G1 X5\r\nN20 M30\r\n"); // same size

// Changes the file behind the editor's back.
bool changeOnDisk(const QString &file, const QString &how)
{
    const QByteArray name = QFile::encodeName(file);
    struct utimbuf later{2000000, 2000000};
    const auto write = [](const QString &path, const QByteArray &bytes) {
        QFile f(path);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
    };
    if (how == QLatin1String("modify"))
        return write(file, kOther) && ::utime(name.constData(), &later) == 0;
    if (how == QLatin1String("touch"))
        return ::utime(name.constData(), &later) == 0;
    if (how == QLatin1String("delete"))
        return QFile::remove(file);
    if (how == QLatin1String("replace")) {
        const QString other = file + QStringLiteral(".new");
        return write(other, "M30\r\n") && ::rename(QFile::encodeName(other).constData(), name.constData()) == 0;
    }
    return how.isEmpty();
}

} // namespace

class TestExternalChanges : public QObject {
    Q_OBJECT
private slots:
    void saveAsksBeforeOverwriting_data()
    {
        QTest::addColumn<QString>("onDisk");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("written");
        QTest::newRow("unchanged") << "" << false << 0 << true;
        QTest::newRow("only touched") << "touch" << false << 0 << true;
        QTest::newRow("modified, overwrite") << "modify" << true << int(platform::mb::AnswerYes) << true;
        QTest::newRow("modified, keep") << "modify" << true << int(platform::mb::AnswerNo) << false;
        QTest::newRow("replaced, keep") << "replace" << true << int(platform::mb::AnswerNo) << false;
        QTest::newRow("deleted: written again") << "delete" << false << 0 << true;
    }
    void saveAsksBeforeOverwriting()
    {
        QFETCH(QString, onDisk);
        QFETCH(bool, asked);
        QFETCH(int, answer);
        QFETCH(bool, written);
        TestApp app;
        const QString file = app.openFile(kOriginal);
        Form1 *doc = app.doc();
        doc->Text1->setSelStart(0);
        doc->Text1->setSelText(QStringLiteral("(A)"));
        QVERIFY(changeOnDisk(file, onDisk));
        const QByteArray before = TestApp::read(file);
        if (asked)
            app.fakes.messageBox.answer(answer);
        app.trigger("Mnu_Enregistrer");
        QCOMPARE(app.fakes.messageBox.boxes().size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(app.fakes.messageBox.last().text,
                     QStringLiteral("Le fichier %1 a été modifié par un autre programme.\r\nL'écraser ?").arg(file));
            QCOMPARE(app.fakes.messageBox.last().flags & 0xF, platform::mb::YesNo);
        }
        QCOMPARE(TestApp::read(file), written ? QByteArray("(A)") + kOriginal : before);
        QCOMPARE(doc->Change, !written);
        QCOMPARE(app.enabled("Mnu_Enregistrer"), !written);
        if (!written)
            return;
        // Written: the file is the document's again, and the next save asks nothing.
        doc->Text1->setSelText(QStringLiteral("B"));
        app.trigger("Mnu_Enregistrer");
        QCOMPARE(app.fakes.messageBox.boxes().size(), asked ? 1 : 0);
    }

    // The save question of a closing document goes through the same check: declining the
    // overwrite keeps the window open and the document modified.
    void closeDeclinedKeepsTheWindow()
    {
        TestApp app;
        const QString file = app.openFile(kOriginal);
        app.doc()->Text1->setSelText(QStringLiteral("X"));
        QVERIFY(changeOnDisk(file, QStringLiteral("modify")));
        app.fakes.messageBox.answerYes(); // save before closing?
        app.fakes.messageBox.answerNo();  // overwrite the other program's change?
        app.trigger("Mnu_Close");
        QCOMPARE(app.main->documents().size(), 1);
        QVERIFY(app.doc()->Change);
        QCOMPARE(TestApp::read(file), kOther);
    }

    void activationOffersReload_data()
    {
        QTest::addColumn<QString>("onDisk");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<int>("answer"); // 0: not asked
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("changed, reload") << "modify" << false << int(platform::mb::AnswerYes) << kOther;
        QTest::newRow("changed, keep") << "modify" << false << int(platform::mb::AnswerNo) << kOriginal;
        QTest::newRow("changed, document modified") << "modify" << true << 0 << QByteArray("Z") + kOriginal;
        QTest::newRow("only touched") << "touch" << false << 0 << kOriginal;
        QTest::newRow("deleted: kept open") << "delete" << false << 0 << kOriginal;
        QTest::newRow("unchanged") << "" << false << 0 << kOriginal;
    }
    void activationOffersReload()
    {
        QFETCH(QString, onDisk);
        QFETCH(bool, modified);
        QFETCH(int, answer);
        QFETCH(QByteArray, text);
        TestApp app;
        const QString file = app.openFile(kOriginal);
        Form1 *doc = app.doc();
        app.trigger("Mnu_Nouveau");
        if (modified) {
            doc->Text1->setSelStart(0);
            doc->Text1->setSelText(QStringLiteral("Z"));
        }
        QVERIFY(changeOnDisk(file, onDisk));
        if (answer)
            app.fakes.messageBox.answer(answer);
        app.main->activateDocument(doc);
        emit app.main->events().activated(doc);
        QCOMPARE(app.fakes.messageBox.boxes().size(), answer ? 1 : 0);
        if (answer)
            QCOMPARE(app.fakes.messageBox.last().text,
                     QStringLiteral("Le fichier %1 a été modifié par un autre programme.\r\nLe recharger ?").arg(file));
        QCOMPARE(doc->Text1->utf8(), text);
        QCOMPARE(doc->Change, modified);
        QCOMPARE(app.main->documents().size(), 2);
        if (answer == platform::mb::AnswerYes)
            QCOMPARE(doc->StatusBar1->panelText(2), QStringLiteral(" %1 Octets").arg(kOther.size()));
        // Asked once per change of the file: activating again asks nothing more.
        emit app.main->events().activated(doc);
        QCOMPARE(app.fakes.messageBox.boxes().size(), answer ? 1 : 0);
        // A declined reload still protects the other program's file at the next save.
        if (answer == platform::mb::AnswerNo) {
            doc->Text1->setSelText(QStringLiteral("Y"));
            app.fakes.messageBox.answerNo();
            app.trigger("Mnu_Enregistrer");
            QCOMPARE(TestApp::read(file), kOther);
        }
    }

    void readOnlyFile()
    {
        TestApp app;
        const QString file = app.write(QStringLiteral("ro.iso"), kOriginal);
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0444), 0);
        Form1 *doc = app.open(file);
        QCOMPARE(doc->caption(), file);
        QCOMPARE(doc->StatusBar1->panelText(8), QStringLiteral("Lecture seule"));
        // Permissions changed meanwhile show at the next activation.
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0644), 0);
        emit app.main->events().activated(doc);
        QCOMPARE(doc->StatusBar1->panelText(8), QStringLiteral("Tarmel - programmes CN"));
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0444), 0);
        emit app.main->events().activated(doc);
        QCOMPARE(doc->StatusBar1->panelText(8), QStringLiteral("Lecture seule"));
        doc->Text1->setSelText(QStringLiteral("X"));
        app.fakes.messageBox.answerOk();
        app.trigger("Mnu_Enregistrer");
        QCOMPARE(app.fakes.messageBox.boxes().size(), 1);
        QVERIFY(app.fakes.messageBox.last().text.startsWith(QStringLiteral("Erreur lors de l'enregistrement du fichier")));
        QCOMPARE(TestApp::read(file), kOriginal);
        QVERIFY(doc->Change);
        // "Enregistrer &Sous" writes elsewhere, and the notice goes with the read-only file.
        const QString copy = app.path(QStringLiteral("copy.iso"));
        app.fakes.commonDialog.expectSave(copy, 1);
        app.trigger("Mnu_EnregistrerSous");
        QCOMPARE(TestApp::read(copy), QByteArray("X") + kOriginal);
        QVERIFY(!doc->Change);
        QCOMPARE(doc->StatusBar1->panelText(8), QStringLiteral("Tarmel - programmes CN"));
        QCOMPARE(app.fakes.messageBox.boxes().size(), 1);
    }
};

QTEST_MAIN(TestExternalChanges)
#include "tst_external_changes.moc"
