// The status bar of a document window as assistive technologies see it.
#include "document/StatusBar1Widget.h"

#include <QAccessible>
#include <QLabel>
#include <QTest>

class TestStatusBar1 : public QObject {
    Q_OBJECT
private slots:
    // A screen reader's "read the status bar" looks for the status-bar role, then reads
    // the panels in their order, each by the text it shows now.
    void panelsReadInOrderByTheirText()
    {
        tarmel::StatusBar1Widget bar;
        bar.resize(1200, bar.height());
        bar.show();
        for (int i : {1, 2, 3, 4, 8, 9, 10})
            bar.setPanelText(i, QStringLiteral("panneau %1").arg(i));
        bar.setPanelText(1, QStringLiteral("PROG.ISO"));
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&bar);
        QCOMPARE(iface->role(), QAccessible::StatusBar);
        QStringList names;
        for (int i = 0; i < iface->childCount(); ++i) {
            QCOMPARE(iface->child(i)->role(), QAccessible::StaticText);
            names << iface->child(i)->text(QAccessible::Name);
        }
        QCOMPARE(names, QStringList({"PROG.ISO", "panneau 2", "panneau 3", "panneau 4", "MAJ", "NUM", "INSER",
                                     "panneau 8", "panneau 9", "panneau 10"}));
    }

    // The size of a program of hundreds of megabytes is shown whole; the panels after it move on.
    void aLongSizeIsShownWhole()
    {
        tarmel::StatusBar1Widget bar;
        bar.resize(1200, bar.height());
        bar.show();
        const int dateAt = bar.panel(3)->x();
        bar.setPanelText(2, QStringLiteral("180746921 Octets"));
        QVERIFY(bar.panel(2)->width() >= bar.panel(2)->sizeHint().width());
        QCOMPARE(bar.panel(3)->x(), bar.panel(2)->x() + bar.panel(2)->width() + 2);
        QVERIFY(bar.panel(3)->x() > dateAt);
        bar.setPanelText(2, QStringLiteral("12 Octets"));
        QCOMPARE(bar.panel(3)->x(), dateAt);
    }
};

QTEST_MAIN(TestStatusBar1)
#include "tst_StatusBar1.moc"
