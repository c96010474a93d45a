#include "files/TextCodec.h"
#include "tests/support/TestPaths.h"

#include <QCryptographicHash>
#include <algorithm>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QStringDecoder>
#include <QTest>

using namespace tarmel;

Q_DECLARE_METATYPE(tarmel::Encoding)
Q_DECLARE_METATYPE(tarmel::LineEndStyle)

namespace {

QByteArray allByteValues()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    return bytes;
}

QByteArray randomBytes(quint32 seed, qsizetype size)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

// Valid UTF-8 of random code points from every sequence length, with line ends and NULs among them.
QByteArray randomUtf8(quint32 seed, int count)
{
    QRandomGenerator random(seed);
    QString text;
    for (int i = 0; i < count; ++i) {
        char32_t cp = 0;
        switch (random.bounded(5)) {
        case 0: cp = random.bounded(0x80); break;
        case 1: cp = 0x80 + random.bounded(0x800 - 0x80); break;
        case 2: cp = 0xE000 + random.bounded(0x10000 - 0xE000); break;
        case 3: cp = 0x10000 + random.bounded(0x110000 - 0x10000); break;
        default: cp = U"\r\n\0é"[random.bounded(4)]; break;
        }
        text += QString::fromUcs4(&cp, 1);
    }
    return text.toUtf8();
}

QByteArray bom() { return QByteArrayLiteral("\xEF\xBB\xBF"); }

// UTF-8 -> QString keeping a leading U+FEFF (QString::fromUtf8 drops it).
QString fromUtf8KeepingBom(const QByteArray &utf8)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(utf8);
}

LineEndStyle manifestLineEnds(const QString &column)
{
    if (column.contains(u'+'))
        return LineEndStyle::Mixed;
    if (column == u"CRLF")
        return LineEndStyle::CrLf;
    if (column == u"LF")
        return LineEndStyle::Lf;
    if (column == u"CR")
        return LineEndStyle::Cr;
    return LineEndStyle::None;
}

} // namespace

class TestTextCodec : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void decodesText_data();
    void decodesText();
    void windows1252IsOneToOne();
    void windows1252MatchesIcu();
    void detectsLineEnds_data();
    void detectsLineEnds();
    void refusesCharactersOutside1252_data();
    void refusesCharactersOutside1252();
    void corpusRoundTrips_data();
    void corpusRoundTrips();
};

// Every file gives back its exact bytes through the UTF-8 form (what the editor holds) and through
// QString (what the editing area's API speaks), whatever its encoding and line ends; each row
// also names the encoding and byte-order mark the file is detected with.
void TestTextCodec::roundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<bool>("bom");
    QTest::addColumn<bool>("finalLineEnd");

    const auto w = Encoding::Windows1252;
    const auto u = Encoding::Utf8;
    QTest::newRow("empty") << QByteArray() << w << false << true;
    QTest::newRow("CR LF") << QByteArray("N10 G00 X0\r\nN20 M30\r\n") << w << false << true;
    QTest::newRow("mixed") << QByteArray("N10\r\nN20\nN30\rN40\r\r\nN50\n\r") << w << false << true;
    QTest::newRow("no final line end") << QByteArray("N10\r\nN20 M30") << w << false << false;
    QTest::newRow("NUL bytes") << QByteArray("N10\0G01\r\n\0\0", 12) << w << false << false;
    QTest::newRow("all 256 bytes") << allByteValues() << w << false << false;
    QTest::newRow("five unassigned bytes") << QByteArray("(\x81\x8D\x8F\x90\x9D)\r\n") << w << false << true;
    QTest::newRow("1252 accents") << QByteArray("(OP\xC9RATION \xE0 \xE9" "bauche 80\xB0)\r\n") << w << false << true;
    QTest::newRow("UTF-8") << QByteArray("(op\xC3\xA9ration \xE2\x82\xAC)\n") << u << false << true;
    QTest::newRow("UTF-8 four-byte") << QByteArray("(\xF0\x9F\x98\x80)") << u << false << false;
    QTest::newRow("UTF-8 BOM") << bom() + "(op\xC3\xA9ration)\r\n" << u << true << true;
    QTest::newRow("BOM only") << bom() << u << true << false;
    QTest::newRow("BOM + BOM") << bom() + bom() + "N10" << u << true << false;
    QTest::newRow("BOM + invalid UTF-8") << bom() + "\xE9t\xE9\r\n" << w << false << true;
    QTest::newRow("invalid UTF-8") << QByteArray("caf\xC3\xA9 \xE9t\xE9\n") << w << false << true;
    QTest::newRow("truncated UTF-8 at end") << QByteArray("N10 \xC3") << w << false << false;
    QTest::newRow("overlong UTF-8") << QByteArray("\xC0\xAF\xE0\x80\xAF") << w << false << false;
    QTest::newRow("UTF-8 surrogate") << QByteArray("\xED\xA0\x80") << w << false << false;
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << w << false << false;
    QTest::newRow("random bytes 1 MB") << randomBytes(7, 1 << 20) << w << false << false;
    QTest::newRow("random UTF-8") << randomUtf8(11, 200000) << u << false << false;
    QTest::newRow("long ASCII then one 1252 byte at the end")
        << QByteArray(100000, 'X') + "\xE9" << w << false << false;
    QTest::newRow("UTF-8 after 1 MB of ASCII") << QByteArray(1 << 20, 'G') + "\xC3\xA9" << u << false << false;
    QTest::newRow("lone continuation byte") << QByteArray("A\x80") << w << false << false;
    QTest::newRow("BOM bytes not at the start") << QByteArray("N") + bom() << u << false << false;
    QTest::newRow("partial BOM") << QByteArray("\xEF\xBB") << w << false << false;
}

