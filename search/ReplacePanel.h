#pragma once
// The controls of a document window's replace panel (Frame2). The panel is Searching ("&Suivant"
// and "&Annuler" shown) or Offering an occurrence ("Remp&lacer" and "&Sauter" shown).

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

class ReplacePanel : public QWidget {
    Q_OBJECT
public:
    // Builds the controls inside frame (the document's Frame2) and sizes the frame to hold them.
    ReplacePanel(AppContext &app, SearchCommands &commands, Form1 &doc, QGroupBox *frame);
    static ReplacePanel *of(const Form1 *doc);

    QLabel *Label2 = nullptr;
    QLineEdit *Text3 = nullptr;       // the string to find
    QLabel *Label3 = nullptr;
    QLineEdit *Text4 = nullptr;       // the replacement
    QLabel *Label7 = nullptr;
    QCheckBox *Check3 = nullptr;      // whole word
    QCheckBox *Check2 = nullptr;      // case-sensitive
    QGroupBox *Frame5 = nullptr;
    QRadioButton *Option3 = nullptr;  // upwards
    QRadioButton *Option4 = nullptr;  // downwards
    QPushButton *Command4 = nullptr;  // next
    QPushButton *Command5 = nullptr;  // close
    QPushButton *Command2 = nullptr;  // replace the offered occurrence
    QPushButton *Command8 = nullptr;  // skip it
    QPushButton *replaceAllButton = nullptr;

    // The steps of the opening that belong to the panel, after "&Suivant" was disabled and the
    // snapshot taken: focus, and the selection as the string to find.
    void open();
    void setNextEnabled(bool on);
    bool offering() const;
    void offer();          // Offering
    void showSearching();  // Searching
    // Escape: "&Sauter" while an occurrence is offered, else the closing button.
    void escape();

    void Text3_Change(); // both boxes follow one rule
    void Text4_Change() { Text3_Change(); }
    void Check2_Click();
    void Option3_Click();
    void Option4_Click();
    void Command4_Click();
    void Command2_Click();
    void Command8_Click();
    void Command5_Click();
    void replaceAllButton_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void layOut();
    void takeBoxes(); // the boxes and "Mot entier" into the shared state

    AppContext &app_;
    SearchCommands &commands_;
    Form1 &doc_;
    QGroupBox *frame_;
};

} // namespace tarmel
