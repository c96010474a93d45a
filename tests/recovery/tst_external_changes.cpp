// Files changed, deleted or replaced on disk between open and save, a close or an activation of
// the document's window; read-only files.
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
const QByteArray kTyped("(A)" + kOriginal);
constexpr int Yes = platform::mb::AnswerYes, No = platform::mb::AnswerNo;

// Changes the file behind the editor's back: "modify", "touch", "delete" or "replace".
bool changeOnDisk(const QString &file, const QString &how)
{
    const QByteArray name = QFile::encodeName(file);
    struct utimbuf later{2000000, 2000000};
    const auto write = [](const QString &path, const QByteArray &bytes) {
        QFile f(path);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
    };
    if (how == QLatin1String("delete"))
        return QFile::remove(file);
    if (how == QLatin1String("replace"))
        return write(file + ".new", "M30\r\n") && ::rename(QFile::encodeName(file + ".new").constData(), name.constData()) == 0;
    return (how != QLatin1String("modify") || write(file, kOther)) && ::utime(name.constData(), &later) == 0;
}

} // namespace

class TestExternalChanges : public QObject {
    Q_OBJECT
private slots:
    void externalChange_data()
    {
        QTest::addColumn<QString>("command"); // a menu item, or "activate": the window activated
        QTest::addColumn<QString>("onDisk");
        QTest::addColumn<bool>("typed");      // the document modified first
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QByteArray>("file"); // on disk afterwards ("" as it was changed)
        QTest::addColumn<QByteArray>("text");
        const QByteArray asChanged;
        const QString save = "Mnu_Enregistrer", activate = "activate";
        QTest::newRow("save, only touched") << save << "touch" << true << QList<int>{} << kTyped << kTyped;
        QTest::newRow("save, modified, overwrite") << save << "modify" << true << QList<int>{Yes} << kTyped << kTyped;
        QTest::newRow("save, modified, keep") << save << "modify" << true << QList<int>{No} << asChanged << kTyped;
        QTest::newRow("save, replaced, keep") << save << "replace" << true << QList<int>{No} << asChanged << kTyped;
        QTest::newRow("save, deleted: written again") << save << "delete" << true << QList<int>{} << kTyped << kTyped;
        // The save question of a closing document goes through the same check: declining the
        // overwrite keeps the window open and the document modified.
        QTest::newRow("close, save, keep") << "Mnu_Close" << "modify" << true << QList<int>{Yes, No} << asChanged << kTyped;
        QTest::newRow("activate, reload") << activate << "modify" << false << QList<int>{Yes} << kOther << kOther;
        QTest::newRow("activate, keep") << activate << "modify" << false << QList<int>{No} << asChanged << kOriginal;
        QTest::newRow("activate, document modified") << activate << "modify" << true << QList<int>{} << asChanged << kTyped;
        QTest::newRow("activate, only touched") << activate << "touch" << false << QList<int>{} << kOriginal << kOriginal;
        QTest::newRow("activate, deleted: kept open") << activate << "delete" << false << QList<int>{} << asChanged << kOriginal;
    }
    void externalChange()
    {
        QFETCH(QString, command); QFETCH(QString, onDisk); QFETCH(bool, typed); QFETCH(QList<int>, answers);
        QFETCH(QByteArray, file); QFETCH(QByteArray, text);
        const bool activate = command == QLatin1String("activate");
        TestApp app;
        const QString path = app.openFile(kOriginal);
        Form1 *doc = app.doc();
        app.trigger("Mnu_Nouveau");
        app.main->activateDocument(doc);
        doc->Text1->setSelStart(0);
        if (typed)
            doc->Text1->setSelText(QStringLiteral("(A)"));
        QVERIFY(changeOnDisk(path, onDisk));
        const QByteArray changed = TestApp::read(path);
        for (int answer : answers)
            app.fakes.messageBox.answer(answer);
        for (int again = 0; again < (activate ? 2 : 1); ++again) { // asked once per change
            activate ? emit app.main->events().activated(doc) : app.trigger(command);
            QCOMPARE(app.fakes.messageBox.boxes().size(), answers.size());
        }
        if (!answers.isEmpty())
            QCOMPARE(app.fakes.messageBox.last().text, QStringLiteral("Le fichier %1 a été modifié par un autre programme.\r\n%2")
                                                           .arg(path, activate ? "Le recharger ?" : "L'écraser ?"));
        QCOMPARE(TestApp::read(path), file.isEmpty() ? changed : file);
        QCOMPARE(doc->Text1->utf8(), text);
        QCOMPARE(doc->Change, typed && text != TestApp::read(path));
        QCOMPARE(app.main->documents().size(), 2);
        // The next save asks only while the other program's change was never taken or written over.
        const bool protectedFile = file.isEmpty() && onDisk != QLatin1String("delete");
        doc->Text1->setSelText(QStringLiteral("B"));
        if (protectedFile)
            app.fakes.messageBox.answerNo();
        app.trigger("Mnu_Enregistrer");
        QCOMPARE(app.fakes.messageBox.boxes().size(), answers.size() + (protectedFile ? 1 : 0));
    }

    void readOnlyFile()
    {
        TestApp app;
        const QString file = app.write(QStringLiteral("ro.iso"), kOriginal);
        const auto chmod = [&](mode_t mode) { return ::chmod(QFile::encodeName(file).constData(), mode) == 0; };
        QVERIFY(chmod(0444));
        Form1 *doc = app.open(file);
        QCOMPARE(doc->StatusBar1->panelText(8), QStringLiteral("Lecture seule"));
        // Permissions changed meanwhile show at the next activation.
        for (const auto &[mode, notice] : {std::pair{0644, "Tarmel - programmes CN"}, {0444, "Lecture seule"}}) {
            QVERIFY(chmod(mode_t(mode)));
            emit app.main->events().activated(doc);
            QCOMPARE(doc->StatusBar1->panelText(8), QString::fromUtf8(notice));
        }
        doc->Text1->setSelText(QStringLiteral("X"));
        app.fakes.messageBox.answerOk();
        app.trigger("Mnu_Enregistrer");
        QVERIFY(app.fakes.messageBox.last().text.startsWith(QStringLiteral("Erreur lors de l'enregistrement du fichier")));
        QCOMPARE(TestApp::read(file), kOriginal);
        QVERIFY(doc->Change);
        // "Enregistrer &Sous" writes elsewhere, and the notice goes with the read-only file.
        const QString copy = app.path(QStringLiteral("copy.iso"));
        app.fakes.commonDialog.expectSave(copy, 1);
        app.trigger("Mnu_EnregistrerSous");
        QCOMPARE(TestApp::read(copy), QByteArray("X") + kOriginal);
        QCOMPARE(doc->StatusBar1->panelText(8), QStringLiteral("Tarmel - programmes CN"));
        QCOMPARE(app.fakes.messageBox.boxes().size(), 1);
    }
};

QTEST_MAIN(TestExternalChanges)
#include "tst_external_changes.moc"