void TestTextCodec::roundTrip()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Encoding, encoding);
    QFETCH(bool, bom);
    QFETCH(bool, finalLineEnd);

    const DecodedUtf8 decoded = decodeToUtf8(bytes);
    QCOMPARE(decoded.format.encoding, encoding);
    QCOMPARE(decoded.format.bom, bom);
    if (!bytes.isEmpty())   // an empty file's flag is the new-document default, tested with it
        QCOMPARE(decoded.format.finalLineEnd, finalLineEnd);
    QVERIFY(fromUtf8KeepingBom(decoded.utf8).toUtf8() == decoded.utf8);   // valid UTF-8

    const Encoded encoded = encodeFromUtf8(decoded.utf8, decoded.format.encoding, decoded.format.bom);
    QVERIFY(encoded.ok);
    QCOMPARE(encoded.badOffset, -1);
    QVERIFY2(encoded.bytes == bytes, "bytes changed through UTF-8");

    FileFormat format;
    const QString text = decodeToString(bytes, &format);
    QCOMPARE(format.encoding, encoding);
    const Encoded again = encodeFromUtf8(text.toUtf8(), format.encoding, format.bom);
    QVERIFY(again.ok);
    QVERIFY2(again.bytes == bytes, "bytes changed through QString");
}

void TestTextCodec::decodesText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("1252 accents") << QByteArray("\xE9\xE8\xE0\xE7\xB0") << QStringLiteral("éèàç°");
    QTest::newRow("1252 euro, quotes, oe") << QByteArray("\x80\x93\x94\x9C\x8C")
                                           << QStringLiteral("€“”œŒ");
    QTest::newRow("unassigned bytes are C1 controls")
        << QByteArray("\x81\x8D\x8F\x90\x9D") << QStringLiteral("\u0081\u008D\u008F\u0090\u009D");
    QTest::newRow("UTF-8") << QByteArray("\xC3\xA9\xE2\x82\xAC") << QStringLiteral("é€");
    QTest::newRow("BOM is not text") << bom() + "N10" << QStringLiteral("N10");
    QTest::newRow("a second BOM is text") << bom() + bom() + "N10" << QStringLiteral("\uFEFFN10");
    QTest::newRow("NUL kept") << QByteArray("A\0B", 3) << QString::fromUtf16(u"A\0B", 3);
    QTest::newRow("line ends kept") << QByteArray("A\r\nB\rC\n") << QStringLiteral("A\r\nB\rC\n");
}

