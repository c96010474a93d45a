// Open, save, save as and merge through the menu actions, with scripted dialogs, checking
// captions, status panels, menu states and the bytes on disk.
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "files/FileRules.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"
#include "tests/support/TestPaths.h"

#include <QDir>
#include <QtTest>

using namespace tarmel;
using testsupport::TestApp;

class TestFileCommands : public QObject {
    Q_OBJECT
private slots:
    // Opened, shown with its size and format, marked modified and saved: the same bytes again.
    void saveUnchangedGivesSameBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("panels");   // size, encoding, line ends
        QByteArray high("N10\0X\r\n", 7); // a NUL, then every byte from 0x80
        for (int b = 0x80; b <= 0xFF; ++b)
            high.append(char(b));
        QTest::newRow("NUL and 0x80-0xFF") << high + "\r\n" << " 137 Octets|Windows-1252|CR LF";
        QTest::newRow("mixed, no final line end") << QByteArray("N10\r\nN20\nN30\rN40") << " 16 Octets|Windows-1252|mixte";
        QTest::newRow("utf8 bom") << QByteArray("\xEF\xBB\xBF(caf\xC3\xA9)\r\n") << " 12 Octets|UTF-8|CR LF";
    }
    void saveUnchangedGivesSameBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, panels);
        TestApp app;
        const QString file = app.write(QStringLiteral("prog.iso"), bytes);
        Form1 *doc = app.open(file);
        const auto panel = [&](int i) { return doc->StatusBar1->panelText(i); };
        QCOMPARE(QStringList({panel(2), panel(9), panel(10)}).join(u'|'), panels);
        doc->Change = true;
        app.trigger("Mnu_Enregistrer");
        QCOMPARE(TestApp::read(file), bytes);
        QVERIFY(!doc->Change);
    }

    void saveCorpusUnchanged()
    {
        SKIP_WITHOUT_CORPUS(QStringLiteral("nc"));
        const QDir corpus(testsupport::corpusPath(QStringLiteral("nc")));
        const QStringList names = corpus.entryList(QDir::Files);
        QVERIFY(!names.isEmpty());
        TestApp app;
        for (const QString &name : names) {
            const QByteArray bytes = TestApp::read(corpus.filePath(name));
            const QString copy = app.write(name, bytes);
            app.open(copy);
            app.trigger("Mnu_Enregistrer");
            QVERIFY2(TestApp::read(copy) == bytes, qPrintable(name));
            app.trigger("Mnu_Close");
        }
    }

    // A new document: Save opens Save As, preset to "Nouveau.iso" and the last filter; the file
    // ends with one line end, saving again never grows it, and the window shows the new name.
    void saveNewDocument_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("expected"); // empty: Save As cancelled
        QTest::newRow("cancelled") << "N10" << QByteArray();
        QTest::newRow("without final line end") << "N10\r\nN20" << QByteArray("N10\r\nN20\r\n");
    }
    void saveNewDocument()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, expected);
        TestApp app;
        app.main->state().LastFilterIndex = 3;
        app.trigger("Mnu_Nouveau");
        app.doc()->Text1->setText(text);
        const QString target = app.path(QStringLiteral("Nouveau.iso"));
        if (expected.isEmpty()) {
            app.fakes.commonDialog.expectCancel();
            app.fakes.commonDialog.expectCancel();
        } else {
            app.fakes.commonDialog.expectSave(target, 1);
        }
        app.trigger("Mnu_Enregistrer");
        QCOMPARE(app.fakes.commonDialog.lastShown().props.FileName, QStringLiteral("Nouveau.iso"));
        QCOMPARE(app.fakes.commonDialog.lastShown().props.FilterIndex, 3);
        QCOMPARE(app.doc()->Change, expected.isEmpty());
        QCOMPARE(app.doc()->StatusBar1->panelText(1), expected.isEmpty() ? "Nouveau.iso" : "NOUVEAU.ISO");
        QCOMPARE(app.main->state().LastFilterIndex, qint16(expected.isEmpty() ? 3 : 1));
        app.trigger("Mnu_Enregistrer");
        QCOMPARE(QFile::exists(target) ? TestApp::read(target) : QByteArray(), expected);
    }

    // A character the file's encoding cannot hold: saved in UTF-8 on Yes, not saved on No.
    void unrepresentableCharacterAsks_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("no") << int(platform::mb::AnswerNo) << QByteArray("N10 \xB0\r\n");
        QTest::newRow("yes") << int(platform::mb::AnswerYes) << QByteArray("N10 \xC2\xB0 \xE4\xB8\x80\r\n");
    }
    void unrepresentableCharacterAsks()
    {
        QFETCH(int, answer);
        QFETCH(QByteArray, expected);
        TestApp app;
        const QString file = app.write(QStringLiteral("a.iso"), "N10 \xB0\r\n"); // a Windows-1252 degree sign
        Form1 *doc = app.open(file);
        doc->Text1->setSelStart(5);
        doc->Text1->setSelText(QStringLiteral(" \u4E00"));
        app.fakes.messageBox.answer(answer);
        app.trigger("Mnu_Enregistrer");
        QVERIFY(app.fakes.messageBox.last().text.contains(QStringLiteral("\u4E00")));
        QCOMPARE(TestApp::read(file), expected);
        const bool yes = answer == platform::mb::AnswerYes;
        QCOMPARE(doc->Change, !yes);
        QCOMPARE(doc->StatusBar1->panelText(9), yes ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1252"));
    }

    // A merge inserts the file at the caret with the document's line ends, and can be undone.
    // The rich-text filter, which a merge does not offer, falls back to the first.
    void merge()
    {
        TestApp app;
        Form1 *doc = app.open(app.write(QStringLiteral("a.iso"), "N10\r\nN30\r\n"));
        doc->Text1->setSelStart(5);
        app.main->state().LastFilterIndex = 11;
        app.fakes.commonDialog.expectOpen(app.write(QStringLiteral("part.iso"), "N20\nN21\rN22\r\n"));
        app.trigger("Mnu_Fusionner");
        QCOMPARE(app.fakes.commonDialog.lastShown().props.FilterIndex, 1);
        QCOMPARE(doc->Text1->text(), QStringLiteral("N10\r\nN20\r\nN21\r\nN22\r\nN30\r\n"));
        app.trigger("Mnu_Annuler");
        QCOMPARE(doc->Text1->text(), QStringLiteral("N10\r\nN30\r\n"));
    }

    // Which names are rich text, and the name a rich text is saved under.
    void richTextNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("rich");
        QTest::addColumn<QString>("saveName");
        QTest::newRow("rtf") << "/p/prog.rtf" << true << "/p/prog.rtf";
        QTest::newRow("iso") << "/p/prog.iso" << false << "/p/prog.iso.rtf";
        QTest::newRow("ends in rtf without dot") << "/p/myrtf" << true << "/p/myrtf.rtf";
    }
    void richTextNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, rich);
        QFETCH(QString, saveName);
        QCOMPARE(isRichTextName(name), rich);
        QCOMPARE(richTextSaveName(name), saveName);
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_file_commands.moc"
