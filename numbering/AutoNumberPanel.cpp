#include "numbering/AutoNumberPanel.h"

#include "app/MDIForm1.h"
#include "document/Form1.h"
#include "numbering/AutoNumbering.h"
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

AutoNumberPanel::AutoNumberPanel(MDIForm1 &main, Form1 &doc, QGroupBox *frame)
    : QWidget(frame), main_(main), doc_(doc), frame_(frame)
{
    namespace t = numbering::texts;
    setObjectName(QStringLiteral("AutoNumberPanel"));

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

    Frame8 = new QGroupBox(t::formFrame(), this);
    Frame8->setObjectName(QStringLiteral("Frame8"));
    Option7 = new QRadioButton(t::formWithN(), Frame8);
    Option7->setObjectName(QStringLiteral("Option7"));
    Option7->setToolTip(t::formWithNTip());
    Option7->setChecked(true);
    Option8 = new QRadioButton(t::formDigitsOnly(), Frame8);
    Option8->setObjectName(QStringLiteral("Option8"));
    Option8->setToolTip(t::formDigitsOnlyTip());
    auto *forms = new QHBoxLayout(Frame8);
    forms->setContentsMargins(6, 0, 6, 2);
    forms->addWidget(Option7);
    forms->addWidget(Option8);

    Command10 = new QPushButton(t::autoNumberButton(), this);
    Command10->setObjectName(QStringLiteral("Command10"));
    Command9 = new QPushButton(t::autoSuspendButton(), this);
    Command9->setObjectName(QStringLiteral("Command9"));
    Command11 = new QPushButton(t::quitButton(), this);
    Command11->setObjectName(QStringLiteral("Command11"));

    // Two rows: start over increment, the number form and the buttons beside them.
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

    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->addWidget(this);
    frame->resize(std::max(frame->width(), frame->sizeHint().width()), std::max(frame->height(), frame->sizeHint().height()));

    connect(Text6, &QLineEdit::textChanged, this, &AutoNumberPanel::Text6_Change);
    connect(Text7, &QLineEdit::textChanged, this, &AutoNumberPanel::Text7_Change);
    connect(Command10, &QPushButton::clicked, this, &AutoNumberPanel::Command10_Click);
    connect(Command9, &QPushButton::clicked, this, &AutoNumberPanel::Command9_Click);
    connect(Command11, &QPushButton::clicked, this, &AutoNumberPanel::Command11_Click);
}

numbering::NumberForm AutoNumberPanel::form() const
{
    return Option8->isChecked() ? numbering::NumberForm::DigitsOnly : numbering::NumberForm::WithN;
}

void AutoNumberPanel::start()
{
    Command9->setEnabled(true);
    Command10->setEnabled(false);
    AppState &state = main_.state();
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
    main_.state().NumAutoSuivant = numbering::autoStartFieldValue(Text6->text());
}

void AutoNumberPanel::Text7_Change()
{
    main_.state().NumAutoPas = numbering::autoIncrementFieldValue(Text7->text());
}

void AutoNumberPanel::Command10_Click()
{
    Command10->setEnabled(false);
    Command9->setEnabled(true);
    main_.state().NumAutoActif = 1;
    doc_.Text1->setFocus();
}

void AutoNumberPanel::Command9_Click()
{
    Command9->setEnabled(false);
    Command10->setEnabled(true);
    main_.state().NumAutoActif = 0;
    doc_.Text1->setFocus();
}

void AutoNumberPanel::Command11_Click()
{
    frame_->hide();
    doc_.Form_Resize();
    main_.state().NumAutoActif = 0;
    main_.setPanelCommandsEnabled(true);
}

} // namespace tarmel
