// The editing area with formatted text: formats laid over the text through the engine
// styles and read back, rich-text files loaded and saved, whole-text writes dropping
// the formats.
#include "files/RtfReader.h"
#include "files/RtfWriter.h"
#include "platform/RichTextBox.h"
#include "tests/support/TestPaths.h"

#include <Qsci/qsciscintilla.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using platform::RichTextBox;
using tarmel::CharFormat;
using tarmel::FormattedText;
using tarmel::TextRun;
using Sci = QsciScintillaBase;

Q_DECLARE_METATYPE(tarmel::FormattedText)

namespace {

const QString kBase = QStringLiteral("Courier New");

CharFormat fmt(const QString &font, double size)
{
    CharFormat f;
    f.fontName = font;
    f.fontSize = size;
    return f;
}

CharFormat bold(CharFormat f) { f.bold = true; return f; }
CharFormat italic(CharFormat f) { f.italic = true; return f; }
CharFormat underline(CharFormat f) { f.underline = true; return f; }
CharFormat strike(CharFormat f) { f.strikeThrough = true; return f; }
CharFormat colour(CharFormat f, quint32 rgb) { f.color = rgb; return f; }

FormattedText doc(const QString &text, QList<TextRun> runs, const QString &base = kBase, double size = 10)
{
    FormattedText d;
    d.text = text;
    d.runs = std::move(runs);
    d.baseFontName = base;
    d.baseFontSize = size;
    return d;
}

// Where the two differ, for a readable failure.
QString describe(const FormattedText &d)
{
    QString s = QStringLiteral("base %1 %2, %3 runs:").arg(d.baseFontName).arg(d.baseFontSize).arg(d.runs.size());
    for (const TextRun &r : d.runs.mid(0, 12))
        s += QStringLiteral(" [%1+%2 %3 %4%5%6%7%8 %9]")
                 .arg(r.start).arg(r.length).arg(r.format.fontName).arg(r.format.fontSize)
                 .arg(r.format.bold ? "b" : "").arg(r.format.italic ? "i" : "").arg(r.format.underline ? "u" : "")
                 .arg(r.format.strikeThrough ? "s" : "")
                 .arg(r.format.color ? QString::number(*r.format.color, 16) : QStringLiteral("auto"));
    return s;
}

#define COMPARE_DOC(actual, expected)                                                        \
    do {                                                                                     \
        const FormattedText a_ = (actual), e_ = (expected);                                  \
        QCOMPARE(a_.text, e_.text);                                                          \
        QVERIFY2(a_ == e_, qPrintable(describe(a_) + QStringLiteral("\nexpected ") + describe(e_))); \
    } while (false)

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        return {};
    return path;
}

// A document as a rich-text load shows it: the file's runs, the window's own base font.
FormattedText loadedIn(FormattedText d, const RichTextBox &box)
{
    d.baseFontName = box.baseFontName();
    d.baseFontSize = box.baseFontSize();
    return tarmel::normalized(d);
}

// A long document: one numbered line after another, a bold block number, a coloured
// comment with accents in another font, every tenth line struck through.
FormattedText longDocument(int lines)
{
    FormattedText d = doc(QString(), {});
    const CharFormat base = fmt(kBase, 10);
    for (int i = 0; i < lines; ++i) {
        const QString number = QStringLiteral("N%1").arg(10 * (i + 1));
        const QString rest = QStringLiteral(" G01 X%1 Y%2 ").arg(i % 97).arg(i % 13);
        const QString comment = QStringLiteral("(passe n° %1 — é)").arg(i);
        const qsizetype at = d.text.size();
        d.text += number + rest + comment + QStringLiteral("\r\n");
        d.runs.append({at, number.size(), bold(base)});
        CharFormat c = colour(fmt(QStringLiteral("Serif"), 9), 0x0000C0);
        if (i % 10 == 0)
            c = strike(c);
        d.runs.append({at + number.size() + rest.size(), comment.size(), c});
    }
    return d;
}

} // namespace

