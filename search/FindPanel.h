#pragma once
// The controls of a document window's find panel (Frame1).

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tarmel {

class AppContext;
class Form1;
class SearchCommands;

class FindPanel : public QWidget {
    Q_OBJECT
public:
    // Builds the controls inside frame (the document's Frame1) and sizes the frame to hold them.
    FindPanel(AppContext &app, SearchCommands &commands, Form1 &doc, QGroupBox *frame);
    static FindPanel *of(const Form1 *doc);

    QLabel *Label1 = nullptr;
    QLineEdit *Text2 = nullptr;       // the string to find
    QLabel *Label8 = nullptr;
    QCheckBox *Check1 = nullptr;      // whole word
    QCheckBox *chkCase = nullptr;     // case-sensitive
    QGroupBox *Frame4 = nullptr;
    QRadioButton *Option1 = nullptr;  // upwards
    QRadioButton *Option2 = nullptr;  // downwards
    QPushButton *Command1 = nullptr;  // next
    QPushButton *Command3 = nullptr;  // close

    // The steps of the opening that belong to the panel: focus, and the selection as the string.
    void open();
    // Escape: what the closing button does.
    void escape();

    void Text2_Change();
    void chkCase_Click();
    void Option1_Click();
    void Option2_Click();
    void Command1_Click();
    void Command3_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void layOut();

    AppContext &app_;
    SearchCommands &commands_;
    Form1 &doc_;
    QGroupBox *frame_;
};

} // namespace tarmel
