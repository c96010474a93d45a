// The file commands through the menu actions, the command line and the hand-off, with scripted dialogs and boxes,
// over ordinary, rich, strange and huge files: captions, panels, menu states and the bytes on disk. Nothing may
// hang: each row has the test harness's watchdog (QTEST_FUNCTION_TIMEOUT, set by CMake).
#include "app/HandOff.h"
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "files/FileCommands.h"
#include "files/FileRules.h"
#include "files/LongLines.h"
#include "files/RtfReader.h"
#include "platform/RichTextBox.h"
#include "tests/files/FileTestTools.h"
#include "tests/support/TestApp.h"
#include "tests/support/TestPaths.h"

#include <Qsci/qsciscintilla.h>
#include <QtTest>

using namespace tarmel;
using namespace filetest;
using testsupport::TestApp;

namespace {

const QString openError = QStringLiteral("Erreur d'ouverture de fichier\rou fichier trop volumineux !");
const QString saveError = QStringLiteral("Erreur lors de l'enregistrement du fichier\r");
enum Outcome { Opens, OpensCut, Refused };

QByteArray contentOf(const QString &kind)
{
    const auto is = [&](const char *name) { return kind == QLatin1StringView(name); };
    return is("empty") ? QByteArray()
         : is("NUL bytes") ? QByteArray(1 << 20, '\0')
         : is("100 MB line") ? QByteArray("G1X1.5Y2").repeated(100 << 17)
         : is("10 MB line") ? QByteArray(QByteArray("G1X1.5Y2").repeated(10 << 17) + "\r\nM30\r\n")
         : is("10,000,000 lines") ? QByteArray("N1\r\n").repeated(10000000)
         : is("random bytes") ? randomBytes(3, 1 << 20)
         : is("invalid UTF-8 among valid") ? QByteArray("(caf\xC3\xA9)\r\n(pi\xE8" "ce)\r\n(\xFF\xFE)\r\n")
         : is("RTF, 100,000 nested groups") ? QByteArray("{\\rtf1 " + QByteArray(100000, '{') + "x" + QByteArray(100000, '}') + "}")
         : is("RTF cut off") ? QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Courier New;}}\\f0 N10 G0\\par N20 G1\\par N3")
         : is("mixed line ends") ? QByteArray("N20\nN21\rN22\r\n")
         : is("not rich text") ? QByteArray("not rich text") : QByteArray("N10 G0 X0\r\n");
}

// Makes the entry a row names, in `folder`; returns its path as the program holds it (empty when it could not).
QString makeEntry(const QString &kind, const QString &folder)
{
    QString path = folder + (kind.startsWith(u"RTF") || kind == u"not rich text" ? "/prog.rtf" : "/prog.iso");
    if (kind.startsWith(u"/dev/") || kind == u"missing")
        return kind == u"missing" ? path : kind;
    if (kind.contains(u"FIFO")) {
        const QString fifo = kind == u"FIFO" ? path : folder + "/fifo";
        return ::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0 && (fifo == path || QFile::link(fifo, path)) ? path : QString();
    }
    if (kind == u"folder")
        return QDir().mkpath(path) ? path : QString();
    if (kind == u"4,000-character path") {
        QString deep = folder;
        while (deep.size() < 3800)
            deep += "/" + QString(200, u'd');
        path = QDir().mkpath(deep) ? deep + "/" + QString(4000 - deep.size() - 1, u'p') : QString();
    } else if (kind == u"newline in the name") {
        path = folder + "/pro\ng.iso";
    } else if (kind == u"Latin-1 name" || kind == u"0xFF in the name") {
        path = pathFromBytes(QFile::encodeName(folder) + (kind.startsWith(u'L') ? "/pi\xE8" "ce.iso" : "/bad\xFF.iso"));
    }
    return !path.isEmpty() && writePlain(path, contentOf(kind)) ? path : QString();
}

// Qt cannot remove names that are not UTF-8: the rows' own entries go before the folder does.
void removeEntry(const QString &path)
{
    if (!path.startsWith(u"/dev/"))
        ::unlink(pathToBytes(path).constData());
}

