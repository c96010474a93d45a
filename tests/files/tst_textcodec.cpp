// Program files as bytes: names, reading only what a regular file held when opened, long lines cut, the codec's
// round trips and the bytes a save writes.
#include "files/FilePaths.h"
#include "files/FileReading.h"
#include "files/FileRules.h"
#include "files/LongLines.h"
#include "files/TextCodec.h"
#include "tests/files/FileTestTools.h"
#include "tests/support/TestPaths.h"

#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

#include <numeric>

using namespace tarmel;
using namespace filetest;

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
    // Bytes -> path -> bytes is the identity; valid UTF-8 reads as itself; the shown name replaces each stray byte.
    void pathBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("plainUtf8");   // the path is the ordinary UTF-8 reading of the bytes
        QTest::newRow("ASCII") << QByteArray("/tmp/prog.iso") << "/tmp/prog.iso" << true;
        QTest::newRow("Latin-1 name") << QByteArray("/tmp/pi\xE8" "ce.iso") << "/tmp/pi\uFFFDce.iso" << false;
        QTest::newRow("cut UTF-8 sequence at the end") << QByteArray("a\xC3") << "a\uFFFD" << false;
        QTest::newRow("UTF-8 surrogate bytes") << QByteArray("\xED\xA0\x80") << "\uFFFD\uFFFD\uFFFD" << false;
        QTest::newRow("4-byte character") << QByteArray("\xF0\x9F\x94\xA7.nc") << "\U0001F527.nc" << true;
        // A real character (a surrogate pair whose low half is in the escape range) is not a byte.
        QTest::newRow("U+10380 is no escape") << QByteArray("x\xF0\x90\x8E\x80y") << "x\U00010380y" << true;
        QTest::newRow("every high byte alone") << [] { QByteArray b; for (int i = 0x80; i < 0x100; ++i) b += char(i); return b; }()
                                               << QString(128, QChar::ReplacementCharacter) << false;
    }

    void pathBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QFETCH(bool, plainUtf8);
        const QString path = pathFromBytes(bytes);
        QCOMPARE(pathToBytes(path), bytes);
        QCOMPARE(displayPath(path), shown);
        QCOMPARE(path == QString::fromUtf8(bytes), plainUtf8);
    }

    // A file that grows while it is read gives what it held when opened, and no more; no name, no file (the other
    // kinds that do not open are rows of the file commands' test).
    void growingFileReadsItsSizeWhenOpened()
    {
        QVERIFY(!ReadableFile(QString()).ok() && !ReadableFile(QString()).error().isEmpty() && !isReadableRegularFile(QString()));
        QTemporaryDir dir;
        const QString path = dir.filePath("growing.iso");
        const QByteArray first = randomBytes(1, 300000);
        QVERIFY(writePlain(path, first));
        ReadableFile file(path);
        QVERIFY(file.ok() && isReadableRegularFile(path));
        QFile writer(path);
        QVERIFY(writer.open(QIODevice::Append) && writer.write(randomBytes(2, 1 << 20)) == 1 << 20);
        writer.close();
        char head[1000];
        QCOMPARE(file.read(head, sizeof head), qint64(sizeof head));
        QByteArray rest;
        QVERIFY(file.readAll(&rest));
        QCOMPARE(QByteArray(head, sizeof head) + rest, first);
        QCOMPARE(file.read(head, sizeof head), qint64(0));
    }

    // The longest line (line ends not counted, LF CR is two ends); cut at a limit of 5 into pieces of at most the
    // limit, between characters; removing the added ends gives the text back. An ASCII text read piece by piece, at
    // any split: the same cuts and the same line-end style as over the whole.
    void cutLongLines_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qsizetype>("longest");   // -1: not checked
        QTest::addColumn<QByteArray>("cut");      // "|" where a line end is added; null: not checked
        QTest::newRow("empty") << QByteArray() << qsizetype(0) << QByteArray("");
        QTest::newRow("short lines unchanged") << QByteArray("N10\r\nN20\nN30\r") << qsizetype(3) << QByteArray("N10\r\nN20\nN30\r");
        QTest::newRow("LF CR is two ends") << QByteArray("abc\n\rab") << qsizetype(3) << QByteArray("abc\n\rab");
        QTest::newRow("one over") << QByteArray("abcdef\r\n") << qsizetype(6) << QByteArray("abcde|f\r\n");
        QTest::newRow("several pieces, no final end") << QByteArray("abcdefghijkl") << qsizetype(12) << QByteArray("abcde|fghij|kl");
        QTest::newRow("UTF-8 kept whole") << QByteArray("abcd\xC3\xA9" "fgh") << qsizetype(9) << QByteArray("abcd|\xC3\xA9" "fgh");
        QTest::newRow("stray continuation bytes") << QByteArray(12, '\x80') << qsizetype(12)
                                                  << QByteArray(5, '\x80') + '|' + QByteArray(5, '\x80') + '|' + QByteArray(2, '\x80');
        QTest::newRow("CR LF split everywhere") << QByteArray("abcdef\r\nab\r\nabcdefghijk\r\n") << qsizetype(11) << QByteArray();
        QTest::newRow("lone CRs and LFs") << QByteArray("abc\rdefgh\nij\n\rklmnopqrs\r") << qsizetype(9) << QByteArray();
        QTest::newRow("ends with CR") << QByteArray("abcdefgh\r") << qsizetype(8) << QByteArray("abcde|fgh\r");
        QTest::newRow("one long line") << QByteArray(1000, 'x') << qsizetype(1000) << QByteArray();
        QByteArray random = randomBytes(9, 5000);
        for (char &c : random)
            c = "ab\r\ncdefghijklmnop"[uchar(c) % 18];
        QTest::newRow("random ASCII with line ends") << random << qsizetype(-1) << QByteArray();
    }

    void cutLongLines()
    {
        QFETCH(QByteArray, text);
        QFETCH(qsizetype, longest);
        QFETCH(QByteArray, cut);
        QVERIFY(longest < 0 || longestLine(text) == longest);
        const QByteArray result = tarmel::cutLongLines(text, 5, "|");
        QVERIFY(cut.isNull() || result == cut);
        QVERIFY(longestLine(QByteArray(result).replace('|', '\n')) <= 5);
        QCOMPARE(QByteArray(result).replace("|", ""), text);
        const std::vector<qsizetype> whole = longLineCuts(text, 5);
        QCOMPARE(qsizetype(whole.size()), result.count('|'));
        if (std::any_of(text.begin(), text.end(), [](char c) { return c & 0x80; }))
            return;
        for (qsizetype pieceSize : {qsizetype(1), qsizetype(2), qsizetype(3), qsizetype(7), text.size()}) {
            StreamLineCutter cutter(5);
            StreamLineEnds ends;
            std::vector<qsizetype> cuts;
            for (qsizetype at = 0; at < text.size(); at += pieceSize) {
                const QByteArrayView piece = QByteArrayView(text).sliced(at, std::min(pieceSize, text.size() - at));
                ends.feed(piece);
                for (qsizetype offset : cutter.cutsIn(piece))
                    cuts.push_back(at + offset);
            }
            QCOMPARE(cuts, whole);
            QCOMPARE(cutter.anyCut(), !whole.empty());
            QCOMPARE(int(ends.result()), int(detectLineEnds(text)));
        }
    }

    // Exact bytes back through UTF-8 (what the editor holds) and QString (the editing area's), in the format
    // detected; every program of the shared corpus too, detected as MANIFEST.tsv says.
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
        QTest::newRow("random bytes 1 MB") << randomBytes(7, 1 << 20) << "1252 mixed";
        // The manifest's columns: file ... encoding, line ends, final.
        for (const QString &line : QString::fromUtf8(readPlain(testsupport::corpusPath("MANIFEST.tsv"))).split(u'\n')) {
            const QStringList cols = line.split(u'\t');
            if (cols.size() > 10 && cols[0].startsWith("nc/"))
                QTest::newRow(qPrintable(cols[0])) << readPlain(testsupport::corpusPath(cols[0]))
                                                   << QString(cols[8]).replace("ASCII", "1252").replace("Windows-1252", "1252") + u' '
                                                          + (cols[9].contains(u'+') ? "mixed" : cols[9]) + (cols[10] == u"yes" ? ", final" : "");
        }
        if (!testsupport::missingCorpus("nc").isEmpty())
            QTest::newRow("corpus") << QByteArray() << "skip";
    }

    void roundTrip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, format);
        if (format == u"skip")
            SKIP_WITHOUT_CORPUS(QStringLiteral("nc"));
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

    // Saved: the file's encoding, one final line end of its style when the file had one (or is new) and the text
    // lacks it. A character Windows-1252 cannot hold stops the encoding and is named, at its UTF-8 offset.
    void savedBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("file");   // the bytes the document was opened from
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("new document: CR LF") << "N10\nN20" << QByteArray() << QByteArray("N10\nN20\r\n");
        QTest::newRow("LF file") << "N10" << QByteArray("N1\n") << QByteArray("N10\n");
        QTest::newRow("ends with LF: not grown") << "N10\n" << QByteArray("N1\r\n") << QByteArray("N10\n");
        QTest::newRow("file without final line end") << "N10\r\nN2" << QByteArray("N1\r\nN2") << QByteArray("N10\r\nN2");
        QTest::newRow("empty text stays empty") << "" << QByteArray("N1\r\n") << QByteArray();
        QTest::newRow("1252 file") << "é" << QByteArray("\xE0\r\n") << QByteArray("\xE9\r\n");
        QTest::newRow("UTF-8 file with BOM") << "é" << QByteArray("\xEF\xBB\xBF\n") << QByteArray("\xEF\xBB\xBF\xC3\xA9\n");
        QTest::newRow("refused after 1252 characters") << "é€ Ω" << QByteArray("\xE0") << QByteArray("refused 6: 3a9");
        QTest::newRow("refused emoji first") << "😀N10" << QByteArray() << QByteArray("refused 0: 1f600");
        QTest::newRow("refused after a long ASCII run") << QString(100000, u'X') + u'←' << QByteArray() << QByteArray("refused 100000: 2190");
    }

    void savedBytes()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, saved);
        const Encoded encoded = plainFileBytes(text.toUtf8(), decodeToUtf8(file).format);
        QCOMPARE(encoded.ok ? encoded.bytes : QStringLiteral("refused %1: %2").arg(encoded.badOffset).arg(uint(encoded.badChar), 0, 16).toUtf8(), saved);
    }
};

QTEST_GUILESS_MAIN(TestTextCodec)
#include "tst_textcodec.moc"
