#pragma once
// The controls of a document window's renumbering panel (Frame3) and the run they start.

#include "numbering/Renumber.h"

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace tarmel {

class AppContext;
class Form1;

class RenumberPanel : public QWidget {
    Q_OBJECT
public:
    // Builds the controls inside frame (the document's Frame3) and sizes the frame to hold them.
    RenumberPanel(AppContext &app, Form1 &doc, QGroupBox *frame);
    static RenumberPanel *of(const Form1 *doc); // the panel in the document's Frame3

    QLabel *Label4 = nullptr;
    QLineEdit *Text5 = nullptr;          // the step
    QLabel *startNumberLabel = nullptr;
    QLineEdit *startNumber = nullptr;    // first number given; empty: the step
    QGroupBox *Frame7 = nullptr;
    QRadioButton *Option5 = nullptr;     // "Nxxxx"
    QRadioButton *Option6 = nullptr;     // "xxxx"
    QCheckBox *selectionOnly = nullptr;
    QCheckBox *updateJumps = nullptr;
    QPushButton *Command6 = nullptr;     // start
    QPushButton *Command7 = nullptr;     // close
    QProgressBar *ProgressBar1 = nullptr;

    // Steps of the opening that belong to the panel: progress bar hidden, the step shown.
    void showStep();

    numbering::NumberForm form() const;

    // The renumbering run on this panel's document.
    void renumerote2();
    // Counts the lines of the document's text into NbLignes (the same line ends as the run uses).
    void CalculeLigne2();
    qint64 NbLignes = 0;

    void Text5_Change();
    void Command6_Click();
    void Command7_Click();

private:
    void createControls();
    void layOut();
    numbering::RenumberOptions options() const;
    void showProgress(qint64 done, qint64 total);

    AppContext &app_;
    Form1 &doc_;
    QGroupBox *frame_;
    bool settingStep_ = false;
};

} // namespace tarmel