class TestRichTextBoxRich : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void formatsShowThroughSelAttributes();
    void setFormattedTextIsOneChange();
    void fullStyleTableKeepsText();
    void loadRichFile_data();
    void loadRichFile();
    void failedLoadKeepsContent_data();
    void failedLoadKeepsContent();
    void saveFailureLeavesOldFile();
    void editingKeepsRunsInStep();
    void tenThousandLines();
};

// ---- formatted text in and out ----------------------------------------------------------

void TestRichTextBoxRich::roundTrip_data()
{
    QTest::addColumn<FormattedText>("input");
    const CharFormat b = fmt(kBase, 10);
    QTest::newRow("empty") << doc(QString(), {});
    QTest::newRow("plain") << doc(QStringLiteral("N10 G0\r\nN20 G1\r\n"), {});
    QTest::newRow("one character") << doc(QStringLiteral("N"), {{0, 1, bold(b)}});
    QTest::newRow("all attributes")
        << doc(QStringLiteral("bold italic under strike colour size font all"),
               {{0, 4, bold(b)}, {5, 6, italic(b)}, {12, 5, underline(b)}, {18, 6, strike(b)},
                {25, 6, colour(b, 0xFF0000)}, {32, 4, fmt(kBase, 14.5)}, {37, 4, fmt(QStringLiteral("Serif"), 10)},
                {42, 3, colour(strike(underline(italic(bold(fmt(QStringLiteral("Sans"), 8))))), 0x00FF00)}});
    QTest::newRow("several fonts and colours")
        << doc(QStringLiteral("aaa bbb ccc ddd eee"),
               {{0, 3, fmt(QStringLiteral("Serif"), 12)}, {4, 3, fmt(QStringLiteral("Sans"), 12)},
                {8, 3, colour(fmt(QStringLiteral("Serif"), 12), 0x123456)},
                {12, 3, colour(fmt(QStringLiteral("Monospace"), 9), 0xABCDEF)},
                {16, 3, colour(fmt(QStringLiteral("Sans"), 20), 0x000001)}},
               QStringLiteral("Serif"), 12);
    QTest::newRow("explicit black beside automatic")
        << doc(QStringLiteral("black auto black"), {{0, 5, colour(b, 0)}, {11, 5, colour(b, 0)}});
    QTest::newRow("strike only differs")
        << doc(QStringLiteral("abcdef"), {{0, 2, bold(b)}, {2, 2, strike(bold(b))}, {4, 2, bold(b)}});
    // é (2 bytes), € (3 bytes), 😀 (4 bytes, two UTF-16 units): runs start and end on each.
    QTest::newRow("non-ASCII and emoji")
        << doc(QStringLiteral("é😀€x😀\r\nü😀😀 N20 €"),
               {{0, 1, bold(b)}, {1, 2, italic(b)}, {3, 1, colour(b, 0x0000FF)}, {5, 2, strike(b)},
                {9, 1, underline(b)}, {10, 4, fmt(QStringLiteral("Serif"), 11)}, {19, 1, bold(b)}});
    QTest::newRow("runs across CR LF lines")
        << doc(QStringLiteral("N10 G0\r\nN20 G1\r\n\r\nN30\r\n"),
               {{4, 8, bold(b)}, {12, 4, colour(italic(b), 0x808080)}, {16, 3, strike(b)}, {19, 2, underline(b)}});
    QTest::newRow("format to the end") << doc(QStringLiteral("abc\r\n"), {{1, 4, bold(b)}});
    QTest::newRow("fractional base size") << doc(QStringLiteral("abc"), {{1, 1, bold(fmt(kBase, 10.5))}}, kBase, 10.5);
    QTest::newRow("unsorted overlapping runs")
        << doc(QStringLiteral("0123456789"), {{6, 3, italic(b)}, {0, 4, bold(b)}, {2, 5, underline(b)}, {20, 2, bold(b)}});
    QTest::newRow("NUL and tab") << doc(QStringLiteral("a\tb") + QChar(0) + QStringLiteral("c"), {{2, 2, bold(b)}});
}

