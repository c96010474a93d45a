#pragma once
// The controls of a document window's automatic-numbering panel (Frame6).

#include "numbering/Renumber.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tarmel {

class AppContext;
class Form1;

class AutoNumberPanel : public QWidget {
    Q_OBJECT
public:
    // Builds the controls inside frame (the document's Frame6) and sizes the frame to hold them.
    AutoNumberPanel(AppContext &app, Form1 &doc, QGroupBox *frame);
    static AutoNumberPanel *of(const Form1 *doc); // the panel in the document's Frame6

    QLabel *Label5 = nullptr;
    QLineEdit *Text6 = nullptr;       // next number
    QLabel *Label6 = nullptr;
    QLineEdit *Text7 = nullptr;       // increment
    QGroupBox *Frame8 = nullptr;
    QRadioButton *Option7 = nullptr;  // "Nxxxx"
    QRadioButton *Option8 = nullptr;  // "xxxx"
    QPushButton *Command10 = nullptr; // resume
    QPushButton *Command9 = nullptr;  // suspend
    QPushButton *Command11 = nullptr; // close

    // Steps of the opening that belong to the panel: buttons, numbering on, fields, focus.
    void start();

    // The form Enter inserts in this window.
    numbering::NumberForm form() const;

    void Text6_Change();
    void Text7_Change();
    void Command10_Click();
    void Command9_Click();
    void Command11_Click();

private:
    void createControls();
    void layOut();

    AppContext &app_;
    Form1 &doc_;
    QGroupBox *frame_;
};

} // namespace tarmel
