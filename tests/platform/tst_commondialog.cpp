#include "platform/CommonDialog.h"
#include "tests/platform/ModalDriver.h"
#include "tests/support/FakeHelpViewer.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

using platform::QtCommonDialog;
using testsupport::OnModal;

namespace {

const QString programFilter = QStringLiteral(
    "Fichiers CN (*.iso)|*.iso|Fichiers CN (*.rub)|*.rub|Fichiers CN (*.xcn)|*.xcn|"
    "Fichiers CN (*.cn)|*.cn|Fichiers CN (*.txt)|*.txt|Fichiers CN (*.asc)|*.asc|"
    "Fichiers CN (*.xpi)|*.xpi|Fichiers jauges (*.jau)|*.jau|Fichiers jauges (*.cor)|*.cor|"
    "Tous les fichiers (*.*)|*.*|Fichiers RTF (*.RTF)|*.rtf");

void touch(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

// What the user types in the name field, nothing being selected in the file list.
// (QFileDialog::selectFile() leaves the field alone while it has the focus, and a file
// selected in the list wins over the typed name.)
void typeFileName(QFileDialog *dialog, const QString &name)
{
    for (QAbstractItemView *view : dialog->findChildren<QAbstractItemView *>())
        if (view->selectionModel())
            view->clearSelection();
    if (auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        edit->setText(name);
    else
        dialog->selectFile(name);
}

QString shownFilter(QFileDialog *dialog)
{
    const auto *combo = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    return combo ? combo->currentText() : QString();
}

} // namespace

class TestCommonDialog : public QObject {
    Q_OBJECT
private slots:
    void nameFilters_data();
    void nameFilters();
    void filterRow_data();
    void filterRow();
    void openShowsPropertiesAndReturnsChoice();
    void cancelFollowsCancelError_data();
    void cancelFollowsCancelError();
    void saveAsksBeforeOverwriting_data();
    void saveAsksBeforeOverwriting();
    void bareNameGoesToCurrentFolder();
    void fontRoundTrip();
    void printDialogCopiesAndRange();
    void help_data();
    void help();
    void helpWithoutViewerFails();

private:
    QTemporaryDir dir_;
};

void TestCommonDialog::nameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("empty") << "" << QStringList();
    QTest::newRow("one pair") << "Fichiers CN (*.iso)|*.iso" << QStringList{"Fichiers CN (*.iso) (*.iso)"};
    QTest::newRow("every file is * here")
        << "Tous les fichiers (*.*)|*.*" << QStringList{"Tous les fichiers (*.*) (*)"};
    QTest::newRow("label kept, pattern as given")
        << "Fichiers RTF (*.RTF)|*.rtf" << QStringList{"Fichiers RTF (*.RTF) (*.rtf)"};
    QTest::newRow("pattern list with ;")
        << "CN|*.iso;*.cn; *.xcn" << QStringList{"CN (*.iso *.cn *.xcn)"};
    QTest::newRow("*.* among others") << "Tout|*.iso;*.*" << QStringList{"Tout (*.iso *)"};
    QTest::newRow("missing last pattern") << "A|*.a|B" << QStringList{"A (*.a)", "B (*)"};
    QTest::newRow("empty label") << "|*.iso" << QStringList{"*.iso (*.iso)"};
}

void TestCommonDialog::nameFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(platform::qtNameFilters(filter), expected);
}

void TestCommonDialog::filterRow_data()
{
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("row");
    QTest::newRow("0: first") << 0 << 11 << 0;
    QTest::newRow("1") << 1 << 11 << 0;
    QTest::newRow("last") << 11 << 11 << 10;
    QTest::newRow("past the end: first") << 11 << 10 << 0;
    QTest::newRow("negative: first") << -3 << 11 << 0;
    QTest::newRow("no filters") << 1 << 0 << 0;
}

void TestCommonDialog::filterRow()
{
    QFETCH(int, filterIndex);
    QFETCH(int, count);
    QFETCH(int, row);
    QCOMPARE(platform::filterRowForIndex(filterIndex, count), row);
}

