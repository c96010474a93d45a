#pragma once
// The about box: the program's picture, its name and version, an owner line and contacts.

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

namespace tarmel {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    QLabel *Image1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Etiquette1 = nullptr;
    QLabel *Etiquette2 = nullptr; // the version, then the owner line
    QGroupBox *fraAbout = nullptr;
    QLabel *Label2 = nullptr;     // "E-Mail :"
    QLabel *Label3 = nullptr;     // its value
    QLabel *Label4 = nullptr;     // "URL :"
    QLabel *Label5 = nullptr;     // its value
    QPushButton *cmdAbout = nullptr;

private:
    void cmdAbout_Click();
};

} // namespace tarmel
