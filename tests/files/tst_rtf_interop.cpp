// The RTF reader against files written by other programs, and the writer's files read by
// other programs (pandoc, unrtf).
#include "files/RtfReader.h"
#include "files/RtfWriter.h"
#include "tests/support/TestPaths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace tarmel;

namespace {

using Replacements = QList<std::pair<QString, QString>>;

// Runs of blanks, tabs and line ends become one blank; no-break spaces are kept.
QString collapseBlanks(const QString &text)
{
    static const QRegularExpression blanks(QStringLiteral("[ \\t\\r\\n\\f\\v]+"));
    return QString(text).replace(blanks, QStringLiteral(" ")).trimmed();
}

QString applied(QString text, const Replacements &replacements)
{
    for (const auto &[from, to] : replacements)
        text.replace(from, to);
    return text;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// pandoc draws table rules as lines of dashes: they are layout, not text.
QString withoutTableRules(const QString &text)
{
    static const QRegularExpression rule(QStringLiteral("^[ \\t]*-{2,}([ \\t]+-{2,})*[ \\t]*$"),
                                         QRegularExpression::MultilineOption);
    return QString(text).remove(rule);
}

QString crLfLineEnds(const QString &text)
{
    QString result = text;
    result.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar(u'\r'), QChar(u'\n'));
    result.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return result;
}

QString latin1(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromLocal8Bit(process.readAllStandardError()));
    return program.endsWith("unrtf") ? latin1(process.readAllStandardOutput())
                                     : QString::fromUtf8(process.readAllStandardOutput());
}

FormattedText sampleDocument(const QString &text, bool formatted)
{
    FormattedText document = FormattedText::plain(text, "Arial", 11);
    if (formatted && text.size() > 6) {
        document.runs = {TextRun{0, 3, CharFormat{"Courier New", 10, true, false, true, false, 0xC00000}},
                         TextRun{3, 3, CharFormat{"Times New Roman", 14, false, true, false, false, 0x0000FF}}};
    }
    return document;
}

} // namespace

class TestRtfInterop : public QObject
{
    Q_OBJECT

private slots:
    void corpusFile_data();
    void corpusFile();
    void sample_data();
    void sample();
    void realFilesSurviveWriteAndRead_data();
    void realFilesSurviveWriteAndRead();
    void pandocReadsWriterOutput_data();
    void pandocReadsWriterOutput();
    void unrtfReadsWriterOutput_data();
    void unrtfReadsWriterOutput();

private:
    QStringList corpusFiles() const;
    QStringList sampleFiles() const;
};

QStringList TestRtfInterop::corpusFiles() const
{
    return QDir(testsupport::corpusPath("rtf")).entryList({"*.rtf"}, QDir::Files, QDir::Name);
}

QStringList TestRtfInterop::sampleFiles() const
{
    QStringList files;
    const QDir samples(testsupport::sourcePath("tests/files/rtf_samples"));
    for (const QString &name : samples.entryList({"*.rtf"}, QDir::Files, QDir::Name))
        files << samples.filePath(name);
    const QDir regress(samples.filePath("regress"));
    for (const QString &name : regress.entryList(QDir::Files, QDir::Name))
        files << regress.filePath(name);
    return files;
}

