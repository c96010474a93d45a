#include "platform/CommonDialog.h"
#include "platform/FontDialog.h"
#include "platform/HelpViewer.h"
#include "platform/PrinterSetupDialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace platform {

namespace {

// "*.iso;*.ISO" -> "*.iso *.ISO"; "*.*" means every file, which on this platform is "*"
// (a name without a dot does not match "*.*").
QString qtPatternList(const QString &patterns)
{
    QStringList out;
    for (QString p : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        p = p.trimmed();
        if (p.isEmpty())
            continue;
        if (p == QLatin1String("*.*"))
            p = QStringLiteral("*");
        if (!out.contains(p))
            out << p;
    }
    return out.isEmpty() ? QStringLiteral("*") : out.join(QLatin1Char(' '));
}

// The row the user left selected in the file-type list.
int chosenFilterRow(const QFileDialog &dialog, const QStringList &filters)
{
    if (const auto *combo = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo")))
        if (combo->currentIndex() >= 0 && combo->currentIndex() < filters.size())
            return combo->currentIndex();
    return std::max<int>(0, filters.indexOf(dialog.selectedNameFilter()));
}

// Qt's print dialog, its PDF entry in the program's words. The entry is added as the dialog
// shows, so it is named then.
class PrintDialog final : public QPrintDialog {
public:
    using QPrintDialog::QPrintDialog;
    void setVisible(bool visible) override
    {
        QPrintDialog::setVisible(visible);
        if (!visible)
            return;
        const QString qtName = QPrintDialog::tr("Print to File (PDF)");
        for (QComboBox *combo : findChildren<QComboBox *>()) {
            const int row = combo->findText(qtName);
            if (row >= 0)
                combo->setItemText(row, PrinterSetupDialog::pdfEntry());
        }
    }
};

} // namespace

QStringList qtNameFilters(const QString &filter)
{
    QStringList out;
    const QStringList parts = filter.split(QLatin1Char('|'));
    if (filter.isEmpty())
        return out;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString label = parts.at(i).trimmed();
        const QString patterns = i + 1 < parts.size() ? parts.at(i + 1) : QString();
        if (label.isEmpty() && patterns.trimmed().isEmpty())
            continue;
        const QString list = qtPatternList(patterns);
        out << (label.isEmpty() ? list : label) + QStringLiteral(" (") + list + QLatin1Char(')');
    }
    return out;
}

int filterRowForIndex(int filterIndex, int filterCount)
{
    if (filterIndex < 1 || filterIndex > filterCount)
        return 0;
    return filterIndex - 1;
}

bool QtCommonDialog::showOpen() { return showFile(false); }
bool QtCommonDialog::showSave() { return showFile(true); }

bool QtCommonDialog::showFile(bool save)
{
    QFileDialog dialog(parent_, props_.DialogTitle);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save && !(props_.Flags & cdl::OverwritePrompt))
        dialog.setOption(QFileDialog::DontConfirmOverwrite);

    const QStringList filters = qtNameFilters(props_.Filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.at(filterRowForIndex(props_.FilterIndex, int(filters.size()))));
    }

    // The preset name: a folder and a name, or a bare name in the current folder.
    if (props_.FileName.isEmpty()) {
        dialog.setDirectory(QDir::currentPath());
    } else {
        const QFileInfo preset(QDir::current(), props_.FileName);
        if (preset.isDir()) {
            dialog.setDirectory(preset.absoluteFilePath());
        } else {
            dialog.setDirectory(preset.absolutePath());
            dialog.selectFile(preset.fileName());
        }
    }

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return !props_.CancelError;

    const QString chosen = dialog.selectedFiles().constFirst();
    props_.FileName = chosen;
    props_.FileTitle = QFileInfo(chosen).fileName();
    if (!filters.isEmpty())
        props_.FilterIndex = chosenFilterRow(dialog, filters) + 1;
    return true;
}

bool QtCommonDialog::showPrinter()
{
    if (printer_)
        return showPrint(*printer_);
    QPrinter own;
    return showPrint(own);
}

bool QtCommonDialog::showPrint(QPrinter &printer)
{
    if (props_.Flags & cdl::PrintSetup) {
        PrinterSetupDialog dialog(printer, parent_);
        return dialog.exec() == QDialog::Accepted || !props_.CancelError;
    }

    printer.setCopyCount(std::max(1, props_.Copies));
    PrintDialog dialog(&printer, parent_);
    dialog.setWindowTitle(QStringLiteral("Imprimer"));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
    // The hide-print-to-file flag hides a box that sends the printer's own data to a file;
    // printing into a PDF file is one of the printers here and stays offered.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setPrintRange((props_.Flags & cdl::PrintSelection) ? QAbstractPrintDialog::Selection
                                                              : QAbstractPrintDialog::AllPages);
    if (dialog.exec() != QDialog::Accepted)
        return !props_.CancelError;

    props_.Copies = printer.copyCount();
    if (dialog.printRange() == QAbstractPrintDialog::Selection)
        props_.Flags |= cdl::PrintSelection;
    else
        props_.Flags &= ~cdl::PrintSelection;
    // One job per copy: a copy count left on the printer would multiply every job.
    printer.setCopyCount(1);
    return true;
}

// QFontDialog offers no colour: Color is left as the caller set it.
bool QtCommonDialog::showFont()
{
    QFont initial;
    if (!props_.FontName.isEmpty())
        initial.setFamily(props_.FontName);
    if (props_.FontSize > 0)
        initial.setPointSizeF(props_.FontSize);
    initial.setBold(props_.FontBold);
    initial.setItalic(props_.FontItalic);
    initial.setUnderline(props_.FontUnderline);
    initial.setStrikeOut(props_.FontStrikethru);

    FontDialog dialog(initial, props_.Color, parent_);
    if (dialog.exec() != QDialog::Accepted)
        return !props_.CancelError;

    const QFont chosen = dialog.selectedFont();
    props_.Color = dialog.selectedColor();
    props_.FontName = chosen.family();
    if (chosen.pointSizeF() > 0)
        props_.FontSize = chosen.pointSizeF();
    props_.FontBold = chosen.bold();
    props_.FontItalic = chosen.italic();
    props_.FontUnderline = chosen.underline();
    props_.FontStrikethru = chosen.strikeOut();
    return true;
}

bool QtCommonDialog::showHelp()
{
    if (!help_)
        return false;
    if (props_.HelpCommand == cdl::HelpPartialKey)
        return help_->showSearch(props_.HelpFile, QString());
    return help_->showContents(props_.HelpFile);
}

} // namespace platform
