// The RTF reader and writer: tables of their rules, hostile input, and real files (the shared corpus
// and the committed samples).
#include "files/FormattedText.h"
#include "files/RtfReader.h"
#include "files/RtfWriter.h"
#include "tests/files/FileTestTools.h"
#include "tests/support/TestPaths.h"

#include <QRegularExpression>
#include <QTest>

using namespace tarmel;

Q_DECLARE_METATYPE(tarmel::FormattedText)

namespace {

// flags among b i u s
CharFormat fmt(const QString &font, double size, const QString &flags = {}, std::optional<quint32> color = {})
{
    return CharFormat{font, size, flags.contains('b'), flags.contains('i'), flags.contains('u'), flags.contains('s'), color};
}

// A document from pieces of text, each with its format, in order.
FormattedText doc(const QList<std::pair<QString, CharFormat>> &pieces, const QString &baseFont = "Arial", double baseSize = 12)
{
    FormattedText d{{}, {}, baseFont, baseSize};
    for (const auto &[text, format] : pieces)
        d.runs.append(TextRun{d.text.size(), text.size(), format}), d.text += text;
    return d;
}

// "text:font/size/flags/#rrggbb|...": readable when a test fails.
QString describe(const FormattedText &d)
{
    QStringList parts;
    for (const auto &[start, length, f] : d.runs) {
        const QString flags = QString(f.bold ? "b" : "") + (f.italic ? "i" : "") + (f.underline ? "u" : "") + (f.strikeThrough ? "s" : "");
        parts << QStringLiteral("%1:%2/%3/%4/%5").arg(d.text.mid(start, length), f.fontName, QString::number(f.fontSize), flags,
                                                       f.color ? QStringLiteral("#%1").arg(*f.color, 6, 16, QChar('0')) : "auto");
    }
    return parts.join('|');
}

QByteArray rtf(const QByteArray &body) { return "{\\rtf1\\ansi " + body + "}"; }

} // namespace

class TestRtf : public QObject
{
    Q_OBJECT

private slots:
    void normalizedRuns_data()
    {
        QTest::addColumn<FormattedText>("input");
        QTest::addColumn<QString>("expected");
        const CharFormat bold = fmt("Arial", 12, "b"), red = fmt("Courier", 10, {}, 0xFF0000);
        const auto make = [](const QString &text, QList<TextRun> runs) { return FormattedText{text, runs, "Arial", 12}; };
        constexpr qsizetype huge = std::numeric_limits<qsizetype>::max();
        QTest::newRow("empty text: no run") << make("", {TextRun{0, 3, bold}}) << "";
        QTest::newRow("gaps filled with base") << make("abcdef", {TextRun{2, 2, bold}}) << "ab:Arial/12//auto|cd:Arial/12/b/auto|ef:Arial/12//auto";
        QTest::newRow("adjacent equal runs merged") << make("abcd", {TextRun{0, 1, bold}, TextRun{1, 1, bold}, TextRun{2, 2, red}})
                                                    << "ab:Arial/12/b/auto|cd:Courier/10//#ff0000";
        QTest::newRow("unsorted, overlapping: earlier start wins") << make("abcdef", {TextRun{3, 3, red}, TextRun{0, 4, bold}})
                                                                   << "abcd:Arial/12/b/auto|ef:Courier/10//#ff0000";
        QTest::newRow("huge: no overflow") << make("abc", {TextRun{huge, 5, red}, TextRun{1, huge, bold}}) << "a:Arial/12//auto|bc:Arial/12/b/auto";
        QTest::newRow("in order: empty name, bad size take the base") << make("ab", {TextRun{0, 1, fmt("", 0, "i")}, TextRun{1, 1, fmt("", -3, "i")}})
                                                                         << "ab:Arial/12/i/auto";
    }

    void normalizedRuns()
    {
        QFETCH(FormattedText, input);
        QFETCH(QString, expected);
        const FormattedText result = normalized(input);
        QCOMPARE(describe(result), expected);
        QCOMPARE(result.text, input.text);
        QCOMPARE(normalized(result), result);
    }

