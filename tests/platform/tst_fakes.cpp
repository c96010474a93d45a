// What the UI tests rely on in the fakes: scripted answers come out in order, and a
// question nobody scripted fails the test that let it through, and only that one.
#include "tests/support/FakeServices.h"

#include <QApplication>
#include <QProcess>
#include <QTest>

using namespace testsupport;

// Run in a child process by TestFakes::run: each slot is one test of a test run.
class FakesInATestRun : public QObject {
    Q_OBJECT
private slots:
    void scriptedInOrder()
    {
        FakeMessageBox box;
        box.answerYes();
        box.answerNo();
        QCOMPARE(QList<int>({box.show("Enregistrer ?", 36, "Tarmel"), box.show("Quitter ?", 36, "Tarmel")}), QList<int>({6, 7}));
    }
    void unscriptedBox() { FakeMessageBox().show("Quitter ?", 36, "Tarmel"); }
    void unscriptedDialog() { FakeCommonDialog().showSave(); }
};

class TestFakes : public QObject {
    Q_OBJECT
private slots:
    void run()
    {
        QProcess child;
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {"--fakes-in-a-test-run"});
        QVERIFY(child.waitForStarted() && child.waitForFinished());
        const QString out = QString::fromUtf8(child.readAll());
        QCOMPARE(child.exitCode(), 2); // the number of failed test functions
        for (const char *line : {"PASS   : FakesInATestRun::scriptedInOrder()",
                                 "FAIL!  : FakesInATestRun::unscriptedBox() unexpected message box \"Quitter ?\"",
                                 "FAIL!  : FakesInATestRun::unscriptedDialog() unexpected save dialog"})
            QVERIFY2(out.contains(QLatin1String(line)), qPrintable(out));
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    FakesInATestRun inTheChild;
    TestFakes test;
    const bool child = argc > 1 && qstrcmp(argv[1], "--fakes-in-a-test-run") == 0;
    return child ? QTest::qExec(&inTheChild, 1, argv) : QTest::qExec(&test, argc, argv);
}

#include "tst_fakes.moc"
