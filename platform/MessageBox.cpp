#include "platform/MessageBox.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace platform {

namespace {

// A QMessageBox that only its buttons can answer when it has neither OK nor Cancel.
// Left to itself, QMessageBox makes No the escape button of a Yes/No box, so Escape
// or the title-bar close button would answer No without the user choosing it.
class AnswerOnlyBox final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    void setDismissable(bool on) { dismissable_ = on; }

protected:
    void keyPressEvent(QKeyEvent *e) override
    {
        if (!dismissable_ && e->matches(QKeySequence::Cancel)) {
            e->accept();
            return;
        }
        QMessageBox::keyPressEvent(e);
    }
    void closeEvent(QCloseEvent *e) override
    {
        if (!dismissable_) {
            e->ignore();
            return;
        }
        QMessageBox::closeEvent(e);
    }

public:
    void reject() override
    {
        if (dismissable_)
            QMessageBox::reject();
    }

private:
    bool dismissable_ = true;
};

QMessageBox::Icon iconOf(int flags)
{
    switch (flags & 0x70) {
    case mb::Critical: return QMessageBox::Critical;
    case mb::Question: return QMessageBox::Question;
    case mb::Exclamation: return QMessageBox::Warning;
    case mb::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

QString QtMessageBox::displayText(const QString &text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

int QtMessageBox::show(const QString &text, int flags, const QString &title)
{
    AnswerOnlyBox box(parent_);
    box.setWindowTitle(title.isEmpty() ? QCoreApplication::applicationName() : title);
    box.setTextFormat(Qt::PlainText);
    box.setText(displayText(text));
    box.setIcon(iconOf(flags));

    // Only the two button sets the program uses: Yes/No (4) and OK (everything else).
    QList<QPushButton *> buttons;
    const bool yesNo = (flags & 0x0F) == mb::YesNo;
    if (yesNo) {
        buttons << box.addButton(QMessageBox::Yes) << box.addButton(QMessageBox::No);
        buttons[0]->setText(QStringLiteral("&Oui"));
        buttons[1]->setText(QStringLiteral("&Non"));
    } else {
        buttons << box.addButton(QMessageBox::Ok);
        buttons[0]->setText(QStringLiteral("OK"));
    }
    const int defaultRow = ((flags & mb::DefaultButton2) && buttons.size() > 1) ? 1 : 0;
    box.setDefaultButton(buttons[defaultRow]);
    box.setDismissable(!yesNo);

    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes: return mb::AnswerYes;
    case QMessageBox::No: return mb::AnswerNo;
    default: return mb::AnswerOk;
    }
}

} // namespace platform
