#pragma once
#include <QColor>
#include <QString>

class QPrinter;
class QWidget;

namespace platform {

// One shared dialog whose properties persist between commands: a command finds
// the values the previous command left. Filter text is "label|pattern|label|pattern…",
// FilterIndex is 1-based. While CancelError is true, Cancel makes show*() return false
// (the caller treats it as a failure); while it is false, Cancel returns true and
// leaves the properties as they were.
struct DialogProperties {
    QString FileName;
    QString FileTitle;
    QString DialogTitle;
    QString Filter;
    int FilterIndex = 0;
    qint32 Flags = 0;
    bool CancelError = false;
    int Copies = 1;
    QString FontName;
    double FontSize = 0;
    bool FontBold = false;
    bool FontItalic = false;
    bool FontStrikethru = false;
    bool FontUnderline = false;
    QColor Color;
    QString HelpFile;
    int HelpCommand = 0;
};

namespace cdl {
constexpr qint32 OverwritePrompt = 2;          // save: ask before overwriting
constexpr qint32 PrintSelection = 1;           // print: selection range chosen
constexpr qint32 PrintSetup = 64;              // print: printer set-up dialog
constexpr qint32 PrintHidePrintToFile = 1048576;
constexpr int HelpContents = 3;
constexpr int HelpPartialKey = 261;
}

class CommonDialog {
public:
    virtual ~CommonDialog() = default;
    DialogProperties &props() { return props_; }
    const DialogProperties &props() const { return props_; }

    // Each returns false when the show ended in a failure (Cancel with CancelError on,
    // or the dialog could not be shown).
    virtual bool showOpen() = 0;
    virtual bool showSave() = 0;
    virtual bool showPrinter() = 0;
    virtual bool showFont() = 0;
    virtual bool showHelp() = 0;

protected:
    DialogProperties props_;
};

class HelpViewer;

class QtCommonDialog final : public CommonDialog {
public:
    explicit QtCommonDialog(QWidget *parent = nullptr, HelpViewer *help = nullptr)
        : parent_(parent), help_(help) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    void setHelpViewer(HelpViewer *help) { help_ = help; }
    // The printer that the print and set-up dialogs configure (not owned). Without one,
    // the dialogs work on a printer of their own and only Copies and Flags come back.
    // After the print dialog its copy count is 1: Copies says how many jobs to print.
    void setPrinter(QPrinter *printer) { printer_ = printer; }
    // Open and save use Qt's own file dialog (never the desktop's), so that the filter
    // labels, the preset name and the overwrite question behave the same everywhere.
    bool showOpen() override;
    bool showSave() override;
    bool showPrinter() override;
    // Font, size, the four style flags and a colour (FontDialog).
    bool showFont() override;
    // HelpCommand 261 opens the keyword search (empty keyword), anything else the
    // contents. False without a help viewer.
    bool showHelp() override;

private:
    bool showFile(bool save);
    bool showPrint(QPrinter &printer);
    QWidget *parent_;
    HelpViewer *help_;
    QPrinter *printer_ = nullptr;
};

// Filter text "label|pattern|…" as the pairs a file dialog shows ("label" with the
// pattern list Qt reads, "*.*" meaning every file).
// The file dialog shows each label as written; the pattern list Qt reads is appended in
// parentheses and hidden (QFileDialog::HideNameFilterDetails).
QStringList qtNameFilters(const QString &filter);

// 0-based row of the filter that FilterIndex (1-based) preselects among filterCount
// filters: 0 or an index out of range preselects the first.
int filterRowForIndex(int filterIndex, int filterCount);

} // namespace platform
