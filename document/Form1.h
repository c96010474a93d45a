#pragma once
#include "files/TextCodec.h"

#include <QString>
#include <QWidget>

class QGroupBox;
class QTimer;

namespace platform {
class RichTextBox;
}

namespace tarmel {

class DocumentHost;
class StatusBar1Widget;

// A document window: the editing area Text1, its status bar, four tool panels (hidden
// until a command opens one; each feature builds its panel's controls into its frame) and
// the three public fields the commands share.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(DocumentHost &host, QWidget *parent = nullptr);
    ~Form1() override;

    // Public fields
    bool Change = false;      // modified since created, loaded or saved
    QByteArray RedoText;      // the undo snapshot: the whole text as UTF-8
    bool AnnulRedo = false;   // a snapshot is waiting

    FileType fileType = FileType::Plain;
    bool Loading = false;     // a file's text is going in: its changes are no edits

    platform::RichTextBox *Text1 = nullptr;
    StatusBar1Widget *StatusBar1 = nullptr;
    QGroupBox *Frame1 = nullptr; // find
    QGroupBox *Frame2 = nullptr; // replace
    QGroupBox *Frame3 = nullptr; // renumbering
    QGroupBox *Frame6 = nullptr; // automatic numbering
    QTimer *Timer1 = nullptr;

    QSize sizeHint() const override { return {747, 442}; } // the window's inner area as designed
    QString caption() const;
    void setCaption(const QString &caption);

    // A panel opens below the text, and closes by its own closing button.
    void showPanel(QGroupBox *frame);
    void closePanel(QGroupBox *frame);
    void hidePanels();
    bool anyPanelVisible() const;
    bool isClosed() const { return closed_; } // its close request has run and accepted
    // A feature's widget docked below the text and above the tool panels, at its own height
    // (the text gives way, down to nothing). Its owner shows and hides it and calls Form_Resize.
    void dockBelowText(QWidget *widget);
    QWidget *dockedBelowText() const { return dock_; }

    // A view docked at the right of the editing area (the toolpath), laid out with it while shown.
    void setSideView(QWidget *view) { sideView_ = view; }

    // Lays out the editing area and the visible panels above the status bar.
    void Form_Resize();
    // Shows the current time in panel 4 (and the date in panel 3).
    void Timer1_Timer();
    // Panel 2: the character count of the whole text.
    void showSize(qint64 count);
    // Panels showing how the file is stored (encoding, line ends).
    void showFileFormat();
    // Panels 5 to 7: Caps Lock, Num Lock, insert mode.
    void showKeyboardState();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DocumentHost &host_;
    QString caption_;
    bool closed_ = false;
    QWidget *dock_ = nullptr;
    QWidget *sideView_ = nullptr;
};

} // namespace tarmel