// Each file of the shared corpus against the text pandoc shows for it. Table rules are
// dropped from pandoc's text everywhere; the other differences are listed per file.
void TestRtfInterop::corpusFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<Replacements>("onRead");       // applied to the reader's text
    QTest::addColumn<Replacements>("onExpected");   // applied to pandoc's text
    const QSet<QString> exceptions = {"pandoc_footnote", "pandoc_image", "pandoc_list_complex", "rtfpipe_ListGoogle"};
    QVERIFY2(corpusFiles().size() >= 28, qPrintable(testsupport::corpusPath("rtf")));
    for (const QString &file : corpusFiles()) {
        const QString name = file.chopped(4);
        if (!exceptions.contains(name))
            QTest::newRow(qPrintable(name)) << name << Replacements{} << Replacements{};
    }
    // Footnotes are skipped by the reader; pandoc shows a mark and the note at the end.
    QTest::newRow("pandoc_footnote (footnotes skipped)")
        << "pandoc_footnote" << Replacements{}
        << Replacements{{" [1] See Sahlins, Bateson, and Geertz for a complete bibliography.", ""},
                        {" [2] A complete bibliography will be found at the end of this chapter.", ""},
                        {"[1]", ""}, {"[2]", ""}};
    // Pictures are skipped; pandoc shows a placeholder.
    QTest::newRow("pandoc_image (picture skipped)") << "pandoc_image" << Replacements{}
                                                    << Replacements{{"[image]", ""}};
    // The reader shows the file's own bullet text (an "o" in Courier New); pandoc writes "-".
    QTest::newRow("pandoc_list_complex (bullet text)")
        << "pandoc_list_complex" << Replacements{{"o Eleven", "- Eleven"}, {"o Twelve", "- Twelve"}}
        << Replacements{};
    // Bullet text "\u25CF" here; pandoc also adds an empty list item before the first one.
    QTest::newRow("rtfpipe_ListGoogle (bullet text, pandoc's empty item)")
        << "rtfpipe_ListGoogle" << Replacements{{"\u25CF", "-"}} << Replacements{{"Paragraph - - Bullet", "Paragraph - Bullet"}};
}

void TestRtfInterop::corpusFile()
{
    QFETCH(QString, name);
    QFETCH(Replacements, onRead);
    QFETCH(Replacements, onExpected);
    const QByteArray bytes = fileBytes(testsupport::corpusPath("rtf/" + name + ".rtf"));
    QVERIFY2(!bytes.isEmpty(), qPrintable(name));
    const RtfReadResult read = readRtfDocument(bytes);
    QVERIFY(read.ok());
    QVERIFY(read.complete);
    const QString expected = QString::fromUtf8(fileBytes(testsupport::corpusPath("rtf/expected/" + name + ".txt")));
    QVERIFY(!expected.isEmpty());
    QCOMPARE(applied(collapseBlanks(read.document.text), onRead),
             applied(collapseBlanks(withoutTableRules(expected)), onExpected));
}

void TestRtfInterop::sample_data()
{
    QTest::addColumn<QString>("path");
    for (const QString &path : sampleFiles()) {
        if (!path.contains("/regress/"))
            QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
    }
}

void TestRtfInterop::sample()
{
    QFETCH(QString, path);
    const auto read = readRtf(fileBytes(path));
    QVERIFY(read);
    const QString expected = QString::fromUtf8(fileBytes(path.chopped(4) + ".txt"));
    QVERIFY2(!expected.isEmpty(), qPrintable(path));
    QCOMPARE(collapseBlanks(read->text), collapseBlanks(expected));
}

// Whatever the reader makes of a real file, the writer must give it back: the text with
// lone CR and LF made CR LF, and everything else unchanged when there is no such line end.
// Regression inputs from fuzzing are in this list too.
void TestRtfInterop::realFilesSurviveWriteAndRead_data()
{
    QTest::addColumn<QString>("path");
    for (const QString &file : corpusFiles())
        QTest::newRow(qPrintable(file)) << testsupport::corpusPath("rtf/" + file);
    for (const QString &path : sampleFiles())
        QTest::newRow(qPrintable(QDir(testsupport::sourcePath("tests/files/rtf_samples")).relativeFilePath(path))) << path;
}

void TestRtfInterop::realFilesSurviveWriteAndRead()
{
    QFETCH(QString, path);
    const QByteArray bytes = fileBytes(path);
    const RtfReadResult first = readRtfDocument(bytes);
    if (!first.ok())
        return;   // a regression input may be rejected; reading it must not crash
    const RtfReadResult second = readRtfDocument(writeRtf(first.document));
    QVERIFY(second.ok());
    QVERIFY(second.complete);
    QCOMPARE(second.document.text, crLfLineEnds(first.document.text));
    if (crLfLineEnds(first.document.text) == first.document.text)
        QCOMPARE(second.document, first.document);
}

