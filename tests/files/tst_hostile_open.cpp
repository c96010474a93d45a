// Strange and huge inputs through the open path, merge, the command line and the hand-off: each opens or
// fails with the open error message, nothing hangs (each row has the test harness's watchdog,
// QTEST_FUNCTION_TIMEOUT, set by CMake), nothing crashes, no half-made window stays. Then each save fault
// with its reason.
#include "app/HandOff.h"
#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "document/StatusBar1Widget.h"
#include "files/FileCommands.h"
#include "files/FilePaths.h"
#include "files/LongLines.h"
#include "platform/RichTextBox.h"
#include "tests/files/FileTestTools.h"
#include "tests/support/TestApp.h"

#include <Qsci/qsciscintilla.h>

#include <QtTest>

#include <fcntl.h>
#include <optional>
#include <sys/resource.h>

using namespace tarmel;
using namespace filetest;
using testsupport::TestApp;

namespace {

const QString openError = QStringLiteral("Erreur d'ouverture de fichier\rou fichier trop volumineux !");
const QString saveError = QStringLiteral("Erreur lors de l'enregistrement du fichier\r");

enum Outcome { Opens, OpensCut, Refused };

// Through the bytes of the name: Qt's own file calls do not take every name.
bool writeBytes(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(pathToBytes(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool ok = fd >= 0 && ::write(fd, bytes.constData(), size_t(bytes.size())) == ssize_t(bytes.size());
    return ::close(fd) == 0 && ok;
}

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
         : is("not rich text") ? QByteArray("not rich text") : QByteArray("N10 G0 X0\r\n");
}

// Makes the entry a row names, in `folder`; returns its path as the program holds it.
QString makeEntry(const QString &kind, const QString &folder)
{
    const QString plain = folder + "/prog.iso";
    if (kind == u"FIFO")
        return ::mkfifo(QFile::encodeName(plain).constData(), 0600) == 0 ? plain : QString();
    if (kind == u"folder")
        return QDir().mkpath(plain) ? plain : QString();
    if (kind.startsWith(u"/dev/") || kind == u"missing")
        return kind == u"missing" ? plain : kind;
    QString path = kind.startsWith(u"RTF") || kind == u"not rich text" ? folder + "/prog.rtf" : plain;
    if (kind == u"4,000-character path") {
        QString deep = folder;
        while (deep.size() < 3800)
            deep += "/" + QString(200, u'd');
        if (!QDir().mkpath(deep))
            return QString();
        path = deep + "/" + QString(4000 - deep.size() - 1, u'p');
    } else if (kind == u"newline in the name")
        path = folder + "/pro\ng.iso";
    else if (kind == u"Latin-1 name")
        path = pathFromBytes(QFile::encodeName(folder) + "/pi\xE8" "ce.iso");
    else if (kind == u"0xFF in the name")
        path = pathFromBytes(QFile::encodeName(folder) + "/bad\xFF.iso");
    return writeBytes(path, contentOf(kind)) ? path : QString();
}

// Qt cannot remove names that are not UTF-8: the rows' own entries go before the folder does.
void removeEntry(const QString &path)
{
    if (!path.startsWith(u"/dev/"))
        ::unlink(pathToBytes(path).constData());
}

} // namespace

class TestHostileOpen : public QObject {
    Q_OBJECT

private slots:
    void openPath_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<qsizetype>("length");   // of the text, when it opens (-1: not checked)
        const auto row = [](const char *kind, Outcome outcome, qsizetype length = -1) {
            QTest::newRow(kind) << QString::fromUtf8(kind) << int(outcome) << length;
        };
        for (const char *kind : {"FIFO", "folder", "/dev/zero", "/dev/urandom", "missing", "RTF, 100,000 nested groups", "not rich text"})
            row(kind, Refused);
        row("empty", Opens, 0);
        row("NUL bytes", OpensCut, (1 << 20) + (1 << 20) / longLineLimit * 2);   // one line of 1 MB
        row("100 MB line", OpensCut, (100 << 20) + (100 << 20) / longLineLimit * 2);
        row("10 MB line", OpensCut, (10 << 20) + (10 << 20) / longLineLimit * 2 + 7);
        row("10,000,000 lines", Opens, 40000000);
        row("random bytes", OpensCut);   // a binary file: some of its "lines" run past the limit
        row("invalid UTF-8 among valid", Opens, 24);   // read as Windows-1252, a character a byte
        for (const char *kind : {"4,000-character path", "newline in the name", "Latin-1 name", "0xFF in the name"})
            row(kind, Opens, 11);
        row("RTF cut off", Opens);
    }

