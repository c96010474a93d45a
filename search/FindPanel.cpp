#include "search/FindPanel.h"

#include "app/AppContext.h"
#include "document/Form1.h"
#include "document/PanelFrame.h"
#include "platform/RichTextBox.h"
#include "search/PanelControls.h"
#include "search/SearchCommands.h"
#include "search/SearchTexts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tarmel {

FindPanel::FindPanel(AppContext &app, SearchCommands &commands, Form1 &doc, QGroupBox *frame)
    : QWidget(frame), app_(app), commands_(commands), doc_(doc), frame_(frame)
{
    setObjectName(QStringLiteral("FindPanel"));
    createControls();
    layOut();
    fillFrame(frame, this);

    setTabOrder(Text2, Check1);
    setTabOrder(Check1, chkCase);
    setTabOrder(chkCase, Option1);
    setTabOrder(Option1, Option2);
    setTabOrder(Option2, Command1);
    setTabOrder(Command1, Command3);

    connect(Text2, &QLineEdit::textChanged, this, &FindPanel::Text2_Change);
    connect(Text2, &QLineEdit::returnPressed, this, [this] {
        if (Command1->isEnabled())
            Command1_Click();
    });
    connect(chkCase, &QCheckBox::clicked, this, &FindPanel::chkCase_Click);
    connect(Option1, &QRadioButton::clicked, this, &FindPanel::Option1_Click);
    connect(Option2, &QRadioButton::clicked, this, &FindPanel::Option2_Click);
    connect(Command1, &QPushButton::clicked, this, &FindPanel::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &FindPanel::Command3_Click);
}

FindPanel *FindPanel::of(const Form1 *doc)
{
    return doc->Frame1->findChild<FindPanel *>();
}

void FindPanel::createControls()
{
    namespace t = search::texts;
    Label1 = new QLabel(t::searchLabel(), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text2 = makeTextBox(this, QStringLiteral("Text2"), t::searchLabel(), searchBoxColor());
    Label1->setBuddy(Text2);
    const CaseOptions cases =
        makeCaseOptions(this, QStringLiteral("Label8"), QStringLiteral("Check1"), QStringLiteral("chkCase"));
    Label8 = cases.heading;
    Check1 = cases.wholeWord;
    chkCase = cases.matchCase;
    const DirectionGroup direction = makeDirectionGroup(this, t::findDirectionFrame(), QStringLiteral("Frame4"),
                                                        QStringLiteral("Option1"), QStringLiteral("Option2"));
    Frame4 = direction.frame;
    Option1 = direction.up;
    Option2 = direction.down;
    Command1 = new QPushButton(t::nextButton(), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setEnabled(false);
    Command3 = new QPushButton(t::closeButton(), this);
    Command3->setObjectName(QStringLiteral("Command3"));
}

// Two rows: the search box over nothing, the heading over the check boxes; the direction and
// the buttons take both rows.
void FindPanel::layOut()
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 0, 6, 2);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Text2, 0, 1);
    grid->addWidget(Label8, 0, 2, 1, 2);
    grid->addWidget(Check1, 1, 2);
    grid->addWidget(chkCase, 1, 3);
    grid->addWidget(Frame4, 0, 4, 2, 1);
    grid->addWidget(Command1, 0, 5);
    grid->addWidget(Command3, 1, 5);
    grid->setColumnStretch(1, 1);
}

void FindPanel::open()
{
    Text2->setFocus();
    platform::RichTextBox *text = doc_.Text1;
    if (text->selLength() > 0) {
        Text2->setText(text->selText());
        Text2_Change(); // also when the box already held that text
        text->setSelLength(0);
    }
}

void FindPanel::Text2_Change()
{
    Command1->setEnabled(!Text2->text().isEmpty());
}

void FindPanel::chkCase_Click()
{
    app_.state().DiffCasse = chkCase->isChecked() ? 1 : 0;
}

void FindPanel::Option1_Click()
{
    app_.state().SensRecherche = 0;
}

void FindPanel::Option2_Click()
{
    app_.state().SensRecherche = 1;
}

void FindPanel::Command1_Click()
{
    AppState &state = app_.state();
    state.ChaineCherchee = Text2->text();
    state.wholeWord = Check1->isChecked();
    commands_.FindIt();
}

void FindPanel::Command3_Click()
{
    doc_.closePanel(frame_);
}

void FindPanel::escape()
{
    Command3_Click();
}

void FindPanel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        escape();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace tarmel