    // The writer's 7-bit file reads back as the normalized document, in its own code page or another.
    void roundTrip_data()
    {
        QTest::addColumn<FormattedText>("document");
        QTest::addColumn<int>("codePage");
        const CharFormat plain = fmt("Arial", 12);
        QTest::newRow("empty") << doc({}) << 1252;
        QTest::newRow("fonts, sizes, colours, attributes; blank lines")
            << doc({{"one\r\n\r\n", fmt("Times New Roman", 10.5, "bi", 0xFF0000)}, {"two", fmt("Courier New", 11, "us", 0x00FF00)},
                    {"three", fmt("Times New Roman", 10, {}, 0x000000)}, {"four", plain}}, "Courier New", 10)
            << 1252;
        QTest::newRow("outside 1252; surrogates, lone too") << doc({{QString::fromUtf16(u"Ω 中 \u2011 \u0080 \uFFFF 😀 \xD800" u"a\xDC00"), plain}}) << 1252;
        QTest::newRow("braces, backslashes, tabs, controls, NUL")
            << doc({{QString("{\\rtf1 \\par} \\'e9 \\u65? {{}}\tb") + QChar(0) + QChar(1) + QChar(0x7F), plain}}) << 1252;
        QTest::newRow("another code page: non-ASCII as \\u") << doc({{"café € Ж", fmt("Arial", 12, "b")}}) << 1251;
    }