void TestTextCodec::decodesText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decodeToString(bytes), text);
    QCOMPARE(decodeToUtf8(bytes).utf8, text.toUtf8());
}

// Each of the 256 bytes has its own character, and the reverse mapping finds the byte again.
void TestTextCodec::windows1252IsOneToOne()
{
    QSet<char16_t> seen;
    for (int b = 0; b < 256; ++b) {
        const char16_t cp = windows1252ToUnicode(uchar(b));
        QVERIFY2(!seen.contains(cp), qPrintable(QStringLiteral("byte %1 shares its character").arg(b)));
        seen.insert(cp);
        QCOMPARE(unicodeToWindows1252(cp), b);
        if (b < 0x80 || b >= 0xA0)
            QCOMPARE(int(cp), b);
    }
    QCOMPARE(unicodeToWindows1252(U'\u0080'), -1);   // C1 controls the code page assigns elsewhere
    QCOMPARE(unicodeToWindows1252(U'\u009F'), -1);
    QCOMPARE(unicodeToWindows1252(U'\u0100'), -1);
    QCOMPARE(unicodeToWindows1252(U'\U0001F600'), -1);
}

// The 251 assigned bytes agree with an independent table (ICU's, when Qt was built with it).
void TestTextCodec::windows1252MatchesIcu()
{
    QStringDecoder icu("windows-1252");
    if (!icu.isValid())
        QSKIP("this Qt has no ICU windows-1252 converter to compare with");
    for (int b = 0x80; b < 0x100; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            continue;
        const char byte = char(b);
        const QString reference = icu.decode(QByteArrayView(&byte, 1));
        QCOMPARE(reference.size(), 1);
        QVERIFY2(reference.at(0).unicode() == windows1252ToUnicode(uchar(b)),
                 qPrintable(QStringLiteral("byte 0x%1").arg(b, 0, 16)));
    }
}

void TestTextCodec::detectsLineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<LineEndStyle>("style");

    const QByteArray manyCrLf = QByteArray("N10 G01 X1\r\n").repeated(100000);
    QTest::newRow("empty") << QByteArray() << LineEndStyle::None;
    QTest::newRow("no line end") << QByteArray("N10 G00") << LineEndStyle::None;
    QTest::newRow("CR LF") << QByteArray("A\r\nB\r\n") << LineEndStyle::CrLf;
    QTest::newRow("CR LF, no final") << QByteArray("A\r\nB") << LineEndStyle::CrLf;
    QTest::newRow("LF") << QByteArray("A\nB\n") << LineEndStyle::Lf;
    QTest::newRow("CR") << QByteArray("A\rB\r") << LineEndStyle::Cr;
    QTest::newRow("CR at the very end") << QByteArray("A\r") << LineEndStyle::Cr;
    QTest::newRow("CR LF + LF") << QByteArray("A\r\nB\n") << LineEndStyle::Mixed;
    QTest::newRow("LF + CR") << QByteArray("A\nB\r") << LineEndStyle::Mixed;
    QTest::newRow("CR CR LF") << QByteArray("A\r\r\nB\r\r\n") << LineEndStyle::Mixed;
    QTest::newRow("LF CR") << QByteArray("A\n\rB") << LineEndStyle::Mixed;
    QTest::newRow("NUL before CR LF") << QByteArray("A\0\r\n", 4) << LineEndStyle::CrLf;
    QTest::newRow("many CR LF, one LF at the end") << manyCrLf + "M30\n" << LineEndStyle::Mixed;
    QTest::newRow("many CR LF") << manyCrLf << LineEndStyle::CrLf;
}

void TestTextCodec::detectsLineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(LineEndStyle, style);
    QCOMPARE(detectLineEnds(bytes), style);
    QCOMPARE(decodeToUtf8(bytes).format.lineEnds, style);
}

