#include "platform/CommonDialog.h"
#include "tests/platform/ModalDriver.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

using platform::QtCommonDialog;
using testsupport::OnModal;

namespace {

const QString filter = QStringLiteral("Fichiers CN (*.iso)|*.iso|Fichiers CN (*.txt)|*.txt|Tous les fichiers (*.*)|*.*");

} // namespace

class TestCommonDialog : public QObject {
    Q_OBJECT
private slots:
    void filters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<int>("filterIndex");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("row"); // preselected
        QTest::newRow("empty") << "" << 1 << QStringList() << 0;
        QTest::newRow("every file is *") << "Tous (*.*)|*.*" << 0 << QStringList{"Tous (*.*) (*)"} << 0;
        QTest::newRow("pattern list") << "CN|*.iso;*.*; *.xcn" << 1 << QStringList{"CN (*.iso * *.xcn)"} << 0;
        QTest::newRow("missing last pattern, last row") << "A|*.a|B" << 2 << QStringList{"A (*.a)", "B (*)"} << 1;
        QTest::newRow("empty label, past the end") << "|*.iso" << 2 << QStringList{"*.iso (*.iso)"} << 0;
    }

    void filters()
    {
        QFETCH(QString, filter);
        QFETCH(int, filterIndex);
        QFETCH(QStringList, shown);
        QFETCH(int, row);
        QCOMPARE(platform::qtNameFilters(filter), shown);
        QCOMPARE(platform::filterRowForIndex(filterIndex, int(shown.size())), row);
    }

    void fileDialog_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<bool>("cancelError");
        QTest::addColumn<int>("flags");
        QTest::addColumn<QString>("typed"); // empty: Cancel
        QTest::addColumn<bool>("asked"); // before overwriting
        QTest::newRow("open, chosen") << false << true << 0 << "noext" << false;
        QTest::newRow("open, Cancel raises") << false << true << 0 << "" << false;
        QTest::newRow("save, Cancel returns") << true << false << 0 << "" << false;
        QTest::newRow("save over a file, flag 2 asks") << true << true << 2 << "a.iso" << true;
        QTest::newRow("save over a file, no flag") << true << true << 0 << "a.iso" << false;
    }

    // The dialog opens with the title, the filter and the preset file, a bare name being in
    // the current folder. The user types a name under "Tous les fichiers (*.*)": it comes
    // back, with the filter 1-based; Cancel leaves every property as it was.
    void fileDialog()
    {
        QFETCH(bool, save);
        QFETCH(bool, cancelError);
        QFETCH(int, flags);
        QFETCH(QString, typed);
        QFETCH(bool, asked);
        QTemporaryDir dir;
        for (const char *name : {"a.iso", "b.txt", "noext"})
            QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        QtCommonDialog dialog;
        auto &p = dialog.props();
        p = {"b.txt", "b.txt", "Titre", filter, 2, flags, cancelError};
        QStringList seen;
        OnModal<QFileDialog> driver([&](QFileDialog *d) {
            seen << d->windowTitle() << d->findChild<QComboBox *>("fileTypeCombo")->currentText()
                 << d->directory().absolutePath() << d->selectedFiles().value(0);
            d->selectNameFilter(platform::qtNameFilters(filter).at(2));
            // The name typed, nothing being selected in the file list (a file selected there would win).
            for (QAbstractItemView *view : d->findChildren<QAbstractItemView *>())
                if (view->selectionModel())
                    view->clearSelection();
            d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(typed);
            typed.isEmpty() ? d->reject() : static_cast<QDialog *>(d)->accept();
        });
        bool prompted = false;
        OnModal<QMessageBox> prompt([&](QMessageBox *box) {
            prompted = true;
            box->button(QMessageBox::Yes)->click();
        });
        const bool shown = save ? dialog.showSave() : dialog.showOpen();
        QDir::setCurrent(before);
        QCOMPARE(QList<bool>({shown, prompted}), QList<bool>({!typed.isEmpty() || !cancelError, asked}));
        const QString folder = QDir(dir.path()).absolutePath();
        QCOMPARE(seen, QStringList({"Titre", "Fichiers CN (*.txt)", folder, folder + "/b.txt"}));
        const QStringList chosen = typed.isEmpty() ? QStringList{"b.txt", "b.txt", "2"} : QStringList{folder + '/' + typed, typed, "3"};
        QCOMPARE(QStringList({p.FileName, p.FileTitle, QString::number(p.FilterIndex)}), chosen);
    }
};

QTEST_MAIN(TestCommonDialog)
#include "tst_commondialog.moc"
