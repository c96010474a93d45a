#include "search/ReplacePanel.h"

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

ReplacePanel::ReplacePanel(AppContext &app, SearchCommands &commands, Form1 &doc, QGroupBox *frame)
    : QWidget(frame), app_(app), commands_(commands), doc_(doc), frame_(frame)
{
    setObjectName(QStringLiteral("ReplacePanel"));
    createControls();
    layOut();
    fillFrame(frame, this);

    setTabOrder(Text3, Text4);
    setTabOrder(Text4, Check3);
    setTabOrder(Check3, Check2);
    setTabOrder(Check2, Option3);
    setTabOrder(Option3, Option4);
    setTabOrder(Option4, Command4);
    setTabOrder(Command4, Command5);
    setTabOrder(Command5, Command2);
    setTabOrder(Command2, Command8);
    setTabOrder(Command8, replaceAllButton);

    connect(Text3, &QLineEdit::textChanged, this, &ReplacePanel::Text3_Change);
    connect(Text4, &QLineEdit::textChanged, this, &ReplacePanel::Text4_Change);
    for (QLineEdit *box : {Text3, Text4}) {
        connect(box, &QLineEdit::returnPressed, this, [this] {
            if (!Command4->isHidden() && Command4->isEnabled())
                Command4_Click();
        });
    }
    connect(Check2, &QCheckBox::clicked, this, &ReplacePanel::Check2_Click);
    connect(Option3, &QRadioButton::clicked, this, &ReplacePanel::Option3_Click);
    connect(Option4, &QRadioButton::clicked, this, &ReplacePanel::Option4_Click);
    connect(Command4, &QPushButton::clicked, this, &ReplacePanel::Command4_Click);
    connect(Command2, &QPushButton::clicked, this, &ReplacePanel::Command2_Click);
    connect(Command8, &QPushButton::clicked, this, &ReplacePanel::Command8_Click);
    connect(Command5, &QPushButton::clicked, this, &ReplacePanel::Command5_Click);
    connect(replaceAllButton, &QPushButton::clicked, this, &ReplacePanel::replaceAllButton_Click);
}

ReplacePanel *ReplacePanel::of(const Form1 *doc)
{
    return doc->Frame2->findChild<ReplacePanel *>();
}

void ReplacePanel::createControls()
{
    namespace t = search::texts;
    Label2 = new QLabel(t::searchLabel(), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Text3 = makeTextBox(this, QStringLiteral("Text3"), t::searchLabel(), searchBoxColor());
    Label2->setBuddy(Text3);
    Label3 = new QLabel(t::replaceLabel(), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Text4 = makeTextBox(this, QStringLiteral("Text4"), t::replaceLabel(), replacementBoxColor());
    Label3->setBuddy(Text4);
    const CaseOptions cases =
        makeCaseOptions(this, QStringLiteral("Label7"), QStringLiteral("Check3"), QStringLiteral("Check2"));
    Label7 = cases.heading;
    Check3 = cases.wholeWord;
    Check2 = cases.matchCase;
    const DirectionGroup direction = makeDirectionGroup(this, t::replaceDirectionFrame(), QStringLiteral("Frame5"),
                                                        QStringLiteral("Option3"), QStringLiteral("Option4"));
    Frame5 = direction.frame;
    Option3 = direction.up;
    Option4 = direction.down;
    const auto button = [this](const QString &caption, const char *name) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    Command4 = button(t::nextButton(), "Command4");
    Command5 = button(t::closeButton(), "Command5");
    Command2 = button(t::replaceButton(), "Command2");
    Command8 = button(t::skipButton(), "Command8");
    replaceAllButton = button(t::replaceAllButton(), "replaceAllButton");
    Command2->hide();
    Command8->hide();
}

// The two boxes with their labels; the heading over the two check boxes; the direction; then
// "&Suivant" over "&Annuler" and "Remp&lacer" over "&Sauter" (one pair shown at a time, in its own
// column) with "&Tout remplacer" below them.
void ReplacePanel::layOut()
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 0, 6, 2);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(Text3, 0, 1);
    grid->addWidget(Label3, 1, 0);
    grid->addWidget(Text4, 1, 1);
    grid->addWidget(Label7, 0, 2);
    grid->addWidget(Check3, 1, 2);
    grid->addWidget(Check2, 2, 2);
    grid->addWidget(Frame5, 0, 3, 2, 1);
    grid->addWidget(Command4, 0, 4);
    grid->addWidget(Command5, 1, 4);
    grid->addWidget(Command2, 0, 5);
    grid->addWidget(Command8, 1, 5);
    grid->addWidget(replaceAllButton, 2, 4, 1, 2);
    grid->setColumnStretch(1, 1);
}

void ReplacePanel::open()
{
    Text3->setFocus();
    platform::RichTextBox *text = doc_.Text1;
    if (text->selLength() > 0) {
        Text3->setText(text->selText());
        Text3_Change(); // also when the box already held that text
        text->setSelLength(0);
        if (!app_.state().ChaineRemplace.isEmpty())
            setNextEnabled(true);
    }
}

void ReplacePanel::setNextEnabled(bool on)
{
    Command4->setEnabled(on);
    replaceAllButton->setEnabled(on);
}

bool ReplacePanel::offering() const
{
    return !Command2->isHidden();
}

void ReplacePanel::offer()
{
    Command2->show();
    Command8->show();
    Command4->hide();
    Command5->hide();
}

void ReplacePanel::showSearching()
{
    const bool keepFocus = Command2->hasFocus() || Command8->hasFocus();
    Command2->hide();
    Command8->hide();
    Command4->show();
    Command5->show();
    if (keepFocus)
        Command4->setFocus(); // the button that stood in the hidden one's place goes on
}

void ReplacePanel::escape()
{
    if (offering())
        Command8_Click();
    else
        Command5_Click();
}

void ReplacePanel::Text3_Change()
{
    setNextEnabled(!Text3->text().isEmpty() && !Text4->text().isEmpty());
}

void ReplacePanel::Check2_Click()
{
    app_.state().DiffCasse = Check2->isChecked() ? 1 : 0;
}

void ReplacePanel::Option3_Click()
{
    app_.state().SensRecherche = 0;
}

void ReplacePanel::Option4_Click()
{
    app_.state().SensRecherche = 1;
}

void ReplacePanel::takeBoxes()
{
    AppState &state = app_.state();
    state.ChaineCherchee = Text3->text();
    state.ChaineRemplace = Text4->text();
    state.wholeWord = Check3->isChecked();
}

void ReplacePanel::Command4_Click()
{
    takeBoxes();
    commands_.Remplace();
}

void ReplacePanel::Command2_Click()
{
    commands_.replaceOffered(&doc_);
    showSearching();
}

void ReplacePanel::Command8_Click()
{
    showSearching();
}

void ReplacePanel::Command5_Click()
{
    doc_.closePanel(frame_);
}

void ReplacePanel::replaceAllButton_Click()
{
    takeBoxes();
    showSearching();
    commands_.replaceAll(&doc_);
}

void ReplacePanel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        escape();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace tarmel
