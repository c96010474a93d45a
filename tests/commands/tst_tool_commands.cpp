// "Police...", the three programs of the "&Outils" menu and the about box.
#include "commands/frmAbout.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestApp.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace tarmel;

static const QByteArray kPlain = "N10 G00 X0\r\nN20 G01 X5\r\n";

class TestToolCommands : public QObject {
    Q_OBJECT
private slots:
    // The font of the whole text through the common dialog. "close": the window then closes
    // without the save question; "undo": Annuler then gives back the text.
    void font_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("answer"); // "choose", "cancel", "none" (no dialog may show)
        QTest::addColumn<bool>("modified"); QTest::addColumn<QString>("then");
        QTest::newRow("plain, chosen") << "plain" << "choose" << false << "close";
        QTest::newRow("plain, cancelled") << "plain" << "cancel" << false << "undo";
        QTest::newRow("rich, chosen: the formatting is content") << "rich" << "choose" << true << "undo";
        QTest::newRow("rich, cancelled") << "rich" << "cancel" << false << "close";
        QTest::newRow("two fonts end silently") << "two fonts" << "none" << false << "undo";
    }
    void font()
    {
        QFETCH(QString, file); QFETCH(QString, answer); QFETCH(bool, modified); QFETCH(QString, then);
        testsupport::TestApp app;
        const QByteArray fonts = file == u"rich" ? "{\\f0 Courier New;}}\\f0\\fs20 N10 G00 X0\\par N20 G01 X5\\par}"
                                                : "{\\f0 Courier New;}{\\f1 DejaVu Sans;}}\\f0 N10 G00\\par \\f1 N20 X5\\par}";
        app.openFile(file == u"plain" ? kPlain : "{\\rtf1\\ansi{\\fonttbl" + fonts, file == u"plain" ? "p.iso" : "p.rtf");
        Form1 *doc = app.doc();
        app.trigger("Mnu_Enregistrer"); // saved: not modified, "&Enregistrer" off
        QCOMPARE(app.mismatches("-Mnu_Enregistrer -#3"), QString());
        platform::RichTextBox &text = *doc->Text1;
        const QString before = text.text(), fontBefore = text.selFontName().value_or(QString());
        const qsizetype dialogsBefore = app.fakes.commonDialog.shown().size();
        if (answer == u"choose")
            app.fakes.commonDialog.expectFont({"DejaVu Serif", 14, true, false, true, false, QColor(0, 0, 128)});
        else if (answer == u"cancel")
            app.fakes.commonDialog.expectCancel();
        app.run("Mnu_Texte");
        QVERIFY(!app.fakes.commonDialog.props().CancelError);
        QCOMPARE(app.fakes.commonDialog.shown().size() - dialogsBefore, qsizetype(answer == u"none" ? 0 : 1));
        if (answer != u"none")
            QCOMPARE(QList<QVariant>({app.fakes.commonDialog.lastShown().props.FontName, app.fakes.commonDialog.lastShown().props.Flags}),
                     QList<QVariant>({fontBefore, 259}));
        QCOMPARE(text.text(), before);
        QCOMPARE(QList<qsizetype>({text.selStart(), text.selLength()}),
                 QList<qsizetype>({0, answer == u"choose" ? 0 : text.textLength()}));
        if (answer == u"choose") {
            text.setSelLength(text.textLength());
            QVERIFY(text.selFontName() == QStringLiteral("DejaVu Serif") && text.selFontSize() == 14.0 && text.selBold()
                    && !text.selItalic() && text.selUnderline() && !text.selStrikeThru() && text.selColor() == QColor(0, 0, 128));
        }
        QCOMPARE(doc->Change, modified);
        QCOMPARE(app.mismatches(modified ? "Mnu_Enregistrer #3 Mnu_Annuler #8" : "-Mnu_Enregistrer -#3 Mnu_Annuler #8"), QString());
        if (then == u"close") {
            QVERIFY(app.main->closeDocument(doc)); // an unexpected save question fails the test
            QVERIFY(app.fakes.messageBox.boxes().isEmpty());
        } else {
            app.trigger("Mnu_Annuler");
            QCOMPARE(text.text(), before);
        }
    }

    // Each tool is asked of the shell by its program name, the file manager with the active file's
    // folder (none for a new document); with nothing to start, the tool's message, title "Erreur", flags 16.
    // (How the real shell finds and starts them is tested with the platform services.)
    void tools_data()
    {
        QTest::addColumn<QString>("item"); QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("document"); // "file", "new" or none
        QTest::addColumn<QString>("message");
        QTest::newRow("calculator") << "Mnu_Calculatrice" << "Calc.exe" << "file" << "Calculatrice non trouvée !";
        QTest::newRow("file manager, no document") << "Mnu_Explore" << "explorer.exe" << "" << "Explorateur non trouvé !";
        QTest::newRow("file manager, a file's folder") << "Mnu_Explore" << "explorer.exe" << "file" << "Explorateur non trouvé !";
        QTest::newRow("file manager, a new document") << "Mnu_Explore" << "explorer.exe" << "new" << "Explorateur non trouvé !";
        QTest::newRow("character map") << "Mnu_tableCar" << "Charmap.exe" << "" << "Table des caractères non trouvée !";
    }
    void tools()
    {
        QFETCH(QString, item); QFETCH(QString, program); QFETCH(QString, document); QFETCH(QString, message);
        testsupport::TestApp app;
        QString folder;
        if (document == u"file")
            folder = QFileInfo(app.openFile(kPlain)).absolutePath();
        else if (document == u"new")
            app.trigger("Mnu_Nouveau");
        app.trigger(item);
        QCOMPARE(app.fakes.shell.started, QStringList{program});
        QCOMPARE(app.fakes.shell.startedFolders, QStringList{item == u"Mnu_Explore" ? folder : QString()});
        QVERIFY(app.fakes.messageBox.boxes().isEmpty()); // started: no message
        app.fakes.shell.startResult = false;
        app.fakes.messageBox.answerOk();
        app.trigger(item);
        const auto &box = app.fakes.messageBox.last();
        QCOMPARE(QList<QVariant>({int(app.fakes.messageBox.boxes().size()), box.text, box.title, box.flags}),
                 QList<QVariant>({1, message, "Erreur", 16}));
    }

    // The about box (its toolbar button runs the same command): modal, its texts, discarded once closed by OK.
    void about()
    {
        testsupport::TestApp app;
        QVERIFY(app.showWindow());
        app.trigger("Mnu_Apropos");
        auto *box = app.main->findChild<frmAbout *>();
        QVERIFY(box && box->isVisible() && box->isModal());
        QCOMPARE(box->Etiquette2->text().section(u'\n', 0, 0), "Version 3.2.0");
        QVERIFY(!box->Etiquette2->text().section(u'\n', 1).isEmpty()); // the owner line
        QVERIFY(box->Label3->text().contains(u'@') && box->Label5->text().startsWith(u"https://"));
        QVERIFY(!box->Image1->pixmap().isNull());
        QTest::mouseClick(box->cmdAbout, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!app.main->findChild<frmAbout *>());
    }
};

QTEST_MAIN(TestToolCommands)
#include "tst_tool_commands.moc"