void TestRichTextBoxRich::roundTrip()
{
    QFETCH(FormattedText, input);
    RichTextBox box;
    box.setBaseFont(QStringLiteral("Sans"), 7); // replaced by the document's
    box.setFormattedText(input);
    QCOMPARE(box.text(), input.text);
    QCOMPARE(box.textLength(), input.text.size());
    QCOMPARE(box.baseFontName(), input.baseFontName);
    QCOMPARE(box.baseFontSize(), input.baseFontSize);
    COMPARE_DOC(box.formattedText(), tarmel::normalized(input));
    // Saved as rich text, it reads back the same, in the reader and in another box.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.rtf"));
    box.setSelText(QString()); // a change, so that saving has something to clear
    QVERIFY(box.saveFile(path, 0));
    QVERIFY(!box.engine()->SendScintilla(Sci::SCI_GETMODIFY));
    const std::optional<FormattedText> read = tarmel::readRtf(readAll(path));
    QVERIFY(read.has_value());
    COMPARE_DOC(*read, tarmel::normalized(input));
    RichTextBox again;
    QVERIFY(again.loadFile(path, 0));
    COMPARE_DOC(again.formattedText(), loadedIn(*read, again));
}

void TestRichTextBoxRich::formatsShowThroughSelAttributes()
{
    const CharFormat b = fmt(kBase, 10);
    RichTextBox box;
    // "N10" bold, "G0" red struck through, "😀é" Serif 14 italic underlined.
    box.setFormattedText(doc(QStringLiteral("N10 G0 😀é X"),
                             {{0, 3, bold(b)}, {4, 2, strike(colour(b, 0xFF0000))},
                              {7, 3, underline(italic(fmt(QStringLiteral("Serif"), 14)))}}));
    box.setSelStart(0);
    box.setSelLength(3);
    QVERIFY(box.selBold());
    QVERIFY(!box.selStrikeThru());
    QCOMPARE(box.selFontName(), std::optional<QString>(kBase));
    box.setSelStart(4);
    box.setSelLength(2);
    QVERIFY(!box.selBold());
    QVERIFY(box.selStrikeThru());
    QCOMPARE(box.selColor(), QColor(Qt::red));
    box.setSelStart(7);
    box.setSelLength(3);
    QCOMPARE(box.selText(), QStringLiteral("😀é"));
    QVERIFY(box.selItalic());
    QVERIFY(box.selUnderline());
    QCOMPARE(box.selFontSize(), 14.0);
    QCOMPARE(box.selFontName(), std::optional<QString>(QStringLiteral("Serif")));
    // A format set through the selection comes out in the formatted text.
    box.setSelStart(11);
    box.setSelLength(1);
    box.setSelBold(true);
    const FormattedText out = box.formattedText();
    QCOMPARE(out.runs.constLast(), (TextRun{11, 1, bold(b)}));
}

void TestRichTextBoxRich::setFormattedTextIsOneChange()
{
    RichTextBox box;
    box.setText(QStringLiteral("old"));
    box.setSelStart(3);
    box.setSelText(QStringLiteral(" typed")); // something the engine could undo
    QVERIFY(box.engine()->SendScintilla(Sci::SCI_CANUNDO));
    QSignalSpy changed(&box, &RichTextBox::textChanged);
    box.setFormattedText(doc(QStringLiteral("new\r\ntext"), {{0, 3, bold(fmt(kBase, 10))}}));
    QCOMPARE(changed.count(), 1);
    QVERIFY(!box.engine()->SendScintilla(Sci::SCI_CANUNDO));
    // A document without a base font keeps the editing area's.
    box.setBaseFont(QStringLiteral("Serif"), 9);
    FormattedText unnamed = doc(QStringLiteral("abc"), {}, QString(), 0);
    box.setFormattedText(unnamed);
    QCOMPARE(box.baseFontName(), QStringLiteral("Serif"));
    QCOMPARE(box.baseFontSize(), 12.0); // normalized() gives a missing size the default
    QCOMPARE(changed.count(), 2);
}

