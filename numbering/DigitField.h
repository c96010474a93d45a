#pragma once
// The one-line number fields of the numbering panels: light green, limited length, and a key filter
// that lets only the digits and Backspace reach the field.
//
// The length limit binds what the user types or pastes, not what the program writes: the panels show
// numbers longer than the limit (a next number of 100010 in a five-character field) in full.
// QLineEdit::maxLength would cut such a number when it is written, so the limit is kept by the key
// filter (typing) and a validator (paste), and maxLength stays unlimited.

#include <QObject>
#include <QString>

class QLineEdit;
class QWidget;

namespace tarmel {

// Discards every typed character other than "0" to "9" and Backspace before it reaches the field.
// Keys that type nothing (arrows, Delete, Home, Tab) and shortcuts (Ctrl+V) are left alone, so a
// paste still reaches the field and its change handler.
// A digit that would make the text longer than maxLength is discarded as well.
class DigitKeyFilter : public QObject {
    Q_OBJECT
public:
    DigitKeyFilter(QLineEdit *field, int maxLength);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *field_;
    int maxLength_;
};

// With pastedDigitsOnly, pasted text must be digits too (typing always is).
QLineEdit *makeDigitField(QWidget *parent, const QString &name, const QString &accessibleName, int maxLength,
                          bool pastedDigitsOnly = false);
// The limit a field made by makeDigitField keeps on what the user types or pastes.
int digitFieldMaxLength(const QLineEdit *field);

} // namespace tarmel

class QGroupBox;
class QRadioButton;

namespace tarmel {

// The "Début de ligne " group that both numbering panels hold: "Nxxxx" (checked) beside "xxxx".
struct NumberFormGroup {
    QGroupBox *frame = nullptr;
    QRadioButton *withN = nullptr;
    QRadioButton *digitsOnly = nullptr;
};
NumberFormGroup makeNumberFormGroup(QWidget *parent, const QString &frameName, const QString &withNName,
                                    const QString &digitsOnlyName);

} // namespace tarmel
