#pragma once
// The preferences dialog: association groups, toolbar, windows, font and print header.

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace tarmel {

class AppContext;

class FrmPref : public QDialog {
    Q_OBJECT
public:
    explicit FrmPref(AppContext &app, QWidget *parent = nullptr);

    // Fills the controls from the settings store and the configuration values.
    void Form_Load();
    void Command1_Click(); // "&Annuler"
    void Command2_Click(); // "A&ppliquer"

    QTabWidget *SSTab1;
    QCheckBox *Check1, *Check2, *Check3, *Check4, *Check7, *Check8; // association groups
    QCheckBox *Check5; // windows maximised
    QCheckBox *Check6; // toolbar hidden
    QComboBox *ComboFont;
    QComboBox *ComboSize;
    std::array<QRadioButton *, 3> Option1;
    QPushButton *Command1;
    QPushButton *Command2;

    // The association check boxes in the order of the groups: TXT, ISO, JAU, RTF, H, CNC.
    std::array<QCheckBox *, 6> associationBoxes() const { return {Check1, Check2, Check3, Check4, Check7, Check8}; }

private:
    QWidget *buildAssociationsTab();
    QWidget *buildToolbarTab();
    QWidget *buildWindowsTab();
    QWidget *buildFontTab();
    QWidget *buildPrintTab();
    void storeAssociations();
    void applyAssociations();
    void takeValues();
    bool writeConfiguration();

    AppContext &app_;
};

} // namespace tarmel
