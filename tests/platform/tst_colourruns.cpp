// The coloured runs of a line as the editing area draws them.
#include "platform/LineColouring.h"

#include <QRegularExpression>
#include <QTest>

using platform::ColourRun;

namespace {

// Runs written as "start+length:colour" separated by blanks.
QString show(const std::vector<ColourRun> &runs)
{
    QStringList out;
    for (const ColourRun &r : runs)
        out << QStringLiteral("%1+%2:%3").arg(r.start).arg(r.length).arg(r.colour);
    return out.join(u' ');
}

std::vector<ColourRun> parse(const QString &text)
{
    std::vector<ColourRun> runs;
    for (const QString &r : text.split(u' ', Qt::SkipEmptyParts)) {
        const QStringList p = r.split(QRegularExpression(QStringLiteral("[+:]")));
        runs.push_back({p[0].toInt(), p[1].toInt(), p[2].toUInt()});
    }
    return runs;
}

} // namespace

class TestColourRuns : public QObject {
    Q_OBJECT
private slots:
    void widen_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("runs");
        QTest::addColumn<QString>("drawn");
        QTest::newRow("blanks go to the run before") << QByteArray("N10 G01") << "0+3:1 4+3:2" << "0+4:1 4+3:2";
        QTest::newRow("one colour joined over blanks") << QByteArray("X1 \tY2 Z3") << "0+2:5 4+2:5 7+2:5" << "0+9:5";
        QTest::newRow("uncoloured word keeps its colour") << QByteArray("X1 ab Y2") << "0+2:5 6+2:5" << "0+3:5 6+2:5";
        QTest::newRow("trailing blanks") << QByteArray("M30  ") << "0+3:7" << "0+5:7";
        QTest::newRow("run starting on a blank") << QByteArray("X1 ;c") << "0+2:5 2+3:9" << "0+2:5 2+3:9";
        QTest::newRow("overlap and outside dropped") << QByteArray("G1 X2") << "0+2:1 1+2:3 3+9:5 -1+2:4" << "0+3:1";
        QTest::newRow("empty and zero length") << QByteArray("") << "0+0:1" << "";
    }
    void widen()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, runs);
        std::vector<ColourRun> r = parse(runs);
        platform::widenColourRuns(std::string_view(line.constData(), std::size_t(line.size())), r);
        QTEST(show(r), "drawn");
    }
};

QTEST_APPLESS_MAIN(TestColourRuns)
#include "tst_colourruns.moc"
