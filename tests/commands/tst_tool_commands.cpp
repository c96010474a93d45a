// "Police...", the three programs of the "&Outils" menu and the about box.
#include "app/MDIForm1.h"
#include "commands/frmAbout.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace tarmel;
using testsupport::FakeCommonDialog;

namespace {

const QByteArray kPlain = "N10 G00 X0\r\nN20 G01 X5\r\n";
const QByteArray kRich = "{\\rtf1\\ansi{\\fonttbl{\\f0 Courier New;}}\\f0\\fs20 N10 G00 X0\\par N20 G01 X5\\par}";
const QByteArray kTwoFonts =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Courier New;}{\\f1 DejaVu Sans;}}\\f0 N10 G00\\par \\f1 N20 X5\\par}";

// Waits for a started stand-in program's record of its arguments.
QString eventuallyRead(const QString &path)
{
    for (int i = 0; i < 3000 && !QFile::exists(path); ++i)
        QTest::qWait(10);
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
}

} // namespace

class TestToolCommands : public QObject {
    Q_OBJECT
private slots:
    // The font of the whole text through the common dialog. "close": the window then closes
    // without the save question; "undo": Annuler then gives back the text.
    void font_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("answer"); // "choose", "cancel", "none" (no dialog may show)
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QString>("then");
        QTest::newRow("plain, chosen") << "plain" << "choose" << false << "close";
        QTest::newRow("plain, cancelled") << "plain" << "cancel" << false << "undo";
        QTest::newRow("rich, chosen: the formatting is content") << "rich" << "choose" << true << "undo";
        QTest::newRow("rich, cancelled") << "rich" << "cancel" << false << "close";
        QTest::newRow("two fonts end silently") << "two fonts" << "none" << false << "undo";
    }
    void font()
    {
        QFETCH(QString, file);
        QFETCH(QString, answer);
        QFETCH(bool, modified);
        QFETCH(QString, then);
        testsupport::TestApp app;
        const bool plain = file == u"plain";
        app.openFile(plain ? kPlain : file == u"rich" ? kRich : kTwoFonts, plain ? "p.iso" : "p.rtf");
        Form1 *doc = app.doc();
        app.trigger("Mnu_Enregistrer"); // saved: not modified, "&Enregistrer" off
        QCOMPARE(app.mismatches("-Mnu_Enregistrer -#3"), QString());
        platform::RichTextBox &text = *doc->Text1;
        const QString before = text.text();
        const QString fontBefore = text.selFontName().value_or(QString());
        const qsizetype dialogsBefore = app.fakes.commonDialog.shown().size();
        if (answer == u"choose")
            app.fakes.commonDialog.expectFont({"DejaVu Serif", 14, true, false, true, false, QColor(0, 0, 128)});
        else if (answer == u"cancel")
            app.fakes.commonDialog.expectCancel();

        app.run("Mnu_Texte");

        const platform::DialogProperties &props = app.fakes.commonDialog.props();
        QVERIFY(!props.CancelError);
        QCOMPARE(app.fakes.commonDialog.shown().size() - dialogsBefore, qsizetype(answer == u"none" ? 0 : 1));
        if (answer != u"none") {
            QCOMPARE(app.fakes.commonDialog.lastShown().props.FontName, fontBefore);
            QCOMPARE(app.fakes.commonDialog.lastShown().props.Flags, 259);
        }
        QCOMPARE(text.text(), before);
        QCOMPARE(text.selStart(), qsizetype(0));
        QCOMPARE(text.selLength(), answer == u"choose" ? qsizetype(0) : text.textLength());
        if (answer == u"choose") {
            text.setSelLength(text.textLength());
            QCOMPARE(text.selFontName().value_or(QString()), QStringLiteral("DejaVu Serif"));
            QCOMPARE(text.selFontSize(), 14.0);
            QVERIFY(text.selBold() && !text.selItalic() && text.selUnderline() && !text.selStrikeThru());
            QCOMPARE(text.selColor(), QColor(0, 0, 128));
        }
        QCOMPARE(doc->Change, modified);
        QCOMPARE(app.mismatches(modified ? "Mnu_Enregistrer #3" : "-Mnu_Enregistrer -#3"), QString());
        QCOMPARE(app.mismatches("Mnu_Annuler #8"), QString());
        if (then == u"close") {
            QVERIFY(app.main->closeDocument(doc)); // an unexpected save question fails the test
            QVERIFY(app.fakes.messageBox.boxes().isEmpty());
        } else {
            app.trigger("Mnu_Annuler");
            QCOMPARE(text.text(), before);
        }
    }

    void fontWithoutDocument()
    {
        testsupport::TestApp app;
        app.run("Mnu_Texte"); // no dialog is scripted: showing one fails the test
        QVERIFY(app.fakes.commonDialog.shown().isEmpty());
    }

    // With nothing to start: the message of each tool, title "Erreur", flags 16.
    void toolNotFound_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("message");
        QTest::newRow("calculator") << "Mnu_Calculatrice" << "Calc.exe" << "Calculatrice non trouvée !";
        QTest::newRow("file manager") << "Mnu_Explore" << "explorer.exe" << "Explorateur non trouvé !";
        QTest::newRow("character map") << "Mnu_tableCar" << "Charmap.exe" << "Table des caractères non trouvée !";
    }
    void toolNotFound()
    {
        QFETCH(QString, item);
        QFETCH(QString, program);
        QFETCH(QString, message);
        testsupport::TestApp app;
        app.fakes.shell.startResult = false;
        app.fakes.messageBox.answerOk();
        app.trigger(item);
        QCOMPARE(app.fakes.shell.started, QStringList{program});
        QCOMPARE(app.fakes.messageBox.boxes().size(), qsizetype(1));
        QCOMPARE(app.fakes.messageBox.last().text, message);
        QCOMPARE(app.fakes.messageBox.last().title, QStringLiteral("Erreur"));
        QCOMPARE(app.fakes.messageBox.last().flags, 16);
        app.fakes.shell.startResult = true;
        app.trigger(item);
        QCOMPARE(app.fakes.messageBox.boxes().size(), qsizetype(1)); // started: no message
    }

    // The real shell starts the first program found on the path; the file manager opens the
    // active document's folder, or the home folder.
    void toolStarted_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("document");
        QTest::addColumn<QString>("arguments"); // "FOLDER": the document's folder
        QTest::newRow("calculator") << "Mnu_Calculatrice" << "gnome-calculator" << false << "";
        QTest::newRow("file manager, no file") << "Mnu_Explore" << "xdg-open" << false << QDir::homePath();
        QTest::newRow("file manager, a file's folder") << "Mnu_Explore" << "xdg-open" << true << "FOLDER";
        QTest::newRow("character map") << "Mnu_tableCar" << "gucharmap" << false << "";
    }
    void toolStarted()
    {
        QFETCH(QString, item);
        QFETCH(QString, program);
        QFETCH(bool, document);
        QFETCH(QString, arguments);
        QTemporaryDir bin;
        QFile stub(QDir(bin.path()).filePath(program));
        QVERIFY(stub.open(QIODevice::WriteOnly));
        stub.write(QStringLiteral("#!/bin/sh\necho \"$*\" > '%1.tmp'\n/bin/mv '%1.tmp' '%1.ran'\n").arg(stub.fileName()).toUtf8());
        stub.close();
        QVERIFY(stub.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
        platform::QtShell shell;
        testsupport::FakeServices fakes;
        platform::Services services = fakes.services();
        services.shell = &shell;
        MDIForm1 main(services);
        QTemporaryDir work;
        if (document) {
            fakes.commonDialog.expectOpen(QDir(work.path()).filePath("p.iso"));
            QFile(QDir(work.path()).filePath("p.iso")).open(QIODevice::WriteOnly);
            main.runCommand("Mnu_Ouvrir");
            arguments = QFileInfo(work.path()).canonicalFilePath();
        }
        main.runCommand(item);
        qputenv("PATH", path);
        QCOMPARE(eventuallyRead(stub.fileName() + ".ran"), arguments);
        QVERIFY(fakes.messageBox.boxes().isEmpty());
    }

    // The about box, by the menu item and by the toolbar button: modal, its texts, closed by OK.
    void about_data()
    {
        QTest::addColumn<bool>("byButton");
        QTest::newRow("menu item") << false;
        QTest::newRow("toolbar button") << true;
    }
    void about()
    {
        QFETCH(bool, byButton);
        testsupport::TestApp app;
        QVERIFY(app.showWindow());
        if (byButton)
            app.main->Toolbar1_ButtonClick("Apropos");
        else
            app.trigger("Mnu_Apropos");
        auto *box = app.main->findChild<frmAbout *>();
        QVERIFY(box && box->isVisible() && box->isModal());
        QCOMPARE(box->windowTitle(), QStringLiteral("A propos"));
        QCOMPARE(box->Label1->text(), QStringLiteral("Editeur de programmes Commande Numérique"));
        QCOMPARE(box->Etiquette1->text(), QStringLiteral("Tarmel Pour Windows 95/98/NT/XP"));
        QCOMPARE(box->Etiquette2->text().section(u'\n', 0, 0), QStringLiteral("Version 3.2.0"));
        QVERIFY(!box->Etiquette2->text().section(u'\n', 1).isEmpty()); // the owner line
        QCOMPARE(box->Label2->text(), QStringLiteral("E-Mail :"));
        QCOMPARE(box->Label4->text(), QStringLiteral("URL :"));
        QVERIFY(box->Label3->text().contains(u'@') && box->Label5->text().startsWith(u"https://"));
        QCOMPARE(box->Label2->parentWidget(), box->fraAbout);
        QVERIFY(!box->Image1->pixmap().isNull());
        QCOMPARE(box->cmdAbout->text(), QStringLiteral("&OK"));
        QTest::mouseClick(box->cmdAbout, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!app.main->findChild<frmAbout *>()); // discarded when closed
    }
};

QTEST_MAIN(TestToolCommands)
#include "tst_tool_commands.moc"