bool hasFormats(const FormattedText &doc)
{
    return std::any_of(doc.runs.begin(), doc.runs.end(), [&](const TextRun &run) { return run.format != doc.baseFormat(); });
}

// The file as the reader sees it; empty when it is no rich text.
FormattedText readBack(const QString &path) { return readRtf(TestApp::read(path)).value_or(FormattedText{}); }

} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT
private slots:
    // Through the menu (over a new document), the command line of a first instance or the hand-off of a second:
    // refused with the open error and no window left, or opened under the name's own bytes, cut and read-only when
    // a line is too long. Then saved: a cut document never (its file keeps its bytes), any other under its name.
    void open_data()
    {
        QTest::addColumn<QString>("via");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<qsizetype>("length");   // of the text, when it opens (-1: not checked)
        const auto row = [](const char *via, const char *kind, Outcome outcome, qsizetype length = -1) {
            QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(via, kind))) << QString(via) << QString::fromUtf8(kind) << int(outcome) << length;
        };
        for (const char *kind : {"FIFO", "link to a FIFO", "folder", "/dev/zero", "/dev/urandom", "missing", "RTF, 100,000 nested groups",
                                 "not rich text"})
            row("menu", kind, Refused);
        row("menu", "empty", Opens, 0);
        row("menu", "NUL bytes", OpensCut, (1 << 20) + (1 << 20) / longLineLimit * 2);   // one line of 1 MB
        row("menu", "100 MB line", OpensCut, (100 << 20) + (100 << 20) / longLineLimit * 2);
        row("menu", "10 MB line", OpensCut, (10 << 20) + (10 << 20) / longLineLimit * 2 + 7);
        row("menu", "10,000,000 lines", Opens, 40000000);
        row("menu", "random bytes", OpensCut);   // a binary file: some of its "lines" run past the limit
        row("menu", "invalid UTF-8 among valid", Opens, 24);   // read as Windows-1252, a character a byte
        for (const char *kind : {"4,000-character path", "newline in the name", "Latin-1 name", "0xFF in the name"})
            row("menu", kind, Opens, 11);
        row("menu", "RTF cut off", Opens);
        row("command line", "FIFO", Refused);
        row("command line", "/dev/zero", Refused);
        row("command line", "Latin-1 name", Opens, 11);
        row("hand-off", "/dev/urandom", Refused);
        row("hand-off", "newline in the name", Opens, 11);
        row("hand-off", "0xFF in the name", Opens, 11);
    }

    void open()
    {
        QFETCH(QString, via);
        QFETCH(QString, kind);
        QFETCH(int, outcome);
        QFETCH(qsizetype, length);
        const bool menu = via == u"menu", cut = outcome == OpensCut;
        TestApp app(via == u"hand-off");
        app.fakes.messageBox.autoOk = true;
        if (menu)
            app.trigger("Mnu_Nouveau");
        const QString path = makeEntry(kind, app.workDir.path());
        QVERIFY(!path.isEmpty());
        Form1 *before = app.doc();
        if (menu) {
            app.open(path);
        } else if (via == u"command line") {
            QVERIFY(app.main->startUp({path}));
        } else {
            QVERIFY(writeHandOff(app.programDir.path(), path));
            app.main->Timer1_Timer();
        }
        const bool opened = app.main->documents().size() == int(menu) + 1;
        QCOMPARE(opened, outcome != Refused);
        QCOMPARE(app.fakes.messageBox.boxes().size(), opened && !cut ? 0 : 1);
        if (!opened) {
            QCOMPARE(app.fakes.messageBox.last().text, openError);
            QCOMPARE(app.doc(), before);
            QCOMPARE(app.mismatches(menu ? "Mnu_Enregistrer -Mnu_Fusionner" : "-Mnu_Enregistrer"), QString());
            return removeEntry(path);
        }
        Form1 *doc = app.doc();
        QCOMPARE(pathToBytes(doc->caption()), pathToBytes(path));
        QCOMPARE(doc->windowTitle(), displayPath(path));
        QCOMPARE(doc->StatusBar1->panelText(1), displayPath(path).section(u'/', -1));
        QVERIFY(!doc->Change && (length < 0 || doc->Text1->textLength() == length));
        QCOMPARE(doc->Text1->longLinesCut(), cut);
        QCOMPARE(doc->Text1->engine()->isReadOnly(), cut);
        QVERIFY(!cut || app.fakes.messageBox.last().text.startsWith("Le fichier prog.iso contient des lignes de plus de 1 000 "));
        const qsizetype shown = doc->Text1->textLength();
        doc->Text1->setText("N20 G1 X1\r\n");   // a whole-text command leaves a cut text as it is
        doc->Change = true;
        app.run("Mnu_Enregistrer");
        QCOMPARE(doc->Change, cut);
        if (cut) {
            QCOMPARE(doc->Text1->textLength(), shown);
            QCOMPARE(app.fakes.messageBox.last().text,
                     saveError + "Le document est en lecture seule : ses lignes trop longues ont été coupées à l'ouverture.");
            QVERIFY(readPlain(path) == contentOf(kind));
        } else if (doc->fileType == FileType::Plain) {
            QCOMPARE(readPlain(path), QByteArray("N20 G1 X1\r\n"));
        }
        removeEntry(path);
    }

    // Opened, shown with its size and format, marked modified and saved: the same bytes again, every program of
    // the shared corpus too. A character the file's encoding cannot hold asks: saved in UTF-8 on Yes, not on No.
    void save_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("panels");   // once opened: size, encoding, line ends; empty: not checked
        QTest::addColumn<int>("answer");       // to the question on a character typed after "N10 " (0: none typed)
        QTest::addColumn<QByteArray>("saved");   // null: the bytes opened
        QByteArray high("N10\0X\r\n", 7);   // a NUL, then every byte from 0x80
        for (int b = 0x80; b <= 0xFF; ++b)
            high.append(char(b));
        QTest::newRow("NUL and 0x80-0xFF") << high + "\r\n" << " 137 Octets|Windows-1252|CR LF" << 0 << QByteArray();
        QTest::newRow("mixed, no final line end") << QByteArray("N10\r\nN20\nN30\rN40") << " 16 Octets|Windows-1252|mixte" << 0 << QByteArray();
        QTest::newRow("utf8 bom") << QByteArray("\xEF\xBB\xBF(caf\xC3\xA9)\r\n") << " 12 Octets|UTF-8|CR LF" << 0 << QByteArray();
        const QByteArray degree("N10 \xB0\r\n");   // a Windows-1252 degree sign
        QTest::newRow("not in 1252: no") << degree << " 7 Octets|Windows-1252|CR LF" << int(platform::mb::AnswerNo) << degree;
        QTest::newRow("not in 1252: yes") << degree << "" << int(platform::mb::AnswerYes) << QByteArray("N10 \xC2\xB0 \xE4\xB8\x80\r\n");
        const QDir corpus(testsupport::corpusPath("nc"));
        for (const QString &name : corpus.entryList(QDir::Files))
            QTest::newRow(qPrintable("corpus/" + name)) << readPlain(corpus.filePath(name)) << QString() << 0 << QByteArray();
        if (!corpus.exists())
            QTest::newRow("corpus") << QByteArray() << "skip" << 0 << QByteArray();
    }

    void save()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, panels);
        QFETCH(int, answer);
        QFETCH(QByteArray, saved);
        if (panels == u"skip")
            SKIP_WITHOUT_CORPUS(QStringLiteral("nc"));
        TestApp app;
        const QString file = app.write(QStringLiteral("prog.iso"), bytes);
        Form1 *doc = app.open(file);
        const auto panel = [&](int i) { return doc->StatusBar1->panelText(i); };
        QVERIFY(panels.isEmpty() || QStringList({panel(2), panel(9), panel(10)}).join(u'|') == panels);
        doc->Change = true;
        if (answer) {
            doc->Text1->setSelStart(5);
            doc->Text1->setSelText(QStringLiteral(" \u4E00"));
            app.fakes.messageBox.answer(answer);
        }
        app.trigger("Mnu_Enregistrer");
        QVERIFY(!answer || app.fakes.messageBox.last().text.contains(QStringLiteral("\u4E00")));
        QVERIFY(TestApp::read(file) == (saved.isNull() ? bytes : saved));
        QCOMPARE(doc->Change, answer == platform::mb::AnswerNo);
        if (answer)
            QCOMPARE(panel(9), answer == platform::mb::AnswerYes ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1252"));
    }

    // A new document: Save opens Save As, preset to "Nouveau.iso" and the last filter; the file ends with one line
    // end, saving again never grows it, and the window shows the new name.
    void saveNewDocument_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("expected");   // empty: Save As cancelled
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

    // A failed save shows the save error with the writer's reason and leaves the document modified and the file
    // whole: here a writable file in a read-only folder, rewritten in place only once the hook (the recovery
    // journal's) secured the text, which it does not.
    void saveFaultGivesReason()
    {
        TestApp app;
        app.fakes.messageBox.autoOk = true;
        const QString sub = app.path("sub"), target = sub + "/prog.iso";
        FileCommands files(*app.main);   // takes over the file commands, to be given the hook
        files.setSecureBeforeRewrite([&](Form1 *, const QString &path) { return path != target; });
        if (!fileInReadOnlyFolder(sub, target, "N10\r\n"))
            QSKIP("cannot make a read-only folder here");
        Form1 *doc = app.open(target);
        doc->Text1->setText("N20\r\n");
        doc->Change = true;
        app.trigger("Mnu_Enregistrer");
        const QByteArray after = readPlain(target);
        releaseFolder(sub, target);
        QCOMPARE(app.fakes.messageBox.boxes().size(), 1);
        QCOMPARE(app.fakes.messageBox.last().text, saveError + "Le texte n'a pas pu être mis en lieu sûr avant de réécrire le fichier.");
        QVERIFY(doc->Change);
        QCOMPARE(after, QByteArray("N10\r\n"));
    }

    // A merge inserts the file at the caret with the document's line ends and can be undone; a file that does not
    // open, or has lines too long for an editable document, is refused. The rich-text filter, which a merge does
    // not offer, falls back to the first.
    void merge_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("merged");   // null: refused with the open error
        QTest::newRow("line ends of every kind") << "mixed line ends" << "N20\r\nN21\r\nN22\r\n";
        QTest::newRow("FIFO") << "FIFO" << QString();
        QTest::newRow("10 MB line") << "10 MB line" << QString();
        QTest::newRow("Latin-1 name") << "Latin-1 name" << "N10 G0 X0\r\n";
        QTest::newRow("empty") << "empty" << "";
    }

    void merge()
    {
        QFETCH(QString, kind);
        QFETCH(QString, merged);
        TestApp app;
        app.fakes.messageBox.autoOk = true;
        Form1 *doc = app.open(app.write(QStringLiteral("a.iso"), "N10\r\nN30\r\n"));
        doc->Text1->setSelStart(5);
        app.main->state().LastFilterIndex = 11;
        const QString path = makeEntry(kind, app.workDir.path());
        app.fakes.commonDialog.expectOpen(path);
        app.trigger("Mnu_Fusionner");
        QCOMPARE(app.fakes.commonDialog.lastShown().props.FilterIndex, 1);
        QCOMPARE(doc->Text1->text(), "N10\r\n" + merged + "N30\r\n");
        QCOMPARE(app.fakes.messageBox.boxes().isEmpty() ? QString() : app.fakes.messageBox.last().text, merged.isNull() ? openError : "");
        app.trigger("Mnu_Annuler");
        QCOMPARE(doc->Text1->text(), QStringLiteral("N10\r\nN30\r\n"));
        removeEntry(path);
    }

    // Which names are rich text, and the name a rich text is saved under. A rich text opened by a name of any case,
    // merged into and saved keeps its formats. A snapshot is plain text: undone, the formats are gone, and the file
    // saved afterwards is rich text without them.
    void richDocument()
    {
        QCOMPARE(QList<bool>({isRichTextName("/p/prog.rtf"), isRichTextName("/p/prog.iso"), isRichTextName("/p/myrtf")}),
                 QList<bool>({true, false, true}));
        QCOMPARE(QStringList({richTextSaveName("/p/prog.rtf"), richTextSaveName("/p/prog.iso"), richTextSaveName("/p/myrtf")}),
                 QStringList({"/p/prog.rtf", "/p/prog.iso.rtf", "/p/myrtf.rtf"}));
        const QByteArray rich = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Courier New;}{\\f1 Serif;}}{\\colortbl;\\red255\\green0\\blue0;}"
                                "\\f0\\fs20 {\\b N10} G01 {\\cf1 X10}\\par {\\f1\\i op\\'e9ration}\\par N30}";
        TestApp app;
        Form1 *doc = app.open(app.write(QStringLiteral("m.Rtf"), rich));
        QCOMPARE(doc->Text1->formattedText().runs, readRtf(rich)->runs);
        doc->Text1->setSelStart(13);   // the start of the second line
        app.fakes.commonDialog.expectOpen(app.write(QStringLiteral("part.iso"), "N20 G00\nN25\n"), 1);
        app.trigger("Mnu_Fusionner");
        const QString merged = QStringLiteral("N10 G01 X10\r\nN20 G00\r\nN25\r\nopération\r\nN30");
        QCOMPARE(doc->Text1->text(), merged);
        app.trigger("Mnu_Enregistrer");
        QCOMPARE(readBack(doc->caption()), doc->Text1->formattedText());
        QVERIFY(hasFormats(readBack(doc->caption())));
        app.run(QStringLiteral("Mnu_Supprimer"));   // nothing selected: a snapshot, no change
        app.trigger("Mnu_Annuler");
        QCOMPARE(doc->Text1->text(), merged);
        QVERIFY(!hasFormats(doc->Text1->formattedText()));
        app.trigger("Mnu_Enregistrer");
        QCOMPARE(readBack(doc->caption()).text, merged);
        QVERIFY(!hasFormats(readBack(doc->caption())));
    }

    // Save As with the rich-text filter (11) from a plain document: "written" is the file the rich text goes to,
    // empty when none. The next Save writes in the document's format; another document stays plain text.
    void saveAsRich_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("answer");   // to the question on replacing prog.rtf; 0: none asked
        QTest::addColumn<QString>("written");
        QTest::newRow("other extension") << "prog.iso" << 0 << "prog.iso.rtf";
        QTest::newRow("replace: no") << "prog" << int(platform::mb::AnswerNo) << "";
        QTest::newRow("replace: yes") << "prog" << int(platform::mb::AnswerYes) << "prog.rtf";
        QTest::newRow("no such folder") << "missing/prog" << int(platform::mb::AnswerOk) << "";
    }

    void saveAsRich()
    {
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(QString, written);
        TestApp app;
        app.write(QStringLiteral("prog.rtf"), "OLD");
        const QString iso = app.write(QStringLiteral("source.iso"), "N10 \xE9\r\n");
        Form1 *doc = app.open(iso);
        app.fakes.commonDialog.expectSave(app.path(typed), 11);
        if (answer)
            app.fakes.messageBox.answer(answer);
        app.trigger("Mnu_EnregistrerSous");
        QCOMPARE(app.fakes.messageBox.boxes().size(), qsizetype(answer != 0));
        const QString target = written.isEmpty() ? iso : app.path(written);
        QCOMPARE(doc->caption(), target);
        QCOMPARE(doc->fileType, written.isEmpty() ? FileType::Plain : FileType::Rich);
        QCOMPARE(TestApp::read(app.path(QStringLiteral("prog.rtf"))) == "OLD", written != QStringLiteral("prog.rtf"));
        doc->Text1->setSelStart(0);
        doc->Text1->setSelText(QStringLiteral("%"));
        app.trigger("Mnu_Enregistrer");
        if (written.isEmpty())
            QCOMPARE(TestApp::read(iso), QByteArray("%N10 \xE9\r\n"));
        else
            QCOMPARE(readBack(target).text, QStringLiteral("%N10 é\r\n"));
        Form1 *other = app.open(app.write(QStringLiteral("other.iso"), "N1\r\n"));
        other->Change = true;
        app.trigger("Mnu_Enregistrer");
        QCOMPARE(TestApp::read(other->caption()), QByteArray("N1\r\n"));
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_file_commands.moc"
