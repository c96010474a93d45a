#include "settings/ConfigFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using tarmel::Config;

Q_DECLARE_METATYPE(Config)

namespace QTest {
template <>
char *toString(const Config &c)
{
    return qstrdup(QStringLiteral("{%1, \"%2\", %3, %4, %5}")
                       .arg(c.MaximizeDocuments)
                       .arg(c.EditorFontName)
                       .arg(c.EditorFontSize, 0, 'g', 17)
                       .arg(c.ToolbarVisible)
                       .arg(c.HeaderOption)
                       .toUtf8()
                       .constData());
}
} // namespace QTest

class ConfigFileTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString writeFile(const QByteArray &bytes)
    {
        const QString path = dir.filePath(QStringLiteral("Tarmel.cfg"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private slots:
    void read_data();
    void read();
    void absentFileGivesDefaults();
    void folderInPlaceOfFileGivesDefaults();
    void unreadableFileGivesZeroState();
    void format_data();
    void format();
    void roundTrip_data();
    void roundTrip();
};

void ConfigFileTest::read_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Config>("expected");

    QTest::newRow("as written") << QByteArray(" 1 \r\nArial\r\n 12 \r\n 0 \r\n 2 \r\n")
                                << Config{1, "Arial", 12, 0, 2};
    QTest::newRow("empty file: zero state") << QByteArray() << Config{0, "", 0, 0, 0};
    QTest::newRow("one line") << QByteArray(" 1 \r\n") << Config{1, "", 0, 0, 0};
    QTest::newRow("three lines, last unended")
        << QByteArray(" 1 \r\nArial\r\n 9 ") << Config{1, "Arial", 9, 0, 0};
    QTest::newRow("bad line 1 keeps the others in place")
        << QByteArray("oui\r\nArial\r\n 11 \r\n 1 \r\n 1 \r\n") << Config{0, "Arial", 11, 1, 1};
    QTest::newRow("empty lines read nothing")
        << QByteArray("\r\n\r\n\r\n 1 \r\n\r\n") << Config{0, "", 0, 1, 0};
    QTest::newRow("comma decimal") << QByteArray(" 0 \r\nArial\r\n 10,5 \r\n 1 \r\n 0 \r\n")
                                   << Config{0, "Arial", 10.5, 1, 0};
    QTest::newRow("fraction without integer part")
        << QByteArray(" 0 \r\nArial\r\n,5\r\n 1 \r\n 0 \r\n") << Config{0, "Arial", 0.5, 1, 0};
    QTest::newRow("size with exponent and unit")
        << QByteArray(" 0 \r\nArial\r\n 1,25E1pt\r\n 1 \r\n 0 \r\n") << Config{0, "Arial", 12.5, 1, 0};
    QTest::newRow("font name cut at the comma")
        << QByteArray(" 0 \r\nDejaVu Sans, Mono\r\n 10 \r\n 1 \r\n 0 \r\n")
        << Config{0, "DejaVu Sans", 10, 1, 0};
    QTest::newRow("quoted font name keeps comma and blanks")
        << QByteArray(" 0 \r\n  \" Mono, Bold \" suite\r\n 10 \r\n 1 \r\n 0 \r\n")
        << Config{0, " Mono, Bold ", 10, 1, 0};
    QTest::newRow("quoted font name without closing quote")
        << QByteArray(" 0 \r\n\"Mono, Bold\r\n 10 \r\n 1 \r\n 0 \r\n")
        << Config{0, "Mono, Bold", 10, 1, 0};
    QTest::newRow("blanks and tabs around values")
        << QByteArray("\t 1\t\r\n \tLiberation Mono \t\r\n  14\r\n\t0 \r\n 1\r\n")
        << Config{1, "Liberation Mono", 14, 0, 1};
    QTest::newRow("mixed line ends, CR LF counted once")
        << QByteArray(" 1 \r\nArial\n 8 \r 0 \r\n 1 ") << Config{1, "Arial", 8, 0, 1};
    QTest::newRow("extra lines ignored")
        << QByteArray(" 1 \r\nArial\r\n 8 \r\n 1 \r\n 2 \r\n 7 \r\nautre\r\n") << Config{1, "Arial", 8, 1, 2};
    QTest::newRow("integer lines: leading numeric part, halves to even")
        << QByteArray(" 1.5 \r\nArial\r\n 10 \r\n 2x\r\n 2,5\r\n") << Config{2, "Arial", 10, 2, 2};
    QTest::newRow("integer lines: fractions round to nearest")
        << QByteArray(" 0.6 \r\nArial\r\n 10 \r\n-0,7\r\n 1.49\r\n") << Config{1, "Arial", 10, -1, 1};
    QTest::newRow("integer lines: explicit plus sign, exponent")
        << QByteArray("+1\r\nArial\r\n 10 \r\n 1e1\r\n 2E-1\r\n") << Config{1, "Arial", 10, 10, 0};
    QTest::newRow("integer beyond 16 bits does not read")
        << QByteArray(" 32768 \r\nArial\r\n 10 \r\n-32769\r\n 32767 \r\n") << Config{0, "Arial", 10, 0, 32767};
    QTest::newRow("sign or separator alone does not read")
        << QByteArray("-\r\nArial\r\n.\r\n+x\r\n,\r\n") << Config{0, "Arial", 0, 0, 0};
    QTest::newRow("Windows-1252 font name")
        << QByteArray(" 0 \r\nCaract\xe8res \x80\r\n 10 \r\n 1 \r\n 0 \r\n")
        << Config{0, QStringLiteral(u"Caractères €"), 10, 1, 0};
    QTest::newRow("UTF-8 font name") << QByteArray(" 0 \r\nCaract\xc3\xa8res\r\n 10 \r\n 1 \r\n 0 \r\n")
                                     << Config{0, QStringLiteral(u"Caractères"), 10, 1, 0};
}

void ConfigFileTest::read()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Config, expected);
    QCOMPARE(tarmel::readConfig(writeFile(bytes)), expected);
}