    void openPath()
    {
        QFETCH(QString, kind);
        QFETCH(int, outcome);
        QFETCH(qsizetype, length);
        TestApp app;
        app.fakes.messageBox.autoOk = true;
        app.trigger("Mnu_Nouveau");
        const QString path = makeEntry(kind, app.workDir.path());
        QVERIFY(!path.isEmpty());
        Form1 *before = app.doc();
        app.open(path);
        const bool opened = app.main->documents().size() == 2, cut = outcome == OpensCut;
        QCOMPARE(opened, outcome != Refused);
        QCOMPARE(app.fakes.messageBox.boxes().size(), opened && !cut ? 0 : 1);
        if (!opened) {
            QCOMPARE(app.fakes.messageBox.last().text, openError);
            QCOMPARE(app.doc(), before);
            QCOMPARE(app.mismatches("Mnu_Enregistrer -Mnu_Fusionner"), QString());
        } else {
            Form1 *doc = app.doc();
            QCOMPARE(doc->caption(), path);
            QCOMPARE(doc->windowTitle(), displayPath(path));
            QVERIFY(!doc->Change);
            QVERIFY(length < 0 || doc->Text1->textLength() == length);
            QCOMPARE(doc->Text1->longLinesCut(), cut);
            QCOMPARE(doc->Text1->engine()->isReadOnly(), cut);
            if (cut)
                QVERIFY(app.fakes.messageBox.last().text.startsWith("Le fichier prog.iso contient des lignes de plus de 1 000 "));
        }
        removeEntry(path);
    }

    // The name's own bytes from the open dialog to the save, the status bar showing it as it can.
    void nameNotUtf8SavesUnderItsBytes()
    {
        TestApp app;
        const QString path = pathFromBytes(QFile::encodeName(app.workDir.path()) + "/pi\xE8" "ce.iso");
        QVERIFY(writeBytes(path, "N10 G0\r\n"));
        Form1 *doc = app.open(path);
        QCOMPARE(doc->StatusBar1->panelText(1), QStringLiteral("pi\uFFFDce.iso"));
        doc->Text1->setText("N20 G1 X1\r\n");
        doc->Change = true;
        app.trigger("Mnu_Enregistrer");
        QVERIFY(app.fakes.messageBox.boxes().isEmpty() && !doc->Change);
        struct stat st {};
        QVERIFY(::stat(pathToBytes(path).constData(), &st) == 0 && st.st_size == 11);
        removeEntry(path);
    }

    // The cut document is read-only and never saved: the file keeps its bytes.
    void cutDocumentIsNeverSaved()
    {
        TestApp app;
        app.fakes.messageBox.autoOk = true;
        const QByteArray bytes = QByteArray("G1X1.5Y2").repeated(5000);
        const QString path = app.write("long.iso", bytes);
        Form1 *doc = app.open(path);
        const QString shown = doc->Text1->text();
        doc->Text1->setText("N10\r\n");   // a whole-text command leaves the read-only text as it is
        QCOMPARE(doc->Text1->text(), shown);
        doc->Change = true;
        app.run("Mnu_Enregistrer");
        QCOMPARE(app.fakes.messageBox.last().text,
                 saveError + "Le document est en lecture seule : ses lignes trop longues ont été coupées à l'ouverture.");
        QVERIFY(doc->Change);
        QCOMPARE(TestApp::read(path), bytes);
    }

