// Every NC program of the shared corpus renumbered in place by the batch command line (the real
// program, run without any display) gives the very bytes the editor gives when the same file is
// opened, renumbered with step 10 and saved.
#include "document/Form1.h"
#include "tests/support/TestApp.h"
#include "tests/support/TestPaths.h"

#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

using namespace tarmel;
using testsupport::TestApp;

class TestBatchCorpus : public QObject {
    Q_OBJECT
private slots:
    void renumberedLikeTheEditor_data()
    {
        QTest::addColumn<QString>("name");
        SKIP_WITHOUT_CORPUS("nc");
        for (const QString &name : QDir(testsupport::corpusPath("nc")).entryList(QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(name)) << name;
    }

    void renumberedLikeTheEditor()
    {
        QFETCH(QString, name);
        const QByteArray original = TestApp::read(testsupport::corpusPath("nc/" + name));
        // The batch command line, on a copy in a temporary folder, with no display.
        QTemporaryDir batchDir;
        const QString batchFile = batchDir.filePath(name);
        QVERIFY(QFile::copy(testsupport::corpusPath("nc/" + name), batchFile));
        QProcess batch;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(variable));
        batch.setProcessEnvironment(environment);
        batch.start(QStringLiteral(TARMEL_BINARY), {QStringLiteral("--renumber"), QStringLiteral("10"), batchFile});
        QVERIFY(batch.waitForFinished(60000));
        QCOMPARE(batch.readAllStandardError(), QByteArray());
        QCOMPARE(QList<int>({batch.exitStatus(), batch.exitCode()}), QList<int>({QProcess::NormalExit, 0}));
        // The editor's command on another copy: open, renumber with step 10, save.
        TestApp app;
        QVERIFY(app.showWindow());
        const QString editorFile = app.write(name, original);
        Form1 *doc = app.open(editorFile);
        QVERIFY(doc);
        app.trigger("Mnu_Renumeroter");
        QCOMPARE(doc->findChild<QLineEdit *>(QStringLiteral("Text5"))->text(), QStringLiteral("10"));
        QTest::mouseClick(doc->findChild<QPushButton *>(QStringLiteral("Command6")), Qt::LeftButton);
        app.trigger("Mnu_Enregistrer");
        QVERIFY(app.fakes.messageBox.boxes().isEmpty());
        const QByteArray editorBytes = TestApp::read(editorFile);
        QCOMPARE(TestApp::read(batchFile), editorBytes);
        ++compared_;
        changed_ += editorBytes != original;
    }

    // Most of the corpus has numbered blocks: a run that changed no file renumbered nothing.
    void cleanupTestCase()
    {
        if (compared_ > 0)
            QVERIFY2(changed_ * 2 > compared_, qPrintable(QStringLiteral("%1 of %2 files changed").arg(changed_).arg(compared_)));
    }

private:
    int compared_ = 0, changed_ = 0;
};

QTEST_MAIN(TestBatchCorpus)
#include "tst_batch_corpus.moc"