void ConfigFileTest::absentFileGivesDefaults()
{
    const Config config = tarmel::readConfig(dir.filePath(QStringLiteral("absent.cfg")));
    QCOMPARE(config, (Config{0, "Courier New", 10, 1, 0}));
    QCOMPARE(tarmel::defaultConfig(), config);
}

void ConfigFileTest::folderInPlaceOfFileGivesDefaults()
{
    QTemporaryDir local;
    QVERIFY(QDir(local.path()).mkdir(QStringLiteral("Tarmel.cfg")));
    QCOMPARE(tarmel::readConfig(local.filePath(QStringLiteral("Tarmel.cfg"))), tarmel::defaultConfig());
}

void ConfigFileTest::unreadableFileGivesZeroState()
{
    if (geteuid() == 0)
        QSKIP("running as root: file permissions do not stop reading");
    const QString path = writeFile(" 1 \r\nArial\r\n 12 \r\n 1 \r\n 1 \r\n");
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    const Config config = tarmel::readConfig(path);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(config, Config{});
}

void ConfigFileTest::format_data()
{
    QTest::addColumn<Config>("config");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("dialog defaults") << Config{0, "Courier New", 12, 1, 0} << QChar(u',')
                                     << QByteArray(" 0 \r\nCourier New\r\n 12 \r\n 1 \r\n 0 \r\n");
    QTest::newRow("fraction, French separator") << Config{1, "Arial", 10.5, 0, 2} << QChar(u',')
                                                << QByteArray(" 1 \r\nArial\r\n 10,5 \r\n 0 \r\n 2 \r\n");
    QTest::newRow("negative values") << Config{-1, "Arial", -2.25, -7, -2} << QChar(u'.')
                                     << QByteArray("-1 \r\nArial\r\n-2.25 \r\n-7 \r\n-2 \r\n");
    QTest::newRow("empty font name") << Config{} << QChar(u'.')
                                     << QByteArray(" 0 \r\n\r\n 0 \r\n 0 \r\n 0 \r\n");
    QTest::newRow("font name verbatim, comma included") << Config{0, "Mono, Bold", 9, 1, 1} << QChar(u',')
                                                        << QByteArray(" 0 \r\nMono, Bold\r\n 9 \r\n 1 \r\n 1 \r\n");
    QTest::newRow("font name in Windows-1252") << Config{0, QStringLiteral(u"Caractères €"), 9, 1, 1}
                                               << QChar(u',')
                                               << QByteArray(" 0 \r\nCaract\xe8res \x80\r\n 9 \r\n 1 \r\n 1 \r\n");
    QTest::newRow("font name beyond Windows-1252: UTF-8") << Config{0, QStringLiteral(u"Noto Sans CJK 黑"), 9, 1, 1}
                                                          << QChar(u',')
                                                          << QByteArray(" 0 \r\nNoto Sans CJK \xe9\xbb\x91\r\n 9 \r\n 1 \r\n 1 \r\n");
}

void ConfigFileTest::format()
{
    QFETCH(Config, config);
    QFETCH(QChar, separator);
    QFETCH(QByteArray, bytes);
    QCOMPARE(tarmel::formatConfig(config, separator), bytes);
}

void ConfigFileTest::roundTrip_data()
{
    QTest::addColumn<Config>("config");
    QTest::addColumn<QChar>("separator");

    QTest::newRow("defaults") << tarmel::defaultConfig() << QChar(u',');
    QTest::newRow("fraction, comma") << Config{1, "Liberation Mono", 10.5, 0, 2} << QChar(u',');
    QTest::newRow("many digits") << Config{0, "Mono", 1.0 / 3.0 * 30, 1, 1} << QChar(u',');
    QTest::newRow("negatives") << Config{-1, "Mono", -4.5, -1, -2} << QChar(u'.');
    // 1252 bytes of "Ã©" would read back as the UTF-8 of "é": the writer must avoid that.
    QTest::newRow("name whose 1252 bytes look like UTF-8") << Config{0, QStringLiteral(u"AÃ©"), 9, 1, 1}
                                                         << QChar(u',');
    QTest::newRow("name beyond Windows-1252") << Config{0, QStringLiteral(u"Sarasa 黑体"), 9, 1, 1} << QChar(u',');
}

void ConfigFileTest::roundTrip()
{
    QFETCH(Config, config);
    QFETCH(QChar, separator);
    QCOMPARE(tarmel::readConfig(writeFile(tarmel::formatConfig(config, separator))), config);
}

QTEST_GUILESS_MAIN(ConfigFileTest)
#include "tst_ConfigFile.moc"