// The dialog opens with the title, filter and preset file; the user picks a file without
// an extension under "Tous les fichiers (*.*)" and the choice comes back 1-based.
void TestCommonDialog::openShowsPropertiesAndReturnsChoice()
{
    touch(dir_.filePath("a.iso"));
    touch(dir_.filePath("b.txt"));
    touch(dir_.filePath("noext"));

    QtCommonDialog dialog;
    auto &p = dialog.props();
    p.DialogTitle = "Ouvrir";
    p.Filter = programFilter;
    p.FilterIndex = 5;
    p.FileName = dir_.filePath("b.txt");
    p.CancelError = true;

    QString title, filterShown, folder, typed;
    OnModal<QFileDialog> driver([&](QFileDialog *d) {
        title = d->windowTitle();
        filterShown = shownFilter(d);
        folder = d->directory().absolutePath();
        typed = d->selectedFiles().value(0);
        d->selectNameFilter(platform::qtNameFilters(programFilter).at(9));
        typeFileName(d, dir_.filePath("noext"));
        static_cast<QDialog *>(d)->accept(); // as the dialog's own button does
    });
    QVERIFY(dialog.showOpen());

    QVERIFY(driver.ran());
    QCOMPARE(title, QString("Ouvrir"));
    QCOMPARE(filterShown, QString("Fichiers CN (*.txt)"));
    QCOMPARE(folder, QDir(dir_.path()).absolutePath());
    QCOMPARE(typed, dir_.filePath("b.txt"));
    QCOMPARE(p.FileName, dir_.filePath("noext"));
    QCOMPARE(p.FileTitle, QString("noext"));
    QCOMPARE(p.FilterIndex, 10);
}

void TestCommonDialog::cancelFollowsCancelError_data()
{
    QTest::addColumn<bool>("cancelError");
    QTest::addColumn<bool>("save");
    QTest::addColumn<bool>("result");
    QTest::newRow("open, raises") << true << false << false;
    QTest::newRow("open, returns") << false << false << true;
    QTest::newRow("save, raises") << true << true << false;
    QTest::newRow("save, returns") << false << true << true;
}

void TestCommonDialog::cancelFollowsCancelError()
{
    QFETCH(bool, cancelError);
    QFETCH(bool, save);
    QFETCH(bool, result);

    QtCommonDialog dialog;
    auto &p = dialog.props();
    p.Filter = programFilter;
    p.FilterIndex = 3;
    p.FileName = dir_.filePath("kept.iso");
    p.FileTitle = "kept.iso";
    p.CancelError = cancelError;

    OnModal<QFileDialog> driver([&](QFileDialog *d) {
        d->selectNameFilter(platform::qtNameFilters(programFilter).at(0));
        typeFileName(d, dir_.filePath("other.iso"));
        d->reject();
    });
    QCOMPARE(save ? dialog.showSave() : dialog.showOpen(), result);
    QVERIFY(driver.ran());
    QCOMPARE(p.FileName, dir_.filePath("kept.iso"));
    QCOMPARE(p.FileTitle, QString("kept.iso"));
    QCOMPARE(p.FilterIndex, 3);
}

void TestCommonDialog::saveAsksBeforeOverwriting_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("asked");
    QTest::newRow("flag 2 asks") << 2 << true;
    QTest::newRow("no flag overwrites") << 0 << false;
}

void TestCommonDialog::saveAsksBeforeOverwriting()
{
    QFETCH(int, flags);
    QFETCH(bool, asked);
    const QString target = dir_.filePath("exists.iso");
    touch(target);

    QtCommonDialog dialog;
    auto &p = dialog.props();
    p.DialogTitle = "Enregistrer Sous";
    p.Filter = programFilter;
    p.FilterIndex = 11;
    p.Flags = flags;
    p.CancelError = true;

    bool prompted = false;
    OnModal<QMessageBox> prompt([&](QMessageBox *box) {
        prompted = true;
        box->button(QMessageBox::Yes)->click();
    });
    OnModal<QFileDialog> driver([&](QFileDialog *d) {
        typeFileName(d, target);
        static_cast<QDialog *>(d)->accept(); // as the dialog's own button does
    });
    QVERIFY(dialog.showSave());
    QVERIFY(driver.ran());
    QCOMPARE(prompted, asked);
    QCOMPARE(p.FileName, target);
    QCOMPARE(p.FilterIndex, 11);
}

void TestCommonDialog::bareNameGoesToCurrentFolder()
{
    QTemporaryDir current;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(current.path()));

    QtCommonDialog dialog;
    dialog.props().FileName = "bare.iso";
    QString folder;
    OnModal<QFileDialog> driver([&](QFileDialog *d) {
        folder = d->directory().absolutePath();
        static_cast<QDialog *>(d)->accept(); // as the dialog's own button does
    });
    const bool shown = dialog.showSave();
    QDir::setCurrent(before);

    QVERIFY(shown);
    QCOMPARE(folder, QDir(current.path()).absolutePath());
    QCOMPARE(dialog.props().FileName, QDir(current.path()).absoluteFilePath("bare.iso"));
    QCOMPARE(dialog.props().FileTitle, QString("bare.iso"));
    QCOMPARE(dialog.props().FilterIndex, 0); // no filter: left as it was
}

