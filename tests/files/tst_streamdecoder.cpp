// A file decoded a piece at a time gives what the whole file gives, wherever the pieces are cut.
#include "files/StreamDecoder.h"

#include <QTest>

using namespace tarmel;

Q_DECLARE_METATYPE(tarmel::Encoding)

class TestStreamDecoder : public QObject {
    Q_OBJECT
private slots:
    void sameAsWhole_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Encoding>("encoding");
        const auto row = [](const char *name, QByteArray file, Encoding e) { QTest::newRow(name) << file << e; };
        row("empty", "", Encoding::Windows1252);
        row("ASCII, CR LF", "N10 G01\r\nN20\r\n", Encoding::Windows1252);
        row("Windows-1252", "(\xC9" "bauche \xD8" "8)\r\nM30", Encoding::Windows1252);
        row("UTF-8", "(\xC3\x89" "bauche \xE2\x82\xAC \xF0\x9F\x98\x80)\n", Encoding::Utf8);
        row("mark and ASCII", "\xEF\xBB\xBF" "N10\r", Encoding::Utf8);
        row("mark alone", "\xEF\xBB\xBF", Encoding::Utf8);
        row("mark, then invalid", "\xEF\xBB\xBF" "\xE9t\xE9", Encoding::Windows1252);
        row("cut sequence at the end", "N10 \xC3", Encoding::Windows1252);
        row("cut four-byte sequence at the end", "ab\xF0\x9F\x98", Encoding::Windows1252);
        row("lead then ASCII", "\xC3(", Encoding::Windows1252);
        row("overlong form", "\xC0\xAF", Encoding::Windows1252);
        row("surrogate", "\xED\xA0\x80", Encoding::Windows1252);
        row("valid then invalid far on", QByteArray(100, 'a') + "\xC3\xA9" + QByteArray(50, 'b') + "\xE9", Encoding::Windows1252);
        row("mixed line ends", "a\rb\nc\r\n", Encoding::Windows1252);
        row("two bytes", "\xC3\xA9", Encoding::Utf8);
        row("one high byte", "\xB0", Encoding::Windows1252);
    }
    void sameAsWhole()
    {
        QFETCH(QByteArray, file);
        QFETCH(Encoding, encoding);
        const DecodedUtf8 whole = decodeToUtf8(file);
        QCOMPARE(whole.format.encoding, encoding);
        for (const qsizetype pieceSize : {1, 2, 3, 4, 5, 7, 64}) {
            const auto pieces = [&](auto fn) {
                for (qsizetype at = 0; at < file.size(); at += pieceSize)
                    if (!fn(QByteArrayView(file).sliced(at, std::min(pieceSize, file.size() - at))))
                        return;
            };
            StreamDecoder decoder;
            pieces([&](QByteArrayView p) { return decoder.check(p); });
            decoder.endCheck();
            QByteArray utf8;
            pieces([&](QByteArrayView p) { decoder.decode(p, utf8); return true; });
            const FileFormat f = decoder.format();
            const QString where = QStringLiteral("pieces of %1").arg(pieceSize);
            QVERIFY2(utf8 == whole.utf8, qPrintable(where));
            QVERIFY2(f.encoding == whole.format.encoding && f.bom == whole.format.bom && f.lineEnds == whole.format.lineEnds
                         && f.finalLineEnd == whole.format.finalLineEnd,
                     qPrintable(where));
        }
    }
};

QTEST_APPLESS_MAIN(TestStreamDecoder)
#include "tst_streamdecoder.moc"