void TestRtfInterop::pandocReadsWriterOutput_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("formatted");
    QTest::newRow("program lines") << "%\r\nN10 G00 X0 Y0\r\nN20 G01 Z-5 F100\r\nN30 M30\r\n" << false;
    QTest::newRow("formatted runs") << "N10 G01 X12.5\r\nN20 M30" << true;
    QTest::newRow("code page 1252") << "Op\u00E9ration \u00E0 10 h \u2014 co\u00FBt 5 \u20AC \u0153uvre \u00AB ok \u00BB" << true;
    QTest::newRow("outside code page 1252") << "\u03A9 \u0416\u0435 \u4E2D\u6587 \u2264 \u2011" << false;
    QTest::newRow("braces, backslashes, tabs") << "{a} \\ b\tc \\par \\'e9" << false;
    QTest::newRow("no final line end, blank lines") << "a\r\n\r\n\r\nb" << false;
}

// pandoc 2.17 turns the two \u of a surrogate pair into two replacement characters, so the
// rows hold no character outside the BMP, and it drops a blank that follows an escaped
// character (\'e9 a, \u937? a: it does so with its own RTF too), so texts holding escapes
// are compared without blanks: every other character must come back, in order. Its plain
// output marks struck-out text with ~~, and no other attribute.
void TestRtfInterop::pandocReadsWriterOutput()
{
    QFETCH(QString, text);
    QFETCH(bool, formatted);
    const QString pandoc = QStandardPaths::findExecutable("pandoc");
    if (pandoc.isEmpty())
        QSKIP("pandoc is not installed (Debian package pandoc; scripts/setup.sh installs it)");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("written.rtf");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(writeRtf(sampleDocument(text, formatted)));
    file.close();
    const QString shown = runTool(pandoc, {"-f", "rtf", "-t", "plain", "--wrap=none", path});
    const bool escapes = std::any_of(text.begin(), text.end(), [](QChar ch) { return ch.unicode() >= 0x80; });
    auto comparable = [escapes](const QString &t) {
        return escapes ? collapseBlanks(t).remove(' ') : collapseBlanks(t);
    };
    QCOMPARE(comparable(QString(shown).remove("~~")), comparable(text));
}

void TestRtfInterop::unrtfReadsWriterOutput_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("program lines") << "N10 G00 X0 Y0\r\nN20 G01 Z-5 F100\r\nN30 M30\r\n"
                                   << "N10 G00 X0 Y0\nN20 G01 Z-5 F100\nN30 M30";
    QTest::newRow("formatted runs") << "N10 G01 X12.5\r\nN20 M30" << "N10 G01 X12.5 N20 M30";
    QTest::newRow("Latin-1 letters") << "Op\u00E9ration \u00E0 10 h, co\u00FBt \u00E7a \u00D8 \u00B1"
                                     << "Op\u00E9ration \u00E0 10 h, co\u00FBt \u00E7a \u00D8 \u00B1";
    // unrtf's text mode does not read \u: it shows the fallback, one "?" per UTF-16 unit.
    QTest::newRow("outside code page 1252: the fallback") << "\u03A9 \u4E2D\u6587 \U0001F600" << "? ?? ??";
    QTest::newRow("braces, backslashes, tabs") << "{a} \\ b\tc" << "{a} \\ b c";
}

// unrtf 0.21 writes its text in ISO-8859-1 after a few "###" comment lines and a rule.
void TestRtfInterop::unrtfReadsWriterOutput()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QString unrtf = QStandardPaths::findExecutable("unrtf");
    if (unrtf.isEmpty())
        QSKIP("unrtf is not installed (Debian package unrtf; scripts/setup.sh installs it)");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("written.rtf");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(writeRtf(sampleDocument(text, expected.size() > 6 && text.startsWith("N10 G01"))));
    file.close();
    QStringList lines = runTool(unrtf, {"--text", path}).split('\n');
    lines.removeIf([](const QString &line) { return line.startsWith("###") || line == "-----------------"; });
    QCOMPARE(collapseBlanks(lines.join('\n')), collapseBlanks(expected));
}

QTEST_GUILESS_MAIN(TestRtfInterop)
#include "tst_rtf_interop.moc"