void TestRichTextBoxRich::fullStyleTableKeepsText()
{
    // 400 different colours are more formats than the engine has styles: the text stays
    // whole, the formats that found a style stay, the others show in the base format.
    const CharFormat b = fmt(kBase, 10);
    FormattedText input = doc(QString(), {});
    for (int i = 0; i < 400; ++i) {
        input.runs.append({input.text.size(), 2, colour(b, quint32(i + 1))});
        input.text += QStringLiteral("é ");
    }
    // A run boundary inside a surrogate pair and a lone surrogate.
    input.text += QStringLiteral("😀") + QChar(0xD800) + QStringLiteral("z");
    input.runs.append({input.text.size() - 3, 2, bold(b)});
    RichTextBox box;
    box.setFormattedText(input);
    QString expectedText = input.text;
    expectedText[expectedText.size() - 2] = QChar(0xFFFD);
    QCOMPARE(box.text(), expectedText);
    const FormattedText out = box.formattedText();
    QCOMPARE(out.text, expectedText);
    qsizetype kept = 0;
    for (const TextRun &r : out.runs) {
        if (r.start >= 800)
            break;
        QVERIFY(r.format.color.has_value() || r.format == b);
        if (r.format.color) {
            QCOMPARE(r.length, 2);
            QCOMPARE(*r.format.color, quint32(r.start / 2 + 1));
            ++kept;
        }
    }
    QVERIFY2(kept >= 200, qPrintable(QString::number(kept)));
    QVERIFY(kept < 400);
}

// ---- files ------------------------------------------------------------------------------

void TestRichTextBoxRich::loadRichFile_data()
{
    QTest::addColumn<QString>("path");
    const QDir samples(testsupport::sourcePath(QStringLiteral("tests/files/rtf_samples")));
    const QStringList own = samples.entryList({QStringLiteral("*.rtf")}, QDir::Files);
    QVERIFY(!own.isEmpty());
    for (const QString &name : own)
        QTest::newRow(qPrintable(name)) << samples.filePath(name);
    const QDir corpus(testsupport::corpusPath(QStringLiteral("rtf")));
    const QStringList shared = corpus.entryList({QStringLiteral("*.rtf")}, QDir::Files);
    QVERIFY(!corpus.exists() || !shared.isEmpty());
    for (const QString &name : shared)
        QTest::newRow(qPrintable(QStringLiteral("corpus/") + name)) << corpus.filePath(name);
    if (!corpus.exists())
        QTest::newRow("corpus") << QString();
}

void TestRichTextBoxRich::loadRichFile()
{
    QFETCH(QString, path);
    if (path.isEmpty())
        SKIP_WITHOUT_CORPUS(QStringLiteral("rtf"));
    const std::optional<FormattedText> read = tarmel::readRtf(readAll(path));
    RichTextBox box;
    box.setText(QStringLiteral("before"));
    QSignalSpy changed(&box, &RichTextBox::textChanged);
    QCOMPARE(box.loadFile(path, 0), read.has_value());
    if (!read) { // what the reader refuses is refused, content kept
        QCOMPARE(box.text(), QStringLiteral("before"));
        QCOMPARE(changed.count(), 0);
        return;
    }
    QCOMPARE(changed.count(), 1);
    QCOMPARE(box.text(), read->text);
    QCOMPARE(box.textLength(), read->text.size());
    const QString baseBefore = box.baseFontName();
    COMPARE_DOC(box.formattedText(), loadedIn(*read, box));
    QCOMPARE(box.baseFontName(), baseBefore);
    QCOMPARE(box.fileFormat().lineEnds, tarmel::LineEndStyle::CrLf);
    QVERIFY(!box.engine()->SendScintilla(Sci::SCI_CANUNDO));
    QCOMPARE(box.selStart(), 0);
}

void TestRichTextBoxRich::failedLoadKeepsContent_data()
{
    QTest::addColumn<QString>("kind"); // "file" with the bytes, "missing" or "folder"
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("plain text") << "file" << QByteArray("N10 G0\r\n");
    QTest::newRow("rtf without its brace") << "file" << QByteArray("\\rtf1 text}");
    QTest::newRow("too deep") << "file" << "{\\rtf1 " + QByteArray(tarmel::kRtfMaxGroupDepth + 5, '{') + "x";
    QTest::newRow("missing") << "missing" << QByteArray();
    QTest::newRow("folder") << "folder" << QByteArray();
}

