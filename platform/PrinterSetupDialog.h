#pragma once
// The printer set-up dialog: the printer (the system's printers, or a PDF file), the paper
// and the orientation, applied to the printer given when the user confirms.

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPrinter;
class QPushButton;

namespace platform {

class PrinterSetupDialog : public QDialog {
    Q_OBJECT
public:
    explicit PrinterSetupDialog(QPrinter &printer, QWidget *parent = nullptr);

    static QString pdfEntry() { return QStringLiteral("Imprimer dans un fichier PDF"); }

    void accept() override;

private:
    void showPrinterChoice();
    void fillPaperSizes();
    void browse();
    bool pdfChosen() const;

    QPrinter &printer_;
    QComboBox *printers_;
    QLineEdit *file_;
    QPushButton *browse_;
    QComboBox *paper_;
    QButtonGroup *orientation_;
};

} // namespace platform
