// The toolbar's arrangement: the stored text read back, and the customise dialog's edits.
#include "commands/ToolbarArrangement.h"

#include <QtTest>

using namespace tarmel::toolbar;

static Arrangement list(const QString &text)
{
    Arrangement out;
    for (const QString &n : text.split(u' ', Qt::SkipEmptyParts))
        out.append(n.toInt());
    return out;
}

class TestToolbarArrangement : public QObject {
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected"); // "none": no arrangement
        QTest::newRow("as saved") << "3,1,2" << "3 1 2";
        QTest::newRow("nothing saved") << "" << "none";
        QTest::newRow("no entry readable") << "a,b" << "none";
        QTest::newRow("past the table and zero dropped") << "0,2,19,18" << "2 18";
        QTest::newRow("repeated entry dropped") << "2,7,2,7" << "2 7";
    }
    void parse()
    {
        QFETCH(QString, stored); QFETCH(QString, expected);
        QCOMPARE(parseArrangement(stored, 18).value_or(Arrangement{-1}), expected == u"none" ? Arrangement{-1} : list(expected));
    }

    void formatRoundTrip()
    {
        const Arrangement shown = list("18 7 1 13");
        QCOMPARE(formatArrangement(shown), QStringLiteral("18,7,1,13"));
        QCOMPARE(parseArrangement(formatArrangement(shown), 18).value_or(Arrangement{}), shown);
        QCOMPARE(defaultArrangement(4), list("1 2 3 4"));
        QCOMPARE(available(list("4 2"), 5), list("1 3 5"));
    }

    void edits_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("edit");   // "add I R", "remove R", "move R D"
        QTest::addColumn<QString>("after"); QTest::addColumn<int>("current");
        QTest::newRow("add before the current row") << "1 2 3" << "add 5 1" << "1 5 2 3" << 1;
        QTest::newRow("add with no current row appends") << "1 2" << "add 5 -1" << "1 2 5" << 2;
        QTest::newRow("add to an empty bar") << "" << "add 4 -1" << "4" << 0;
        QTest::newRow("add a button already shown") << "1 2" << "add 2 0" << "1 2" << -1;
        QTest::newRow("remove keeps the row") << "1 2 3" << "remove 1" << "1 3" << 1;
        QTest::newRow("remove the last row goes up") << "1 2 3" << "remove 2" << "1 2" << 1;
        QTest::newRow("remove the only button") << "4" << "remove 0" << "" << -1;
        QTest::newRow("remove out of range") << "1 2" << "remove 2" << "1 2" << -1;
        QTest::newRow("move up") << "1 2 3" << "move 2 -1" << "1 3 2" << 1;
        QTest::newRow("move the first up") << "1 2 3" << "move 0 -1" << "1 2 3" << -1;
        QTest::newRow("move the last down") << "1 2 3" << "move 2 1" << "1 2 3" << -1;
    }
    void edits()
    {
        QFETCH(QString, before); QFETCH(QString, edit); QFETCH(QString, after); QFETCH(int, current);
        Arrangement shown = list(before);
        const QStringList e = edit.split(u' ');
        const int row = e[0] == u"add"      ? addButton(shown, e[1].toInt(), e[2].toInt())
                        : e[0] == u"remove" ? removeButton(shown, e[1].toInt())
                                            : moveButton(shown, e[1].toInt(), e[2].toInt());
        QCOMPARE(shown, list(after));
        QCOMPARE(row, current);
    }
};

QTEST_GUILESS_MAIN(TestToolbarArrangement)
#include "tst_ToolbarArrangement.moc"
