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
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

using platform::QtCommonDialog;
using testsupport::OnModal;

namespace {

const QString filter = QStringLiteral("Fichiers CN (*.iso)|*.iso|Fichiers CN (*.txt)|*.txt|Tous les fichiers (*.*)|*.*");

// What the user types in the name field, nothing being selected in the file list (a file
// selected there would win over the typed name), then OK or Cancel.
void typeName(QFileDialog *dialog, const QString &name, bool accept = true)
{
    for (QAbstractItemView *view : dialog->findChildren<QAbstractItemView *>())
        if (view->selectionModel())
            view->clearSelection();
    dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(name);
    accept ? static_cast<QDialog *>(dialog)->accept() : dialog->reject();
}

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
        QTest::newRow("one pair") << "Fichiers CN (*.iso)|*.iso" << 1 << QStringList{"Fichiers CN (*.iso) (*.iso)"} << 0;
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
            typeName(d, typed, !typed.isEmpty());
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

    // The selection range comes in through flag 1, the copies through Copies; the printer
    // is handed back with a copy count of 1, one job per copy being the caller's business.
    void printDialogCopiesAndRange()
    {
        QPrinter printer;
        QtCommonDialog dialog;
        dialog.setPrinter(&printer);
        auto &p = dialog.props();
        p.Flags = platform::cdl::PrintHidePrintToFile | platform::cdl::PrintSelection;
        p.Copies = 3;
        p.CancelError = true;
        QList<int> seen;
        OnModal<QPrintDialog> driver([&](QPrintDialog *d) {
            seen << d->printRange() << d->testOption(QAbstractPrintDialog::PrintToFile);
            static_cast<QDialog *>(d)->accept();
        });
        QVERIFY(dialog.showPrinter());
        QCOMPARE(seen, QList<int>({QAbstractPrintDialog::Selection, false}));
        QCOMPARE(QList<int>({p.Copies, p.Flags & platform::cdl::PrintSelection, printer.copyCount()}), QList<int>({3, 1, 1}));
        OnModal<QPrintDialog> cancel([](QPrintDialog *d) { d->reject(); });
        QVERIFY(!dialog.showPrinter());
        QVERIFY(cancel.ran);
    }
};

QTEST_MAIN(TestCommonDialog)
#include "tst_commondialog.moc"