// A character that Windows-1252 cannot hold stops the encoding and is named, never replaced.
void TestTextCodec::refusesCharactersOutside1252_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("badOffset");
    QTest::addColumn<uint>("badChar");

    QTest::newRow("arrow after ASCII") << QStringLiteral("N10 ← X1") << qsizetype(4) << 0x2190u;
    QTest::newRow("omega after 1252 characters") << QStringLiteral("é€ Ω é") << qsizetype(6) << 0x3A9u;
    QTest::newRow("emoji first") << QStringLiteral("😀N10") << qsizetype(0) << 0x1F600u;
    QTest::newRow("C1 control 0x80 (not a 1252 byte)") << QStringLiteral("A\u0080") << qsizetype(1) << 0x80u;
    QTest::newRow("replacement character") << QStringLiteral("N\uFFFD") << qsizetype(1) << 0xFFFDu;
    QTest::newRow("after a long ASCII run")
        << QString(100000, u'X') + QStringLiteral("Ω") << qsizetype(100000) << 0x3A9u;
}

void TestTextCodec::refusesCharactersOutside1252()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, badOffset);
    QFETCH(uint, badChar);

    const Encoded encoded = encodeFromUtf8(text.toUtf8(), Encoding::Windows1252, false);
    QVERIFY(!encoded.ok);
    QCOMPARE(encoded.badOffset, badOffset);
    QCOMPARE(uint(encoded.badChar), badChar);

    const Encoded asUtf8 = encodeFromUtf8(text.toUtf8(), Encoding::Utf8, false);   // always possible
    QVERIFY(asUtf8.ok);
    QCOMPARE(asUtf8.bytes, text.toUtf8());
}

// The shared corpus of real programs: every file of nc/ round-trips byte for byte, and the
// detected format matches the manifest (ASCII counts as Windows-1252, "+" means mixed).
void TestTextCodec::corpusRoundTrips_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("sha256");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QString>("lineEnds");
    QTest::addColumn<QString>("finalLineEnd");

    QFile manifest(testsupport::corpusPath(QStringLiteral("MANIFEST.tsv")));
    QVERIFY2(manifest.open(QIODevice::ReadOnly), qPrintable(manifest.fileName()));
    QHash<QString, QStringList> rows;
    while (!manifest.atEnd()) {
        const QStringList cols = QString::fromUtf8(manifest.readLine()).trimmed().split(u'\t');
        if (cols.size() >= 11 && cols[0].startsWith(u"nc/"))
            rows.insert(cols[0], cols);
    }
    const QDir folder(testsupport::corpusPath(QStringLiteral("nc")));
    const QStringList files = folder.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    QVERIFY2(!files.isEmpty(), qPrintable(folder.path()));
    for (const QString &name : files) {
        const QStringList cols = rows.value(QStringLiteral("nc/") + name);
        QVERIFY2(!cols.isEmpty(), qPrintable(name + QStringLiteral(" is missing from MANIFEST.tsv")));
        QTest::newRow(qPrintable(name)) << folder.filePath(name) << cols[6].toLatin1() << cols[8]
                                        << cols[9] << cols[10];
    }
}

void TestTextCodec::corpusRoundTrips()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, sha256);
    QFETCH(QString, encoding);
    QFETCH(QString, lineEnds);
    QFETCH(QString, finalLineEnd);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(), sha256);

    const DecodedUtf8 decoded = decodeToUtf8(bytes);
    const Encoded encoded = encodeFromUtf8(decoded.utf8, decoded.format.encoding, decoded.format.bom);
    QVERIFY(encoded.ok);
    QVERIFY2(encoded.bytes == bytes, "round trip changed the bytes");

    const bool utf8 = encoding.startsWith(u"UTF-8");
    QCOMPARE(decoded.format.encoding, utf8 ? Encoding::Utf8 : Encoding::Windows1252);
    QCOMPARE(decoded.format.bom, encoding == u"UTF-8+BOM");
    QCOMPARE(decoded.format.lineEnds, manifestLineEnds(lineEnds));
    QCOMPARE(decoded.format.finalLineEnd, finalLineEnd == u"yes");
}

QTEST_GUILESS_MAIN(TestTextCodec)
#include "tst_textcodec.moc"
