#include "numbering/AutoNumberPanel.h"

#include "app/AppContext.h"
#include "document/Form1.h"
#include "numbering/AutoNumbering.h"
#include "document/PanelFrame.h"
#include "numbering/DigitField.h"
#include "numbering/NumberingTexts.h"
#include "platform/RichTextBox.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tarmel {

AutoNumberPanel::AutoNumberPanel(AppContext &app, Form1 &doc, QGroupBox *frame)
    : QWidget(frame), app_(app), doc_(doc), frame_(frame)
{
    setObjectName(QStringLiteral("AutoNumberPanel"));
    createControls();
    layOut();
    fillFrame(frame, this);

    connect(Text6, &QLineEdit::textChanged, this, &AutoNumberPanel::Text6_Change);
    connect(Text7, &QLineEdit::textChanged, this, &AutoNumberPanel::Text7_Change);
    connect(Command10, &QPushButton::clicked, this, &AutoNumberPanel::Command10_Click);
    connect(Command9, &QPushButton::clicked, this, &AutoNumberPanel::Command9_Click);
    connect(Command11, &QPushButton::clicked, this, &AutoNumberPanel::Command11_Click);
}

AutoNumberPanel *AutoNumberPanel::of(const Form1 *doc)
{
    return doc->Frame6->findChild<AutoNumberPanel *>();
}

void AutoNumberPanel::createControls()
{
    namespace t = numbering::texts;
    Label5 = new QLabel(t::autoStartLabel(), this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Text6 = makeDigitField(this, QStringLiteral("Text6"), t::autoStartLabel(), 5);
    Text6->setFixedWidth(60);
    Label5->setBuddy(Text6);
    Label6 = new QLabel(t::autoIncrementLabel(), this);
    Label6->setObjectName(QStringLiteral("Label6"));
    Text7 = makeDigitField(this, QStringLiteral("Text7"), t::autoIncrementLabel(), 2);
    Text7->setFixedWidth(36);
    Label6->setBuddy(Text7);

    const NumberFormGroup forms =
        makeNumberFormGroup(this, QStringLiteral("Frame8"), QStringLiteral("Option7"), QStringLiteral("Option8"));
    Frame8 = forms.frame;
    Option7 = forms.withN;
    Option8 = forms.digitsOnly;

    Command10 = new QPushButton(t::autoNumberButton(), this);
    Command10->setObjectName(QStringLiteral("Command10"));
    Command9 = new QPushButton(t::autoSuspendButton(), this);
    Command9->setObjectName(QStringLiteral("Command9"));
    Command11 = new QPushButton(t::quitButton(), this);
    Command11->setObjectName(QStringLiteral("Command11"));
}

// Two rows: start over increment, the number form and the buttons beside them.
void AutoNumberPanel::layOut()
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 0, 6, 2);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    grid->addWidget(Label5, 0, 0);
    grid->addWidget(Text6, 0, 1);
    grid->addWidget(Label6, 1, 0);
    grid->addWidget(Text7, 1, 1);
    grid->addWidget(Frame8, 0, 3, 2, 1);
    grid->addWidget(Command10, 0, 4);
    grid->addWidget(Command9, 1, 4);
    grid->addWidget(Command11, 0, 5);
    grid->setColumnStretch(2, 1);
}

numbering::NumberForm AutoNumberPanel::form() const
{
    return Option8->isChecked() ? numbering::NumberForm::DigitsOnly : numbering::NumberForm::WithN;
}

void AutoNumberPanel::start()
{
    Command9->setEnabled(true);
    Command10->setEnabled(false);
    AppState &state = app_.state();
    state.NumAutoActif = 1;
    state.NumAutoSuivant = numbering::autoStartOnOpening(state.NumAutoSuivant);
    Text6->setText(QString::number(state.NumAutoSuivant));
    Text6_Change(); // the same text raises no change; the value is the state's either way
    state.NumAutoPas = numbering::autoIncrementOnOpening(state.NumAutoPas);
    Text7->setText(QString::number(state.NumAutoPas));
    Text7_Change();
    Text6->setFocus();
}

void AutoNumberPanel::Text6_Change()
{
    app_.state().NumAutoSuivant = numbering::autoStartFieldValue(Text6->text());
}

void AutoNumberPanel::Text7_Change()
{
    app_.state().NumAutoPas = numbering::autoIncrementFieldValue(Text7->text());
}

void AutoNumberPanel::Command10_Click()
{
    Command10->setEnabled(false);
    Command9->setEnabled(true);
    app_.state().NumAutoActif = 1;
    doc_.Text1->setFocus();
}

void AutoNumberPanel::Command9_Click()
{
    Command9->setEnabled(false);
    Command10->setEnabled(true);
    app_.state().NumAutoActif = 0;
    doc_.Text1->setFocus();
}

void AutoNumberPanel::Command11_Click()
{
    app_.state().NumAutoActif = 0;
    doc_.closePanel(frame_);
}

} // namespace tarmel
