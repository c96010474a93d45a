#include "files/FileRules.h"
#include "files/TextCodec.h"
#include "tests/files/FileTestTools.h"
#include "tests/support/TestPaths.h"

#include <QStringDecoder>
#include <QTest>

#include <numeric>

using namespace tarmel;

namespace {

// "encoding[+BOM] line-ends[, final]": how a file was detected, as the manifest of the corpus spells it.
QString describe(const FileFormat &f)
{
    const QString ends[] = {"none", "CRLF", "LF", "CR", "mixed"};
    return (f.encoding == Encoding::Utf8 ? "UTF-8" : "1252") + QString(f.bom ? "+BOM " : " ") + ends[int(f.lineEnds)]
           + (f.finalLineEnd ? ", final" : "");
}

} // namespace

class TestTextCodec : public QObject {
    Q_OBJECT

private slots:
    // Exact bytes back through UTF-8 (what the editor holds) and QString (the editing area's), in the format detected.
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("format");
        QByteArray all(256, 0);
        std::iota(all.begin(), all.end(), 0);
        QTest::newRow("empty") << QByteArray() << "1252 none, final";
        QTest::newRow("ASCII, CR LF") << QByteArray("N10 G00\r\nN20 M30\r\n") << "1252 CRLF, final";
        QTest::newRow("no final line end") << QByteArray("N10\r\nN20 M30") << "1252 CRLF";
        QTest::newRow("mixed, LF CR at the end") << QByteArray("N10\r\nN20\nN30\rN40\n\r") << "1252 mixed, final";
        QTest::newRow("many CR LF, then LF") << QByteArray("N10 X1\r\n").repeated(100000) + "M30\n" << "1252 mixed, final";
        QTest::newRow("NUL bytes") << QByteArray("N10\0G01\r\n\0\0", 12) << "1252 CRLF";
        QTest::newRow("all 256 bytes") << all << "1252 mixed";
        QTest::newRow("UTF-8 at each length boundary")
            << QByteArray("\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF\n") << "UTF-8 LF, final";
        QTest::newRow("UTF-8 BOM") << QByteArray("\xEF\xBB\xBF(op\xC3\xA9ration)\r\n") << "UTF-8+BOM CRLF, final";
        QTest::newRow("BOM + BOM") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFN10") << "UTF-8+BOM none";
        QTest::newRow("BOM + invalid UTF-8") << QByteArray("\xEF\xBB\xBF\xE9t\xE9") << "1252 none";
        QTest::newRow("valid then invalid UTF-8") << QByteArray("caf\xC3\xA9 \xE9t\xE9") << "1252 none";
        QTest::newRow("overlong UTF-8") << QByteArray("\xE0\x80\xAF") << "1252 none";
        QTest::newRow("UTF-8 surrogate") << QByteArray("\xED\xA0\x80") << "1252 none";
        QTest::newRow("random bytes 1 MB") << filetest::randomBytes(7, 1 << 20) << "1252 mixed";
    }

    void roundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, format);
        const DecodedUtf8 decoded = decodeToUtf8(bytes);
        QCOMPARE(describe(decoded.format), format);
        QCOMPARE(utf8ToString(decoded.utf8).toUtf8(), decoded.utf8);   // valid UTF-8
        const FileFormat &f = decoded.format;
        QVERIFY2(encodeFromUtf8(decoded.utf8, f.encoding, f.bom).bytes == bytes, "bytes changed through UTF-8");
        QVERIFY2(encodeFromUtf8(decodeToString(bytes).toUtf8(), f.encoding, f.bom).bytes == bytes, "changed through QString");
    }

    // The code page's characters are ICU's (each byte's own character shows in the round trip of all 256).
    void windows1252MatchesIcu()
    {
        QStringDecoder icu("windows-1252");
        if (!icu.isValid())
            QSKIP("this Qt has no ICU windows-1252 converter to compare with");
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            if (!QByteArrayView("\x81\x8D\x8F\x90\x9D").contains(byte))
                QCOMPARE(int(QString(icu.decode(QByteArrayView(&byte, 1))).at(0).unicode()), int(windows1252ToUnicode(uchar(b))));
        }
    }

    // A character Windows-1252 cannot hold stops the encoding and is named (at its UTF-8 offset).
    void refusesCharactersOutside1252_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("refused");
        QTest::newRow("after 1252 characters") << "é€ Ω" << "6: 3a9";
        QTest::newRow("emoji first") << "😀N10" << "0: 1f600";
        QTest::newRow("after a long ASCII run") << QString(100000, u'X') + u'←' << "100000: 2190";
    }

    void refusesCharactersOutside1252()
    {
        QFETCH(QString, text);
        QFETCH(QString, refused);
        const Encoded encoded = encodeFromUtf8(text.toUtf8(), Encoding::Windows1252, false);
        QVERIFY(!encoded.ok);
        QCOMPARE(QStringLiteral("%1: %2").arg(encoded.badOffset).arg(uint(encoded.badChar), 0, 16), refused);
    }

    // Saved: the file's encoding, one final line end of its style when the file had one (or is new) and the text lacks it.
    void savedBytes_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("file");   // the bytes the document was opened from
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("new document: CR LF") << QByteArray("N10\nN20") << QByteArray() << QByteArray("N10\nN20\r\n");
        QTest::newRow("LF file") << QByteArray("N10") << QByteArray("N1\n") << QByteArray("N10\n");
        QTest::newRow("ends with LF: not grown") << QByteArray("N10\n") << QByteArray("N1\r\n") << QByteArray("N10\n");
        QTest::newRow("file without final line end") << QByteArray("N10\r\nN2") << QByteArray("N1\r\nN2") << QByteArray("N10\r\nN2");
        QTest::newRow("empty text stays empty") << QByteArray() << QByteArray("N1\r\n") << QByteArray();
        QTest::newRow("1252 file") << QByteArray("\xC3\xA9") << QByteArray("\xE0\r\n") << QByteArray("\xE9\r\n");
        QTest::newRow("UTF-8 file with BOM") << QByteArray("\xC3\xA9") << QByteArray("\xEF\xBB\xBF\n") << QByteArray("\xEF\xBB\xBF\xC3\xA9\n");
    }

    void savedBytes()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, saved);
        QCOMPARE(plainFileBytes(text, decodeToUtf8(file).format).bytes, saved);
    }

    // Every program of the shared corpus round-trips, detected as MANIFEST.tsv says (file ... encoding, ends, final).
    void corpusRoundTrips_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("format");
        SKIP_WITHOUT_CORPUS(QStringLiteral("nc"));
        for (const QString &line : QString::fromUtf8(filetest::readPlain(testsupport::corpusPath("MANIFEST.tsv"))).split(u'\n')) {
            const QStringList cols = line.split(u'\t');
            if (cols.size() > 10 && cols[0].startsWith("nc/"))
                QTest::newRow(qPrintable(cols[0])) << filetest::readPlain(testsupport::corpusPath(cols[0]))
                                                   << QString(cols[8]).replace("ASCII", "1252").replace("Windows-1252", "1252") + u' '
                                                          + (cols[9].contains(u'+') ? "mixed" : cols[9]) + (cols[10] == u"yes" ? ", final" : "");
        }
    }

    void corpusRoundTrips() { roundTrip(); }
};

QTEST_GUILESS_MAIN(TestTextCodec)
#include "tst_textcodec.moc"
