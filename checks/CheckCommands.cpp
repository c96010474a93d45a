#include "checks/CheckCommands.h"

#include "app/AppContext.h"
#include "app/CommandState.h"
#include "app/DocumentEvents.h"
#include "checks/CheckList.h"
#include "checks/ChecksTexts.h"
#include "checks/NcChecker.h"
#include "checks/NcColouring.h"
#include "checks/ProgramRange.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "platform/Services.h"

#include <QAction>
#include <QApplication>
#include <QPointer>

namespace tarmel {

namespace {

const QString kStoreApp = QStringLiteral("Tarmel");
const QString kStoreSection = QStringLiteral("Affichage");
const QString kStoreKey = QStringLiteral("ColorationSyntaxique");
const QString kColourItem = QStringLiteral("Mnu_Coloration");
const QString kAccentsItem = QStringLiteral("Mnu_SupprimAccents");

std::string_view wholeText(const Form1 *doc)
{
    const QByteArrayView text = doc->Text1->utf8View();
    return {text.data(), std::size_t(text.size())};
}

// The findings the accent table mends: the list then offers "&Supprimer les accents".
bool suggestsAccentRemoval(const NcFinding &f) { return f.ruleId == QLatin1String("accented-character"); }

// Runs work under the hourglass, restored however work ends.
template <typename Work>
auto underHourglass(Work work)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct Restore {
        ~Restore() { QApplication::restoreOverrideCursor(); }
    } restore;
    return work();
}

} // namespace

CheckCommands::CheckCommands(AppContext &app) : app_(app)
{
    colouring_ = app.services().settings->get(kStoreApp, kStoreSection, kStoreKey, QStringLiteral("1"))
                 != QStringLiteral("0");
    if (QAction *item = app.commands().item(kColourItem)) {
        item->setCheckable(true);
        item->setChecked(colouring_);
    }
    app.registerCommand(kColourItem, [this] { Mnu_Coloration_Click(); });
    app.registerCommand(QStringLiteral("Mnu_VerifierProgramme"), [this] { Mnu_VerifierProgramme_Click(); });
    app.registerCommand(QStringLiteral("Mnu_InfosProgramme"), [this] { Mnu_InfosProgramme_Click(); });

    // A document is coloured by what it holds: a file's type is known once it is loaded,
    // and saving under another name may change it.
    DocumentEvents &events = app.events();
    const auto apply = [this](Form1 *doc) { applyColouring(doc); };
    QObject::connect(&events, &DocumentEvents::created, &events, apply);
    QObject::connect(&events, &DocumentEvents::loaded, &events, apply);
    QObject::connect(&events, &DocumentEvents::saved, &events, apply);
}

// The item's check mark follows the choice (the menu toggles it before the command runs;
// a shortcut or a call does not), and the choice is kept for the next session.
void CheckCommands::Mnu_Coloration_Click()
{
    colouring_ = !colouring_;
    if (QAction *item = app_.commands().item(kColourItem))
        item->setChecked(colouring_);
    app_.services().settings->set(kStoreApp, kStoreSection, kStoreKey,
                                  colouring_ ? QStringLiteral("1") : QStringLiteral("0"));
    for (Form1 *doc : app_.documents())
        applyColouring(doc);
}

// Program files are coloured; rich-text documents keep the colours they hold.
void CheckCommands::applyColouring(Form1 *doc) const
{
    const bool on = colouring_ && doc->fileType != FileType::Rich;
    if (on != doc->Text1->hasLineColourer())
        doc->Text1->setLineColourer(on ? ncLineColourer() : platform::LineColourer());
}

void CheckCommands::Mnu_VerifierProgramme_Click()
{
    if (Form1 *doc = app_.activeDocument())
        check(doc);
}

void CheckCommands::check(Form1 *doc)
{
    std::vector<NcFinding> findings = underHourglass([doc] { return checkNcProgram(wholeText(doc)); });
    const bool accents = std::any_of(findings.begin(), findings.end(),
                                     [](const NcFinding &f) { return suggestsAccentRemoval(f); });
    CheckList *list = checkList(doc);
    if (!list)
        list = makeCheckList(doc);
    list->setFindings(std::move(findings), accents);
    list->show();
    doc->Form_Resize();
}

CheckList *CheckCommands::checkList(const Form1 *doc)
{
    return doc->findChild<CheckList *>(QString(), Qt::FindDirectChildrenOnly);
}

CheckList *CheckCommands::makeCheckList(Form1 *doc)
{
    auto *list = new CheckList(doc);
    doc->dockBelowText(list);
    QPointer<Form1> target(doc);
    QObject::connect(list, &CheckList::findingChosen, list, [this, target](int line, int column) {
        if (target)
            goToFinding(target, line, column);
    });
    QObject::connect(list, &CheckList::removeAccentsChosen, list, [this, target] {
        if (target)
            removeAccents(target);
    });
    QObject::connect(list, &CheckList::closeChosen, list, [list, target] {
        list->hide();
        if (target)
            target->Form_Resize();
    });
    QObject::connect(doc->Text1, &platform::RichTextBox::textChanged, list, [list] { list->setStale(true); });
    return list;
}

// The caret goes to the finding's line and column (a column past the line's end: the end).
void CheckCommands::goToFinding(Form1 *doc, int line, int column)
{
    platform::RichTextBox &text = *doc->Text1;
    const qsizetype start = text.lineStartPosition(line - 1);
    qsizetype end = text.lineStartPosition(line);
    // The line's end comes before the next line's start: CR LF, LF or CR.
    if (end > start && line < text.lineCount()) {
        const QByteArrayView bytes = text.utf8View();
        qsizetype byte = text.byteOfPosition(end);
        while (end > start && byte > 0 && (bytes[byte - 1] == '\n' || bytes[byte - 1] == '\r')) {
            --end;
            --byte;
        }
    }
    app_.activateDocument(doc);
    text.setSelStart(std::clamp<qsizetype>(start + column - 1, start, end));
    text.setFocus();
}

// The hint's button runs the menu command as the user would, then checks again.
void CheckCommands::removeAccents(Form1 *doc)
{
    app_.activateDocument(doc);
    QAction *item = app_.commands().item(kAccentsItem);
    if (!item || !item->isEnabled())
        return;
    item->trigger();
    check(doc);
}

void CheckCommands::Mnu_InfosProgramme_Click()
{
    Form1 *doc = app_.activeDocument();
    if (!doc)
        return;
    const QString text =
        underHourglass([doc] { return describeProgramRange(computeProgramRange(wholeText(doc))); });
    app_.services().messageBox->show(text, platform::mb::Information, texts::programInformationTitle());
}

} // namespace tarmel