    void roundTrip()
    {
        QFETCH(FormattedText, document);
        QFETCH(int, codePage);
        const QByteArray bytes = writeRtf(document, codePage);
        const RtfReadResult read = readRtfDocument(bytes);
        QVERIFY(read.ok() && read.complete);
        QCOMPARE(describe(read.document), describe(normalized(document)));
        QCOMPARE(read.document, normalized(document));
        QVERIFY(std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }));
    }

    // What other readers depend on: how characters are spelled, one \par per line end.
    void writerSpelling_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("piece");
        QTest::newRow("euro in 1252") << "€" << QByteArray(" \\'80}");
        QTest::newRow("above 0x7FFF negative, emoji as two") << "\uFF21😀" << QByteArray("\\u-223?\\u-10179?\\u-8704?");
        QTest::newRow("CR LF, lone LF, lone CR") << "a\r\nb\nc\rd" << QByteArray("a\\par\r\nb\\par\r\nc\\par\r\nd");
        QTest::newRow("LF CR and CR CR LF are two") << "a\n\rb\r\r\nc" << QByteArray("a\\par\r\n\\par\r\nb\\par\r\n\\par\r\nc");
    }

    void writerSpelling()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, piece);
        const QByteArray bytes = writeRtf(FormattedText::plain(text, "Arial", 12));
        QVERIFY2(bytes.contains(piece) && bytes.endsWith("}\r\n"), bytes.constData());
    }

    // The text read, with "…" when the input ended before the document's group closed; or the failure; or, for
    // "runs: " rows, the runs and then the base font as name/size.
    void read_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("expected");
        const int limit = kRtfMaxGroupDepth;
        QTest::newRow("par line row, tab cell") << rtf("a\\par b\\line c\\row d\\tab e\\cell f") << "a\r\nb\r\nc\r\nd\te\tf";
        QTest::newRow("symbols, named characters") << rtf("a\\~b\\-c\\_d\\\\\\{\\}\\emdash\\endash\\bullet\\lquote\\rdblquote\\enspace")
                                                   << "a\u00A0bc\u2011d\\{}—–•‘”\u2002";
        QTest::newRow("raw line ends and control bytes ignored") << QByteArray("{\\rtf1 a\r\nb\nc\0d\x01" "e}", 18) << "abcde";
        QTest::newRow("delimiters: one blank eaten, digits end") << rtf("\\b  x\\b0 y\\fs20z") << " xyz";
        QTest::newRow("unknown words ignored, minus alone is text") << rtf("\\foo-x\\qux-12 baz") << "-xbaz";
        QTest::newRow("1252 by default, escaped and raw") << QByteArray("{\\rtf1 caf\\'e9 \x80\\'9c}") << "café €œ";
        QTest::newRow("ansicpg 1251, escaped and raw") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'c0\\'e1\xe2}") << "Абв";
        QTest::newRow("ansicpg wins over a later ansi") << QByteArray("{\\rtf1\\ansicpg1251\\ansi \\'c0}") << "А";
        QTest::newRow("double-byte 932") << QByteArray("{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0x}") << "あx";
        QTest::newRow("unknown code page read as 1252") << QByteArray("{\\rtf1\\ansi\\ansicpg77777 \\'e9\\'80}") << "é€";
        QTest::newRow("u with fallback; negative, a surrogate pair") << rtf("\\u8364?x\\u-10179?\\u-8704?") << "€x😀";
        QTest::newRow("u beyond Unicode") << rtf("\\u99999999999999999999 ") << "\uFFFD";
        QTest::newRow("uc2 skips two, hex counts one") << rtf("{\\uc2\\u228\\'E8a}b") << "äb";
        QTest::newRow("uc0 skips none, in its group only") << rtf("{\\uc0\\u233 e}\\u233?x") << "éeéx";
        QTest::newRow("group end stops skipping, huge uc too") << rtf("{\\uc3\\u233}abc{\\uc99999999999\\u65 abc\\par\\'e9}d") << "éabcAd";
        QTest::newRow("starred and skipped destinations") << rtf("a{\\*\\foo b{c}d}{\\info{\\title T}}{\\pict 89ab}{\\footnote n}b") << "ab";
        QTest::newRow("bin skips raw bytes, not a negative count") << rtf("a{\\pict\\bin4 }{\\}}b\\bin-5 c") << "abc";
        QTest::newRow("not RTF") << QByteArray(" {\\rtf1 a}") << "not RTF";
        // 5 MB in one group: the harness's timeout catches a reader that is not linear.
        QTest::newRow("5 MB of text") << rtf(QByteArray("abcdefghi ").repeated(500000)) << QString("abcdefghi ").repeated(500000);
        QTest::newRow("5 MB of groups, formats, hex, \\u, skipped destinations")
            << rtf(QByteArray("{\\b a}\\'e9\\u8364?{\\*\\x abc}\\bin3 }}} ").repeated(150000)) << QString("aé€ ").repeated(150000);
        QTest::newRow("nesting at the limit") << "{\\rtf1" + QByteArray(limit - 1, '{') + "x" + QByteArray(limit, '}') << "x";
        QTest::newRow("nesting one beyond the limit") << "{\\rtf1" + QByteArray(limit, '{') + "x" + QByteArray(limit + 1, '}') << "too deep";
        QTest::newRow("missing closing braces") << QByteArray("{\\rtf1 abc{\\b d") << "abcd…";
        QTest::newRow("the document's group closed: the rest ignored") << QByteArray("{\\rtf1 a}}{b}c") << "a";
        QTest::newRow("truncated in a parameter") << QByteArray("{\\rtf1 a\\u12") << "a\u000C…";
        QTest::newRow("huge bin") << QByteArray("{\\rtf1 a\\bin999999999999 }b}") << "a…";
        QTest::newRow("20-digit parameters, a long word") << rtf("\\deff99999999999999999999\\ansicpg99999999999999999999\\f-99999999999999999999\\"
                                                                     + QByteArray(100000, 'x') + "1 a") << "a";
        const QByteArray tables = "\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\fmodern\\fcharset0 Courier New;}}"
                                  "{\\colortbl;\\red255\\green0\\blue0;;\\red0\\green0\\blue255;}";
        const auto runs = [](const char *name, const QByteArray &input, const char *expected) {
            QTest::newRow(name) << input << "runs: " + QString::fromUtf8(expected);
        };
        runs("attributes on, off with zero, plain", rtf(tables + "\\f1\\fs20\\b\\i\\ul\\strike\\cf1 x\\b0\\i0\\ul0\\strike0 y\\plain z"),
             "x:Courier New/10/bius/#ff0000|y:Courier New/10//#ff0000|z:Arial/12//auto Arial/12");
        runs("ulnone and underline variants", rtf(tables + "\\uldb a\\ulnone b\\ulwave c\\ulnone d\\striked1 e"),
             "a:Arial/12/u/auto|b:Arial/12//auto|c:Arial/12/u/auto|d:Arial/12//auto|e:Arial/12/s/auto Arial/12");
        runs("group restores formats", rtf(tables + "a{\\b\\f1 b{\\i c}d}e"),
             "a:Arial/12//auto|b:Courier New/12/b/auto|c:Courier New/12/bi/auto|d:Courier New/12/b/auto|e:Arial/12//auto Arial/12");
        runs("empty colour entries and out of range", rtf(tables + "\\cf2 a\\cf3 b\\cf9 c\\cf0 d"),
             "a:Arial/12//auto|b:Arial/12//#0000ff|cd:Arial/12//auto Arial/12");
        runs("deff: the base font and that of unknown numbers", "{\\rtf1\\deff1{\\fonttbl{\\f0 Arial;}{\\f1 Times;}}a\\f0 b\\f7 c}",
             "a:Times/12//auto|b:Arial/12//auto|c:Times/12//auto Times/12");
        runs("stylesheet style 0 gives the base size", "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\stylesheet{\\s1\\fs40 H;}{\\fs21 Normal;}}a}",
             "a:Arial/12//auto Arial/10.5");
        runs("font name from hex and \\u, alternate skipped", "{\\rtf1{\\fonttbl{\\f0 Caf\\'e9 \\u937? X{\\*\\falt Other};}}a}",
             "a:Café Ω X/12//auto Café Ω X/12");
        runs("size zero: the default; huge: clamped", rtf(tables + "\\fs0 a\\fs99999999999999999999 b"), "a:Arial/12//auto|b:Arial/1638//auto Arial/12");
    }

    void read()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, expected);
        const RtfReadResult read = readRtfDocument(input);
        const QString failure = read.error == RtfReadError::NotRtf ? "not RTF" : "too deep";
        const FormattedText &d = read.document;
        if (expected.startsWith("runs: "))
            QCOMPARE("runs: " + describe(d) + ' ' + d.baseFontName + '/' + QString::number(d.baseFontSize), expected);
        else
            QCOMPARE(read.ok() ? d.text + (read.complete ? "" : "…") : failure, expected);
        QCOMPARE(readRtf(input).has_value(), read.ok());
        QVERIFY(read.ok() || read.document == FormattedText());
    }

    // Real files read as the text another program shows for them: the committed samples (code pages 1251
    // and Mac, a word processor's tables and destinations) as the text beside them, the corpus as pandoc's
    // (table rules dropped), but for four files where pandoc shows footnotes, pictures or bullets its own way.
    void realFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        const QDir samples(testsupport::sourcePath("tests/files/rtf_samples")), corpus(testsupport::corpusPath("rtf"));
        for (const QString &name : samples.entryList({"*.rtf"}, QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(name)) << samples.filePath(name) << samples.filePath(name.chopped(4) + ".txt");
        const QStringList differing{"pandoc_footnote", "pandoc_image", "pandoc_list_complex", "rtfpipe_ListGoogle"};
        for (const QString &name : corpus.entryList({"*.rtf"}, QDir::Files, QDir::Name)) {
            const QString expected = corpus.filePath("expected/" + name.chopped(4) + ".txt");
            QTest::newRow(qPrintable("corpus/" + name)) << corpus.filePath(name) << (differing.contains(name.chopped(4)) ? "" : expected);
        }
        if (!corpus.exists())
            QTest::newRow("corpus") << QString() << QString();
    }

    void realFiles()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        if (path.isEmpty())
            SKIP_WITHOUT_CORPUS(QStringLiteral("rtf"));
        const RtfReadResult read = readRtfDocument(filetest::readPlain(path));
        QVERIFY(read.ok() && read.complete);
        static const QRegularExpression blanks("[ \\t\\r\\n\\f\\v]+");
        static const QRegularExpression tableRule("^[ \\t]*-{2,}([ \\t]+-{2,})*[ \\t]*$", QRegularExpression::MultilineOption);
        const auto collapsed = [](QString text) { return text.remove(tableRule).replace(blanks, " ").trimmed(); };
        if (!expected.isEmpty())
            QCOMPARE(collapsed(read.document.text), collapsed(QString::fromUtf8(filetest::readPlain(expected))));
    }
};

QTEST_GUILESS_MAIN(TestRtf)
#include "tst_rtf.moc"