    void merge_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("merged");   // null: refused with the open error
        QTest::newRow("FIFO") << "FIFO" << QString();
        QTest::newRow("10 MB line: not into an editable document") << "10 MB line" << QString();
        QTest::newRow("Latin-1 name") << "Latin-1 name" << "N10 G0 X0\r\n";
        QTest::newRow("empty") << "empty" << "";
    }

    void merge()
    {
        QFETCH(QString, kind);
        QFETCH(QString, merged);
        TestApp app;
        app.fakes.messageBox.autoOk = true;
        app.trigger("Mnu_Nouveau");
        app.doc()->Text1->setText("A\r\n");
        app.doc()->Text1->setSelStart(3);
        const QString path = makeEntry(kind, app.workDir.path());
        QVERIFY(!path.isEmpty());
        app.fakes.commonDialog.expectOpen(path);
        app.run("Mnu_Fusionner");
        QCOMPARE(app.doc()->Text1->text(), "A\r\n" + merged);
        QCOMPARE(app.fakes.messageBox.boxes().isEmpty() ? QString() : app.fakes.messageBox.last().text, merged.isNull() ? openError : "");
        removeEntry(path);
    }

    // The command line of a first instance and the hand-off from a second: the name as the system gave it.
    void startUpAndHandOff_data()
    {
        QTest::addColumn<bool>("handOff");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("opens");
        QTest::newRow("command line: FIFO") << false << "FIFO" << false;
        QTest::newRow("command line: /dev/zero") << false << "/dev/zero" << false;
        QTest::newRow("command line: Latin-1 name") << false << "Latin-1 name" << true;
        QTest::newRow("hand-off: /dev/urandom") << true << "/dev/urandom" << false;
        QTest::newRow("hand-off: newline in the name") << true << "newline in the name" << true;
        QTest::newRow("hand-off: 0xFF in the name") << true << "0xFF in the name" << true;
    }

    void startUpAndHandOff()
    {
        QFETCH(bool, handOff);
        QFETCH(QString, kind);
        QFETCH(bool, opens);
        TestApp app(handOff);
        app.fakes.messageBox.autoOk = true;
        const QString path = makeEntry(kind, app.workDir.path());
        QVERIFY(!path.isEmpty());
        if (handOff) {
            QVERIFY(writeHandOff(app.programDir.path(), path));
            app.main->Timer1_Timer();
        } else {
            QVERIFY(app.main->startUp({path}));
        }
        QCOMPARE(app.main->documents().size(), opens ? 1 : 0);
        QCOMPARE(app.fakes.messageBox.boxes().size(), opens ? 0 : 1);
        if (opens)
            QCOMPARE(pathToBytes(app.doc()->caption()), pathToBytes(path));
        removeEntry(path);
    }

    // Each save fault: the save error message, then its reason; the document stays modified. A writable file
    // in a read-only folder is rewritten in place only once the hook (the recovery journal's) secured the text.
    void saveFaultGivesReason_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");   // %1: the work folder
        QTest::newRow("read-only file") << "read-only file" << "Le fichier est en lecture seule.";
        QTest::newRow("folder gone") << "folder gone" << "Le dossier « %1/sub » n'existe plus.";
        QTest::newRow("folder in the way") << "folder in the way" << "« %1/sub/prog.iso » est un dossier.";
        QTest::newRow("file size limit") << "size limit" << "Le fichier dépasse la taille permise.";
        QTest::newRow("full disk") << "full disk" << "Le disque est plein.";
        QTest::newRow("read-only folder, new file")
            << "read-only folder" << (::geteuid() == 0 ? "Le disque est en lecture seule." : "Le dossier « %1/sub » est en lecture seule.");
        QTest::newRow("read-only folder, text not secured")
            << "not secured" << "Le texte n'a pas pu être mis en lieu sûr avant de réécrire le fichier.";
    }

    void saveFaultGivesReason()
    {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        TestApp app;
        app.fakes.messageBox.autoOk = true;
        const QString work = app.workDir.path(), sub = work + "/sub", target = sub + "/prog.iso";
        const QByteArray mountPoint = QFile::encodeName(sub);
        QVERIFY(QDir().mkpath(sub));
        const bool small = fault == u"full disk" || fault == u"read-only folder";
        if (small && ::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0 && (fault == u"full disk" || ::geteuid() == 0))
            QSKIP("cannot mount a small tmpfs here");
        std::optional<FileCommands> files;   // takes over the file commands, to be given the hook
        if (fault == u"not secured")
            files.emplace(*app.main).setSecureBeforeRewrite([&](Form1 *, const QString &path) { return path != target; });
        QVERIFY(fault == u"not secured" ? fileInReadOnlyFolder(sub, target, "N10\r\n") : writePlain(target, "N10\r\n"));
        Form1 *doc = app.open(target);
        QVERIFY(doc && doc->caption() == target);
        doc->Text1->setText(QString("N20 G1 X1\r\n").repeated(20000));
        doc->Change = true;
        rlimit previous{};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &previous) == 0);
        const rlimit limited{65536, previous.rlim_max};
        if (fault == u"read-only file")
            QCOMPARE(::chmod(mountPoint + "/prog.iso", 0444), 0);
        if (fault == u"folder gone")
            QVERIFY(QDir(sub).removeRecursively());
        if (fault == u"folder in the way")
            QVERIFY(QFile::remove(target) && QDir().mkpath(target));
        if (fault == u"read-only folder")
            QVERIFY(QFile::remove(target) && (::geteuid() == 0 ? ::mount(nullptr, mountPoint.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr)
                                                               : ::chmod(mountPoint.constData(), 0555)) == 0);
        QVERIFY(fault != u"size limit" || ::setrlimit(RLIMIT_FSIZE, &limited) == 0);
        app.trigger("Mnu_Enregistrer");
        ::setrlimit(RLIMIT_FSIZE, &previous);
        releaseFolder(sub, target);
        QCOMPARE(app.fakes.messageBox.boxes().size(), 1);
        QCOMPARE(app.fakes.messageBox.last().text, saveError + (reason.contains("%1") ? reason.arg(work) : reason));
        QVERIFY(doc->Change);
    }
};

QTEST_MAIN(TestHostileOpen)
#include "tst_hostile_open.moc"
