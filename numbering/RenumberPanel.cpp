#include "numbering/RenumberPanel.h"

#include "app/AppContext.h"
#include "document/Form1.h"
#include "numbering/AutoNumbering.h"
#include "document/PanelFrame.h"
#include "numbering/DigitField.h"
#include "numbering/NumberingTexts.h"
#include "platform/RichTextBox.h"
#include "platform/Services.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QVBoxLayout>

#include <new>
#include <optional>

namespace tarmel {

namespace {

// Byte offset in UTF-8 text of a position counted in UTF-16 units (a character beyond the BMP is four
// bytes and two units). Positions past the end give the end.
qint64 utf8Offset(QByteArrayView utf8, qint64 utf16Position)
{
    qint64 bytes = 0, units = 0;
    const qint64 size = utf8.size();
    while (bytes < size && units < utf16Position) {
        const auto lead = static_cast<unsigned char>(utf8[bytes]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        bytes += length;
        units += length == 4 ? 2 : 1;
    }
    return std::min(bytes, size);
}

struct RunMessage {
    QString text;
    int flags = 0;
    QString title;
};

} // namespace

RenumberPanel::RenumberPanel(AppContext &app, Form1 &doc, QGroupBox *frame)
    : QWidget(frame), app_(app), doc_(doc), frame_(frame)
{
    setObjectName(QStringLiteral("RenumberPanel"));
    createControls();
    layOut();
    fillFrame(frame, this);

    setTabOrder(Text5, startNumber);
    setTabOrder(startNumber, Option5);
    setTabOrder(Option5, selectionOnly);
    setTabOrder(selectionOnly, updateJumps);
    setTabOrder(updateJumps, Command6);
    setTabOrder(Command6, Command7);

    connect(Text5, &QLineEdit::textChanged, this, &RenumberPanel::Text5_Change);
    connect(Command6, &QPushButton::clicked, this, &RenumberPanel::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &RenumberPanel::Command7_Click);
}

RenumberPanel *RenumberPanel::of(const Form1 *doc)
{
    return doc->Frame3->findChild<RenumberPanel *>();
}

void RenumberPanel::createControls()
{
    namespace t = numbering::texts;
    Label4 = new QLabel(t::stepLabel(), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Text5 = makeDigitField(this, QStringLiteral("Text5"), t::stepLabel(), 2);
    Text5->setText(QStringLiteral("10"));
    Text5->setFixedWidth(36);
    Label4->setBuddy(Text5);

    startNumberLabel = new QLabel(t::startNumberLabel(), this);
    startNumberLabel->setObjectName(QStringLiteral("startNumberLabel"));
    startNumber = makeDigitField(this, QStringLiteral("startNumber"), t::startNumberLabel(), 9, true);
    startNumber->setFixedWidth(72);
    startNumberLabel->setBuddy(startNumber);

    const NumberFormGroup forms =
        makeNumberFormGroup(this, QStringLiteral("Frame7"), QStringLiteral("Option5"), QStringLiteral("Option6"));
    Frame7 = forms.frame;
    Option5 = forms.withN;
    Option6 = forms.digitsOnly;

    selectionOnly = new QCheckBox(t::selectionOnlyBox(), this);
    selectionOnly->setObjectName(QStringLiteral("selectionOnly"));
    updateJumps = new QCheckBox(t::updateJumpsBox(), this);
    updateJumps->setObjectName(QStringLiteral("updateJumps"));

    Command6 = new QPushButton(t::renumberButton(), this);
    Command6->setObjectName(QStringLiteral("Command6"));
    Command7 = new QPushButton(t::quitButton(), this);
    Command7->setObjectName(QStringLiteral("Command7"));

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    QSizePolicy keepPlace = ProgressBar1->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    ProgressBar1->setSizePolicy(keepPlace);
    ProgressBar1->hide();
}

// Two rows: the fields over the check boxes and the progress bar; the number form and the
// buttons take both rows.
void RenumberPanel::layOut()
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(6, 0, 6, 2);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    auto *stepRow = new QHBoxLayout;
    stepRow->addWidget(Label4);
    stepRow->addWidget(Text5);
    stepRow->addSpacing(8);
    stepRow->addWidget(startNumberLabel);
    stepRow->addWidget(startNumber);
    stepRow->addStretch();
    grid->addLayout(stepRow, 0, 0, 1, 3);
    grid->addWidget(selectionOnly, 1, 0);
    grid->addWidget(updateJumps, 1, 1);
    grid->addWidget(ProgressBar1, 1, 2);
    grid->addWidget(Frame7, 0, 3, 2, 1);
    grid->addWidget(Command6, 0, 4);
    grid->addWidget(Command7, 1, 4);
    grid->setColumnStretch(2, 1);
}

numbering::NumberForm RenumberPanel::form() const
{
    return Option6->isChecked() ? numbering::NumberForm::DigitsOnly : numbering::NumberForm::WithN;
}

void RenumberPanel::showStep()
{
    ProgressBar1->hide();
    AppState &state = app_.state();
    state.PasRenum = int(numbering::stepOnOpening(state.PasRenum));
    const QString digits = QString::number(state.PasRenum);
    if (Text5->text() == digits)
        Text5_Change(); // no change signal for the same text; the rule still sets the button
    else
        Text5->setText(digits);
}

void RenumberPanel::Text5_Change()
{
    if (settingStep_)
        return;
    const numbering::StepFieldResult r = numbering::validateStep(Text5->text());
    app_.state().PasRenum = int(r.value);
    Command6->setEnabled(r.startEnabled);
    if (!r.message.isEmpty())
        app_.services().messageBox->show(r.message, platform::mb::Critical, numbering::texts::errorTitle());
    if (Text5->text() != r.fieldText) {
        settingStep_ = true;
        Text5->setText(r.fieldText);
        settingStep_ = false;
    }
}

void RenumberPanel::Command6_Click()
{
    app_.state().PasRenum = int(numbering::fieldNumericValue(Text5->text()));
    renumerote2();
}

void RenumberPanel::Command7_Click()
{
    doc_.closePanel(frame_);
}

void RenumberPanel::CalculeLigne2()
{
    // The engine cuts lines at CR LF, LF and CR alike, as the renumbering does, and keeps the count.
    NbLignes = doc_.Text1->engine()->lines();
}

numbering::RenumberOptions RenumberPanel::options() const
{
    numbering::RenumberOptions o;
    o.form = form();
    o.step = app_.state().PasRenum;
    o.start = numbering::renumberStartNumber(startNumber->text(), o.step);
    o.updateJumps = updateJumps->isChecked();
    return o;
}

void RenumberPanel::showProgress(qint64 done, qint64 total)
{
    const int maximum = ProgressBar1->maximum();
    const qint64 position = total > 0 ? done * maximum / total : maximum;
    ProgressBar1->setValue(int(std::clamp<qint64>(position, 1, maximum)));
    ProgressBar1->repaint();
}

void RenumberPanel::renumerote2()
{
    app_.RecordUndoSnapshot(&doc_);
    std::optional<RunMessage> message;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([this] {
            ProgressBar1->hide();
            QApplication::restoreOverrideCursor();
        });
        CalculeLigne2();
        ProgressBar1->setRange(0, int(std::clamp<qint64>(NbLignes, 1, std::numeric_limits<int>::max())));
        ProgressBar1->setValue(1);
        ProgressBar1->show();
        ProgressBar1->repaint();

        platform::RichTextBox *text = doc_.Text1;
        try {
            const QByteArray before = doc_.RedoText; // the snapshot just taken: the text as it stands
            numbering::RenumberOptions o = options();
            if (selectionOnly->isChecked() && text->selLength() > 0) {
                const qint64 start = text->selStart();
                o.selectionOnly = true;
                o.selectionFrom = utf8Offset(before, start);
                o.selectionTo = utf8Offset(before, start + text->selLength());
            }
            o.progress = [this](qint64 done, qint64 total) { showProgress(done, total); };
            const numbering::RenumberBytesResult result = numbering::renumberUtf8(before, o);
            if (result.status == numbering::RenumberStatus::Done) {
                text->setUtf8(result.text);
                if (o.updateJumps)
                    message = RunMessage{numbering::texts::jumpReport(result.counts.jumpsUpdated,
                                                                      result.counts.targetsNotFound),
                                         platform::mb::OkOnly, numbering::texts::renumberTitle()};
            } else if (result.status == numbering::RenumberStatus::NumberOverflow) {
                message = RunMessage{numbering::texts::renumberOverflow(), platform::mb::Critical,
                                     numbering::texts::renumberTitle()};
            }
            // A step or start out of range cannot come from the panel: its fields keep them valid.
        } catch (const std::bad_alloc &) {
            message = RunMessage{numbering::texts::renumberNoMemory(), platform::mb::Critical,
                                 numbering::texts::renumberTitle()};
        }
    }
    if (message)
        app_.services().messageBox->show(message->text, message->flags, message->title);
}

} // namespace tarmel
