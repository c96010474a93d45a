#include "settings/ConfigFile.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using tarmel::Config;

namespace {

// "maximised|font|size|toolbar|header"
QString describe(const Config &c)
{
    return QStringLiteral("%1|%2|%3|%4|%5").arg(c.MaximizeDocuments).arg(c.EditorFontName).arg(c.EditorFontSize, 0, 'g', 17)
        .arg(c.ToolbarVisible).arg(c.HeaderOption);
}

} // namespace

class ConfigFileTest : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("bytes"); QTest::addColumn<QString>("config");
        QTest::newRow("as written") << QByteArray(" 1 \r\nArial\r\n 12 \r\n 0 \r\n 2 \r\n") << "1|Arial|12|0|2";
        QTest::newRow("empty file: zero state") << QByteArray() << "0||0|0|0";
        QTest::newRow("bad line 1 keeps the others in place") << QByteArray("oui\r\nArial\r\n 11 \r\n 1 \r\n 1 \r\n") << "0|Arial|11|1|1";
        QTest::newRow("empty lines read nothing") << QByteArray("\r\n\r\n\r\n 1 \r\n\r\n") << "0||0|1|0";
        QTest::newRow("comma decimal") << QByteArray(" 0 \r\nArial\r\n 10,5 \r\n") << "0|Arial|10.5|0|0";
        QTest::newRow("size with exponent and unit") << QByteArray(" 0 \r\nArial\r\n 1,25E1pt\r\n") << "0|Arial|12.5|0|0";
        QTest::newRow("font name with a comma read whole") << QByteArray(" 0 \r\nDejaVu Sans, Mono\r\n 9 \r\n") << "0|DejaVu Sans, Mono|9|0|0";
        QTest::newRow("letter size: not read, the next line still line 4") << QByteArray(" 0 \r\nArial\r\n x \r\n 1 \r\n 2 \r\n") << "0|Arial|0|1|2";
        QTest::newRow("mixed line ends, CR LF counted once") << QByteArray(" 1 \r\nArial\n 8 \r 0 \r\n 1 ") << "1|Arial|8|0|1";
        QTest::newRow("integers: halves to even") << QByteArray(" 1.5 \r\nArial\r\n 10 \r\n 2x\r\n 2,5\r\n") << "2|Arial|10|2|2";
        QTest::newRow("integers: fractions to nearest") << QByteArray(" 0.6 \r\nArial\r\n 10 \r\n-0,7\r\n 1.49\r\n") << "1|Arial|10|-1|1";
        QTest::newRow("beyond 16 bits: not read") << QByteArray(" 32768 \r\nA\r\n 10 \r\n-32769\r\n 32767 \r\n") << "0|A|10|0|32767";
        QTest::newRow("sign or separator alone does not read") << QByteArray("-\r\nArial\r\n.\r\n+x\r\n,\r\n") << "0|Arial|0|0|0";
        QTest::newRow("Windows-1252 font name") << QByteArray(" 0 \r\nCaract\xe8res \x80\r\n") << "0|Caractères €|0|0|0";
        QTest::newRow("UTF-8 font name") << QByteArray(" 0 \r\nCaract\xc3\xa8res\r\n") << "0|Caractères|0|0|0";
    }

    void parse()
    {
        QFETCH(QByteArray, bytes); QFETCH(QString, config);
        QCOMPARE(describe(tarmel::parseConfig(bytes)), config);
    }

    void format_data()
    {
        QTest::addColumn<QString>("config"); QTest::addColumn<QChar>("separator");
        QTest::addColumn<QByteArray>("bytes");   // '|' for each CR LF; empty: not compared
        QTest::newRow("fraction, French separator") << "1|Arial|10.5|0|2" << QChar(u',') << QByteArray(" 1 |Arial| 10,5 | 0 | 2 |");
        QTest::newRow("negative values") << "-1|Arial|-2.25|-7|-2" << QChar(u'.') << QByteArray("-1 |Arial|-2.25 |-7 |-2 |");
        QTest::newRow("font name in Windows-1252") << "0|Caractères €|9|1|1" << QChar(u',') << QByteArray(" 0 |Caract\xe8res \x80| 9 | 1 | 1 |");
        QTest::newRow("beyond Windows-1252: UTF-8") << "0|Noto 黑|9|1|1" << QChar(u',') << QByteArray(" 0 |Noto \xe9\xbb\x91| 9 | 1 | 1 |");
        QTest::newRow("many digits") << "0|Mono|10.000000000000002|1|1" << QChar(u',') << QByteArray();
        QTest::newRow("1252 bytes that look like UTF-8") << "0|AÃ©|9|1|1" << QChar(u',') << QByteArray();   // "Ã©": the UTF-8 of "é"
    }

    // The bytes written; and they read back as they were, to the last digit of the size and whatever
    // the font name's bytes look like.
    void format()
    {
        QFETCH(QString, config); QFETCH(QChar, separator); QFETCH(QByteArray, bytes);
        const QStringList f = config.split(u'|');
        const QByteArray written = tarmel::formatConfig(Config{f[0].toInt(), f[1], f[2].toDouble(), f[3].toInt(), f[4].toInt()}, separator);
        if (!bytes.isEmpty())
            QCOMPARE(written, bytes.replace('|', "\r\n"));
        QCOMPARE(describe(tarmel::parseConfig(written)), config);
    }

    // No file: the defaults (a folder of that name is no file); a file that cannot be read: the zero
    // state. Written whole over the old file, longer than the new one; the folder named with a
    // trailing separator gets no second one; a folder that is no folder: a failure that says why.
    void files()
    {
        QTemporaryDir dir;
        const QString path = tarmel::configFilePath(dir.path() + u'/');
        QCOMPARE(path, dir.path() + "/Tarmel.cfg");
        QVERIFY(QDir(dir.path()).mkdir("Tarmel.cfg"));
        for (const QString &name : {dir.filePath("absent.cfg"), path})
            QCOMPARE(describe(tarmel::readConfig(name)), "0|Courier New|10|1|0");
        QFile file(dir.filePath("other.cfg"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(" 1 \r\nArial\r\n x \r\n x \r\n x \r\n longer than what replaces it \r\n") && file.setPermissions({}));
        file.close();
        QCOMPARE(describe(tarmel::readConfig(file.fileName())), ::geteuid() == 0 ? "1|Arial|0|0|0" : "0||0|0|0");
        const Config config{0, QStringLiteral("Arial, Bold"), 10.5, 0, 2};
        QVERIFY(QDir(dir.path()).rmdir("Tarmel.cfg") && file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) && file.rename(path));
        QVERIFY(tarmel::writeConfig(path, config, u',').ok);
        QCOMPARE(describe(tarmel::readConfig(path)), "0|Arial, Bold|10.5|0|2");
        QCOMPARE(QFileInfo(path).size(), qint64(tarmel::formatConfig(config, u',').size()));
        const tarmel::WriteResult failed = tarmel::writeConfig(tarmel::configFilePath(path), config, u','); // even root cannot
        QVERIFY(!failed.ok && !failed.error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(ConfigFileTest)
#include "tst_ConfigFile.moc"
