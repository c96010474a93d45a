#pragma once
#include <QString>
#include <QWidget>

class QGroupBox;
class QLabel;
class QTimer;

namespace platform {
class RichTextBox;
struct KeyEventArgs;
struct MouseEventArgs;
}

namespace tarmel {

class MDIForm1;
class StatusBar1Widget;
class RenumberPanel;
class AutoNumberPanel;

// A document window: the editing area Text1, its status bar, four tool panels (hidden
// until a command opens one) and the three public fields the commands share.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(MDIForm1 &main, QWidget *parent = nullptr);
    ~Form1() override;

    // Public fields
    bool Change = false;      // modified since created, loaded or saved
    QString RedoText;         // the undo snapshot
    bool AnnulRedo = false;   // a snapshot is waiting

    // How the text was loaded and is saved: 1 plain text, 0 rich text.
    int FileType = 1;

    platform::RichTextBox *Text1 = nullptr;
    StatusBar1Widget *StatusBar1 = nullptr;
    QGroupBox *Frame1 = nullptr; // find
    QGroupBox *Frame2 = nullptr; // replace
    QGroupBox *Frame3 = nullptr; // renumbering
    QGroupBox *Frame6 = nullptr; // automatic numbering
    QTimer *Timer1 = nullptr;
    RenumberPanel *renumberPanel = nullptr;     // the controls of Frame3
    AutoNumberPanel *autoNumberPanel = nullptr; // the controls of Frame6

    QSize sizeHint() const override { return {747, 442}; } // the window's inner area as designed
    QString caption() const;
    void setCaption(const QString &caption);
    void hidePanels();
    bool anyPanelVisible() const;
    bool isClosed() const { return closed_; } // its close request has run and accepted

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
    // Renumbering of the whole text (or the selection) with the settings of the Frame3 panel, and the
    // line count it starts from.
    void renumerote2();
    void CalculeLigne2();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Text1_Change();
    void Text1_Click();
    void Text1_DblClick();
    void Text1_KeyPress(platform::KeyEventArgs &e);
    void Text1_MouseDown(const platform::MouseEventArgs &e);
    void Text1_MouseUp(const platform::MouseEventArgs &e);
    void Text1_OLEDragDrop();

    MDIForm1 &main_;
    QString caption_;
    bool closed_ = false;
};

} // namespace tarmel
