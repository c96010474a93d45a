#include "app/Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A work folder of files, folders and links; relative paths are taken from it.
//   a.iso  sub/a.iso  sub/b.iso  sub/deep/c.iso  link.iso -> a.iso  linkdir -> sub/deep  dangling.iso -> missing.iso
class TestPaths : public QObject
{
    Q_OBJECT
    QTemporaryDir work_;
    QString previousCurrent_ = QDir::currentPath();

private slots:
    void initTestCase()
    {
        QDir dir(work_.path());
        QVERIFY(work_.isValid() && dir.mkpath("sub/deep"));
        for (const char *name : {"a.iso", "sub/a.iso", "sub/b.iso", "sub/deep/c.iso"})
            QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
        for (const auto &[to, from] : {std::pair{"a.iso", "link.iso"}, {"sub/deep", "linkdir"}, {"missing.iso", "dangling.iso"}})
            QVERIFY(QFile::link(to, dir.filePath(from)));
        QVERIFY(QDir::setCurrent(work_.path()));
    }
    void cleanupTestCase() { QDir::setCurrent(previousCurrent_); }

    // "@/" stands for the work folder; "cmd:" starts the command line's arguments, split at "|" (its whole
    // way to the file that opens). Expected: below the work folder; empty: the empty text.
    void longPath_data()
    {
        QTest::addColumn<QString>("path"); QTest::addColumn<QString>("expected");
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
    void longPath()
    {
        QFETCH(QString, path); QFETCH(QString, expected);
        path.replace("@/", work_.path() + '/');
        if (path.startsWith("cmd:"))
            path = tarmel::commandLinePath(path.mid(4).split(u'|', Qt::SkipEmptyParts), work_.path());
        QCOMPARE(tarmel::LongPathOf(path), expected.isEmpty() ? QString() : work_.path() + '/' + expected);
    }
};

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_Paths.moc"
