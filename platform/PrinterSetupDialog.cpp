#include "platform/PrinterSetupDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace platform {

namespace {

// The paper sizes offered for a PDF file, or for a printer that names none.
constexpr QPageSize::PageSizeId kCommonSizes[] = {QPageSize::A4, QPageSize::A3, QPageSize::A5,
                                                  QPageSize::Letter, QPageSize::Legal};

} // namespace

PrinterSetupDialog::PrinterSetupDialog(QPrinter &printer, QWidget *parent) : QDialog(parent), printer_(printer)
{
    setObjectName(QStringLiteral("PrinterSetupDialog"));
    setWindowTitle(QStringLiteral("Configuration de l'impression"));

    printers_ = new QComboBox(this);
    printers_->setObjectName(QStringLiteral("printers"));
    printers_->addItems(QPrinterInfo::availablePrinterNames());
    printers_->addItem(pdfEntry());
    file_ = new QLineEdit(this);
    file_->setObjectName(QStringLiteral("file"));
    file_->setAccessibleName(QStringLiteral("Fichier :"));
    file_->setMinimumWidth(file_->fontMetrics().averageCharWidth() * 40);
    browse_ = new QPushButton(QStringLiteral("&Parcourir..."), this);
    paper_ = new QComboBox(this);
    paper_->setObjectName(QStringLiteral("paper"));

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(file_, 1);
    fileRow->addWidget(browse_);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Imprimante :"), printers_);
    auto *fileLabel = new QLabel(QStringLiteral("&Fichier :"), this);
    fileLabel->setBuddy(file_);
    form->addRow(fileLabel, fileRow);
    form->addRow(QStringLiteral("&Papier :"), paper_);

    auto *orientationBox = new QGroupBox(QStringLiteral("Orientation"), this);
    auto *portrait = new QRadioButton(QStringLiteral("P&ortrait"), orientationBox);
    auto *landscape = new QRadioButton(QStringLiteral("Pa&ysage"), orientationBox);
    portrait->setObjectName(QStringLiteral("portrait"));
    landscape->setObjectName(QStringLiteral("landscape"));
    orientation_ = new QButtonGroup(this);
    orientation_->addButton(portrait, QPageLayout::Portrait);
    orientation_->addButton(landscape, QPageLayout::Landscape);
    auto *orientationRow = new QHBoxLayout(orientationBox);
    orientationRow->addWidget(portrait);
    orientationRow->addWidget(landscape);
    orientationRow->addStretch();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annuler"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(orientationBox);
    layout->addWidget(buttons);

    // What the printer holds now is what the dialog shows.
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        printers_->setCurrentIndex(printers_->count() - 1);
        file_->setText(printer.outputFileName().isEmpty() ? QDir::home().filePath(QStringLiteral("programme.pdf"))
                                                          : printer.outputFileName());
    } else {
        printers_->setCurrentIndex(std::max(0, printers_->findText(printer.printerName())));
        file_->setText(QDir::home().filePath(QStringLiteral("programme.pdf")));
    }
    orientation_->button(printer.pageLayout().orientation())->setChecked(true);
    showPrinterChoice();

    connect(printers_, &QComboBox::currentIndexChanged, this, &PrinterSetupDialog::showPrinterChoice);
    connect(browse_, &QPushButton::clicked, this, &PrinterSetupDialog::browse);
    connect(buttons, &QDialogButtonBox::accepted, this, &PrinterSetupDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PrinterSetupDialog::reject);
}

bool PrinterSetupDialog::pdfChosen() const
{
    return printers_->currentIndex() == printers_->count() - 1;
}

void PrinterSetupDialog::showPrinterChoice()
{
    file_->setEnabled(pdfChosen());
    browse_->setEnabled(pdfChosen());
    fillPaperSizes();
}

// The chosen printer's paper sizes (the common ones for a file), the current size kept when
// the printer has it.
void PrinterSetupDialog::fillPaperSizes()
{
    const QPageSize current = paper_->count() > 0 ? paper_->currentData().value<QPageSize>()
                                                  : printer_.pageLayout().pageSize();
    QList<QPageSize> sizes;
    if (!pdfChosen())
        sizes = QPrinterInfo::printerInfo(printers_->currentText()).supportedPageSizes();
    if (sizes.isEmpty())
        for (QPageSize::PageSizeId id : kCommonSizes)
            sizes << QPageSize(id);
    if (!std::any_of(sizes.begin(), sizes.end(), [&](const QPageSize &s) { return s.isEquivalentTo(current); }))
        sizes.prepend(current);
    paper_->clear();
    for (const QPageSize &size : sizes) {
        paper_->addItem(size.name(), QVariant::fromValue(size));
        if (size.isEquivalentTo(current))
            paper_->setCurrentIndex(paper_->count() - 1);
    }
}

void PrinterSetupDialog::browse()
{
    const QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("Imprimer dans un fichier PDF"),
                                                        file_->text(), QStringLiteral("PDF (*.pdf)"), nullptr,
                                                        QFileDialog::DontUseNativeDialog);
    if (!chosen.isEmpty())
        file_->setText(chosen);
}

void PrinterSetupDialog::accept()
{
    if (pdfChosen()) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(file_->text().trimmed());
    } else {
        printer_.setOutputFormat(QPrinter::NativeFormat);
        printer_.setPrinterName(printers_->currentText());
    }
    printer_.setPageSize(paper_->currentData().value<QPageSize>());
    printer_.setPageOrientation(QPageLayout::Orientation(orientation_->checkedId()));
    QDialog::accept();
}

} // namespace platform
