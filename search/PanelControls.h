#pragma once
// Controls the find and replace panels share: the coloured text boxes, the two check boxes
// under their heading and the direction group.

#include <QColor>
#include <QString>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace tarmel {

// A one-line box on a pale background, named after its label for screen readers.
QLineEdit *makeTextBox(QWidget *parent, const QString &name, const QString &accessibleName, const QColor &background);
inline QColor searchBoxColor() { return {192, 255, 192}; }
inline QColor replacementBoxColor() { return {192, 255, 255}; }

// "Différencier" over "Mot entier" and "Majuscule / Minuscule", both unchecked.
struct CaseOptions {
    QLabel *heading = nullptr;
    QCheckBox *wholeWord = nullptr;
    QCheckBox *matchCase = nullptr;
};
CaseOptions makeCaseOptions(QWidget *parent, const QString &headingName, const QString &wholeWordName,
                            const QString &matchCaseName);

// "&Haut" beside "&Bas" (selected) in a group with its caption.
struct DirectionGroup {
    QGroupBox *frame = nullptr;
    QRadioButton *up = nullptr;
    QRadioButton *down = nullptr;
};
DirectionGroup makeDirectionGroup(QWidget *parent, const QString &caption, const QString &frameName,
                                  const QString &upName, const QString &downName);

} // namespace tarmel
