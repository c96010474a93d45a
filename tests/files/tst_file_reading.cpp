// File names as bytes, reading only what a regular file held when opened, and long lines cut.
#include "files/FilePaths.h"
#include "files/FileReading.h"
#include "files/LongLines.h"
#include "tests/files/FileTestTools.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace tarmel;
using namespace filetest;

class TestFileReading : public QObject {
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

    // Only a regular file opens, and nothing blocks (the other kinds are rows of tst_hostile_open, through the
    // open command).
    void opens_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("opens");
        QTest::newRow("regular file") << "file" << true;
        QTest::newRow("empty name") << "" << false;
        QTest::newRow("link to a FIFO") << "link" << false;
    }

    void opens()
    {
        QFETCH(QString, kind);
        QFETCH(bool, opens);
        QTemporaryDir dir;
        const QString path = kind.isEmpty() ? kind : dir.filePath(kind);
        QVERIFY(kind != u"file" || writePlain(path, "N10\r\n"));
        QVERIFY(kind != u"link" || (::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600) == 0
                                    && ::symlink("fifo", QFile::encodeName(path).constData()) == 0));
        ReadableFile file(path);
        QCOMPARE(file.ok(), opens);
        QCOMPARE(file.error().isEmpty(), opens);
        QCOMPARE(isReadableRegularFile(path), opens);
        QByteArray bytes;
        QVERIFY(!opens || (file.readAll(&bytes) && bytes == "N10\r\n"));
    }

    // A file that grows while it is read gives what it held when opened, and no more.
    void growingFileReadsItsSizeWhenOpened()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("growing.iso");
        const QByteArray first = randomBytes(1, 300000);
        QVERIFY(writePlain(path, first));
        ReadableFile file(path);
        QVERIFY(file.ok());
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

    // The longest line (line ends not counted, LF CR is two ends); cut, pieces of at most the limit, cut between
    // characters; removing the added ends gives the text back.
    void cutLongLines_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qsizetype>("longest");
        QTest::addColumn<QByteArray>("cut");   // at a limit of 5
        QTest::newRow("empty") << QByteArray() << qsizetype(0) << QByteArray();
        QTest::newRow("short lines unchanged") << QByteArray("N10\r\nN20\nN30\r") << qsizetype(3) << QByteArray("N10\r\nN20\nN30\r");
        QTest::newRow("LF CR is two ends") << QByteArray("abc\n\rab") << qsizetype(3) << QByteArray("abc\n\rab");
        QTest::newRow("one over") << QByteArray("abcdef\r\n") << qsizetype(6) << QByteArray("abcde|f\r\n");
        QTest::newRow("several pieces, no final end") << QByteArray("abcdefghijkl") << qsizetype(12) << QByteArray("abcde|fghij|kl");
        QTest::newRow("UTF-8 kept whole") << QByteArray("abcd\xC3\xA9" "fgh") << qsizetype(9) << QByteArray("abcd|\xC3\xA9" "fgh");
        QTest::newRow("stray continuation bytes") << QByteArray(12, '\x80') << qsizetype(12)
                                                  << QByteArray(5, '\x80') + '|' + QByteArray(5, '\x80') + '|' + QByteArray(2, '\x80');
    }

    void cutLongLines()
    {
        QFETCH(QByteArray, text);
        QFETCH(qsizetype, longest);
        QFETCH(QByteArray, cut);
        QCOMPARE(tarmel::longestLine(text), longest);
        const QByteArray result = tarmel::cutLongLines(text, 5, "|");
        QCOMPARE(result, cut);
        QVERIFY(tarmel::longestLine(QByteArray(result).replace('|', '\n')) <= 5);
        QCOMPARE(QByteArray(result).replace("|", ""), text);
    }

    // Read piece by piece, at any split, the same cuts and the same line-end style as over the whole.
    void streamedAsWhole_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qsizetype>("limit");
        QTest::newRow("CR LF split everywhere") << QByteArray("abcdef\r\nab\r\nabcdefghijk\r\n") << qsizetype(4);
        QTest::newRow("lone CRs and LFs") << QByteArray("abc\rdefgh\nij\n\rklmnopqrs\r") << qsizetype(4);
        QTest::newRow("one long line") << QByteArray(1000, 'x') << qsizetype(7);
        QTest::newRow("ends with CR") << QByteArray("abcdefgh\r") << qsizetype(4);
        QTest::newRow("random ASCII with line ends") << [] {
            QByteArray b = filetest::randomBytes(9, 5000);
            for (char &c : b)
                c = "ab\r\ncdefghijklmnop"[uchar(c) % 18];
            return b;
        }() << qsizetype(6);
    }

    void streamedAsWhole()
    {
        QFETCH(QByteArray, text);
        QFETCH(qsizetype, limit);
        std::vector<qsizetype> whole = longLineCuts(text, limit);
        for (qsizetype pieceSize : {qsizetype(1), qsizetype(2), qsizetype(3), qsizetype(7), text.size()}) {
            StreamLineCutter cutter(limit);
            StreamLineEnds ends;
            std::vector<qsizetype> cuts;
            for (qsizetype at = 0; at < text.size(); at += pieceSize) {
                const QByteArrayView piece = QByteArrayView(text).sliced(at, std::min(pieceSize, text.size() - at));
                ends.feed(piece);
                for (qsizetype cut : cutter.cutsIn(piece))
                    cuts.push_back(at + cut);
            }
            QCOMPARE(cuts, whole);
            QCOMPARE(cutter.anyCut(), !whole.empty());
            QCOMPARE(int(ends.result()), int(detectLineEnds(text)));
        }
    }
};

QTEST_GUILESS_MAIN(TestFileReading)
#include "tst_file_reading.moc"