void TestRichTextBoxRich::failedLoadKeepsContent()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.rtf"));
    if (kind == "folder")
        QVERIFY(QDir().mkdir(path));
    else if (kind == "file")
        QCOMPARE(writeFile(dir, QStringLiteral("f.rtf"), bytes), path);
    RichTextBox box;
    const FormattedText before = doc(QStringLiteral("N10 G0\nN20"), {{0, 3, bold(fmt(kBase, 10))}});
    box.setFormattedText(before);
    tarmel::FileFormat format;
    format.lineEnds = tarmel::LineEndStyle::Lf;
    box.setFileFormat(format);
    QSignalSpy changed(&box, &RichTextBox::textChanged);
    QVERIFY(!box.loadFile(path, 0));
    QCOMPARE(changed.count(), 0);
    COMPARE_DOC(box.formattedText(), tarmel::normalized(before));
    QCOMPARE(box.fileFormat().lineEnds, tarmel::LineEndStyle::Lf);
}

void TestRichTextBoxRich::saveFailureLeavesOldFile()
{
    QTemporaryDir dir;
    RichTextBox box;
    box.setFormattedText(doc(QStringLiteral("N10"), {{0, 1, bold(fmt(kBase, 10))}}));
    QVERIFY(!box.saveFile(dir.filePath(QStringLiteral("no/such/folder/x.rtf")), 0));
    QVERIFY(!box.saveFile(dir.path(), 0)); // a folder
    const QString old = writeFile(dir, QStringLiteral("old.rtf"), "{\\rtf1 old}");
    QVERIFY(QFile::setPermissions(old, QFile::ReadOwner | QFile::ReadUser)); // no write bit
    QVERIFY(!box.saveFile(old, 0));
    QCOMPARE(readAll(old), QByteArray("{\\rtf1 old}"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("old.rtf")});
}

// ---- fonts, whole-text writes, editing ----------------------------------------------------

void TestRichTextBoxRich::editingKeepsRunsInStep()
{
    const CharFormat b = fmt(kBase, 10);
    RichTextBox box;
    box.setFormattedText(doc(QStringLiteral("é😀 N10 G0"), {{4, 3, bold(b)}, {8, 2, strike(b)}}));
    // Text inserted before the runs moves them; text typed inside a run takes its format.
    box.setSelStart(0);
    box.setSelText(QStringLiteral("€"));
    box.setSelStart(6);
    box.setSelText(QStringLiteral("5"));
    const FormattedText out = box.formattedText();
    QCOMPARE(out.text, QStringLiteral("€é😀 N510 G0"));
    QCOMPARE(out.runs, (QList<TextRun>{{0, 5, b}, {5, 4, bold(b)}, {9, 1, b}, {10, 2, strike(b)}}));
}

void TestRichTextBoxRich::tenThousandLines()
{
    const FormattedText input = longDocument(10000);
    QTemporaryDir dir;
    const QString source = writeFile(dir, QStringLiteral("long.rtf"), tarmel::writeRtf(input));
    RichTextBox box;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(box.loadFile(source, 0));
    const qint64 loadMs = timer.restart();
    const FormattedText out = box.formattedText();
    const qint64 readMs = timer.restart();
    const QString target = dir.filePath(QStringLiteral("copy.rtf"));
    QVERIFY(box.saveFile(target, 0));
    const qint64 saveMs = timer.elapsed();
    qInfo("10,000 rich lines (%lld characters, %lld runs): load %lld ms, formattedText %lld ms, save %lld ms",
          qlonglong(input.text.size()), qlonglong(input.runs.size()), qlonglong(loadMs), qlonglong(readMs),
          qlonglong(saveMs));
    COMPARE_DOC(out, tarmel::normalized(input));
    const std::optional<FormattedText> saved = tarmel::readRtf(readAll(target));
    QVERIFY(saved.has_value());
    COMPARE_DOC(*saved, tarmel::normalized(input));
}

QTEST_MAIN(TestRichTextBoxRich)
#include "tst_richtextbox_rich.moc"
