#pragma once
// The printer: prints the lines of each copy in one font, one job per copy on a printer of
// the system, all copies in one document when the output is a PDF file; shows the same
// pages in a print preview. The print and set-up dialogs are the common dialog's; they
// configure the printer that device() gives.

#include <QList>
#include <QString>
#include <QStringList>

class QPainter;
class QPrinter;
class QWidget;

namespace platform {

struct PrintFont {
    QString name;
    double size = 0; // points; 0: the printer's default size
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

struct PrintDocument {
    QString title;             // the job's name
    QList<QStringList> copies; // the lines of each copy, as the printer receives them
    PrintFont font;
    int tabWidth = 8;          // columns of the editing area's tabs
};

struct PrintOutcome {
    bool ok = true;
    QString reason; // why it failed, for the user
};

class Printer {
public:
    virtual ~Printer() = default;
    virtual PrintOutcome print(const PrintDocument &document) = 0;
    // Modal; the user may print from it. A failure to print from it is reported as well.
    virtual PrintOutcome preview(const PrintDocument &document) = 0;
};

// On a QPrinter of its own, kept for the whole session so that the choices made in the
// dialogs stay for the next print. Pages have 15 mm margins; long lines wrap.
class QtPrinter final : public Printer {
public:
    QtPrinter();
    ~QtPrinter() override;
    void setParent(QWidget *parent) { parent_ = parent; }
    QPrinter *device() { return printer_; }

    PrintOutcome print(const PrintDocument &document) override;
    PrintOutcome preview(const PrintDocument &document) override;

    // Draws the copies on a printer already started, each copy from a new page.
    // False when a new page cannot be started.
    static bool drawCopies(QPainter &painter, QPrinter &printer, const PrintDocument &document,
                           const QList<QStringList> &copies);

private:
    PrintOutcome printCopies(const PrintDocument &document, const QList<QStringList> &copies);
    QPrinter *printer_;
    QWidget *parent_ = nullptr;
};

} // namespace platform