void TestCommonDialog::fontRoundTrip()
{
    QString family;
    for (const QString &f : QFontDatabase::families())
        if (family.isEmpty() && QFontDatabase::styles(f).contains("Bold") && QFontDatabase::styles(f).contains("Italic"))
            family = f;
    if (family.isEmpty())
        QSKIP("no font with bold and italic styles installed");
    QtCommonDialog dialog;
    auto &p = dialog.props();
    p.FontName = family;
    p.FontSize = 12;
    p.FontBold = true;
    p.Color = Qt::red;

    QFont shown;
    OnModal<QFontDialog> driver([&](QFontDialog *d) {
        shown = d->currentFont();
        QFont chosen = shown;
        chosen.setStyleName(QString()); // the style comes from the flags below
        chosen.setPointSize(14);
        chosen.setBold(false);
        chosen.setItalic(true);
        chosen.setUnderline(true);
        chosen.setStrikeOut(true);
        d->setCurrentFont(chosen);
        static_cast<QDialog *>(d)->accept(); // as the dialog's own button does
    });
    QVERIFY(dialog.showFont());
    QVERIFY(driver.ran());
    QCOMPARE(shown.family(), family);
    QCOMPARE(shown.pointSize(), 12);
    QVERIFY(shown.bold());
    QCOMPARE(p.FontName, family);
    QCOMPARE(p.FontSize, 14.0);
    QVERIFY(!p.FontBold);
    QVERIFY(p.FontItalic);
    QVERIFY(p.FontUnderline);
    QVERIFY(p.FontStrikethru);
    QCOMPARE(p.Color, QColor(Qt::red)); // the font dialog has no colour
}

// The selection range comes in through flag 1, the copies through Copies; the printer
// is handed back with a copy count of 1, one job per copy being the caller's business.
void TestCommonDialog::printDialogCopiesAndRange()
{
    QPrinter printer;
    QtCommonDialog dialog;
    dialog.setPrinter(&printer);
    auto &p = dialog.props();
    p.Flags = platform::cdl::PrintHidePrintToFile | platform::cdl::PrintSelection;
    p.Copies = 3;
    p.CancelError = true;

    int rangeShown = -1;
    bool printToFileOffered = true;
    OnModal<QPrintDialog> driver([&](QPrintDialog *d) {
        rangeShown = d->printRange();
        printToFileOffered = d->testOption(QAbstractPrintDialog::PrintToFile);
        static_cast<QDialog *>(d)->accept(); // as the dialog's own button does
    });
    QVERIFY(dialog.showPrinter());
    QVERIFY(driver.ran());
    QCOMPARE(rangeShown, int(QAbstractPrintDialog::Selection));
    QVERIFY(!printToFileOffered);
    QCOMPARE(p.Copies, 3);
    QVERIFY(p.Flags & platform::cdl::PrintSelection);
    QCOMPARE(printer.copyCount(), 1);

    OnModal<QPrintDialog> cancel([](QPrintDialog *d) { d->reject(); });
    QVERIFY(!dialog.showPrinter());
    QVERIFY(cancel.ran());
}

void TestCommonDialog::help_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("search");
    QTest::newRow("3 contents") << 3 << false;
    QTest::newRow("261 keyword search") << 261 << true;
}

void TestCommonDialog::help()
{
    QFETCH(int, command);
    QFETCH(bool, search);
    testsupport::FakeHelpViewer viewer;
    QtCommonDialog dialog(nullptr, &viewer);
    dialog.props().HelpFile = "/opt/tarmel/Tarmel.HLP";
    dialog.props().HelpCommand = command;

    QVERIFY(dialog.showHelp());
    QCOMPARE(viewer.calls.size(), 1);
    QCOMPARE(viewer.calls[0].search, search);
    QCOMPARE(viewer.calls[0].helpFile, QString("/opt/tarmel/Tarmel.HLP"));
    QVERIFY(viewer.calls[0].keyword.isEmpty());

    viewer.result = false;
    QVERIFY(!dialog.showHelp());
}

void TestCommonDialog::helpWithoutViewerFails()
{
    QtCommonDialog dialog;
    dialog.props().HelpCommand = 3;
    QVERIFY(!dialog.showHelp());
}

QTEST_MAIN(TestCommonDialog)
#include "tst_commondialog.moc"
