#include "app/Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using tarmel::commandLinePath;
using tarmel::LongPathOf;

// A work folder of files, folders and links; relative paths are taken from it.
//   a.iso  sub/a.iso  sub/b.iso  sub/deep/c.iso  link.iso -> a.iso  linkdir -> sub/deep
//   dangling.iso -> missing.iso
class TestPaths : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void longPath_data();
    void longPath();

private:
    QTemporaryDir work_;
    QString previousCurrent_;
    QString at(const QString &relative) const { return relative.isEmpty() ? QString() : work_.path() + '/' + relative; }
};

void TestPaths::initTestCase()
{
    QVERIFY(work_.isValid());
    QDir dir(work_.path());
    QVERIFY(dir.mkpath(QStringLiteral("sub/deep")));
    for (const char *name : {"a.iso", "sub/a.iso", "sub/b.iso", "sub/deep/c.iso"}) {
        QFile file(dir.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::link(QStringLiteral("a.iso"), dir.filePath(QStringLiteral("link.iso"))));
    QVERIFY(QFile::link(QStringLiteral("sub/deep"), dir.filePath(QStringLiteral("linkdir"))));
    QVERIFY(QFile::link(QStringLiteral("missing.iso"), dir.filePath(QStringLiteral("dangling.iso"))));
    previousCurrent_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(work_.path()));
}

void TestPaths::cleanupTestCase()
{
    QDir::setCurrent(previousCurrent_);
}

void TestPaths::longPath_data()
{
    // "@/" stands for the work folder; "cmd:" starts the command line's arguments, split at "|"
    // (its whole way to the file that opens).
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected"); // below the work folder; empty: the empty text
    QTest::newRow("absolute") << "@/a.iso" << "a.iso";
    QTest::newRow("relative") << "sub/b.iso" << "sub/b.iso";
    QTest::newRow("link kept") << "link.iso" << "link.iso";
    QTest::newRow("file in a linked folder") << "linkdir/c.iso" << "linkdir/c.iso";
    QTest::newRow("dot dot") << "sub/../a.iso" << "a.iso";
    QTest::newRow("dot dot after a folder link") << "linkdir/../a.iso" << "sub/a.iso";
    QTest::newRow("dot and doubled separator") << "./sub//./b.iso" << "sub/b.iso";
    QTest::newRow("folder") << "sub/deep/" << "sub/deep";
    QTest::newRow("missing") << "missing.iso" << "";
    QTest::newRow("dangling link") << "dangling.iso" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("command line, relative") << "cmd:a.iso" << "a.iso";
    QTest::newRow("command line, quoted link") << "cmd:\"link.iso\"" << "link.iso";
    QTest::newRow("command line, quoted dot dot") << "cmd:\"sub/../a.iso\"" << "a.iso";
    QTest::newRow("command line, lone quote kept") << "cmd:\"a.iso" << "";
    QTest::newRow("command line, no argument") << "cmd:" << "";
}

void TestPaths::longPath()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    path.replace(QLatin1String("@/"), work_.path() + '/');
    if (path.startsWith(QLatin1String("cmd:")))
        path = commandLinePath(path.mid(4).split(u'|', Qt::SkipEmptyParts), work_.path());
    QCOMPARE(LongPathOf(path), at(expected));
}

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_Paths.moc"
