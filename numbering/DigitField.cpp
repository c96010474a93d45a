#include "numbering/DigitField.h"

#include "numbering/NumberingTexts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <QValidator>

namespace tarmel {

namespace {

bool isDigitsOnly(const QString &text)
{
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// Refuses an edit that would make the text longer than the limit. Unless the field takes
// digits only, any character may be pasted (a pasted "-5" reaches the step field's rule,
// which answers it).
class LengthValidator : public QValidator {
public:
    LengthValidator(int maxLength, bool digitsOnly, QObject *parent)
        : QValidator(parent), maxLength_(maxLength), digitsOnly_(digitsOnly)
    {
    }
    State validate(QString &input, int &) const override
    {
        return input.size() > maxLength_ || (digitsOnly_ && !isDigitsOnly(input)) ? Invalid : Acceptable;
    }
    int maxLength() const { return maxLength_; }

private:
    int maxLength_;
    bool digitsOnly_;
};

} // namespace

DigitKeyFilter::DigitKeyFilter(QLineEdit *field, int maxLength)
    : QObject(field), field_(field), maxLength_(maxLength)
{
}

bool DigitKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier | Qt::AltModifier))
            return false;
        const QString text = key->text();
        if (text.isEmpty())
            return false;
        const QChar c = text.at(0);
        if (c == QChar(8) || c < QChar(0x20) || c == QChar(0x7f))
            return false; // Backspace, and keys such as Tab and Enter that type nothing into a field
        if (!isDigitsOnly(text))
            return true;
        return field_->text().size() - field_->selectedText().size() + text.size() > maxLength_;
    }
    if (event->type() == QEvent::InputMethod) {
        const auto *im = static_cast<QInputMethodEvent *>(event);
        return !isDigitsOnly(im->commitString());
    }
    return QObject::eventFilter(watched, event);
}

QLineEdit *makeDigitField(QWidget *parent, const QString &name, const QString &accessibleName, int maxLength,
                          bool pastedDigitsOnly)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setAccessibleName(accessibleName);
    field->setValidator(new LengthValidator(maxLength, pastedDigitsOnly, field));
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, QColor(192, 255, 192));
    palette.setColor(QPalette::Text, Qt::black);
    field->setPalette(palette);
    field->installEventFilter(new DigitKeyFilter(field, maxLength));
    return field;
}

int digitFieldMaxLength(const QLineEdit *field)
{
    const auto *v = dynamic_cast<const LengthValidator *>(field->validator());
    return v ? v->maxLength() : field->maxLength();
}

} // namespace tarmel

namespace tarmel {

NumberFormGroup makeNumberFormGroup(QWidget *parent, const QString &frameName, const QString &withNName,
                                    const QString &digitsOnlyName)
{
    namespace t = numbering::texts;
    NumberFormGroup g;
    g.frame = new QGroupBox(t::formFrame(), parent);
    g.frame->setObjectName(frameName);
    g.withN = new QRadioButton(t::formWithN(), g.frame);
    g.withN->setObjectName(withNName);
    g.withN->setToolTip(t::formWithNTip());
    g.withN->setChecked(true);
    g.digitsOnly = new QRadioButton(t::formDigitsOnly(), g.frame);
    g.digitsOnly->setObjectName(digitsOnlyName);
    g.digitsOnly->setToolTip(t::formDigitsOnlyTip());
    auto *forms = new QHBoxLayout(g.frame);
    forms->setContentsMargins(6, 0, 6, 2);
    forms->addWidget(g.withN);
    forms->addWidget(g.digitsOnly);
    return g;
}

} // namespace tarmel
