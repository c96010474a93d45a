#include "search/SearchCommands.h"

#include "app/AppContext.h"
#include "app/DocumentEvents.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "platform/Services.h"
#include "search/FindPanel.h"
#include "search/ReplacePanel.h"
#include "search/SearchTexts.h"

#include <QGroupBox>

#include <exception>
#include <new>

namespace tarmel {

namespace t = search::texts;

namespace {

// The text's bytes where the engine keeps them; an engine that cannot give them fails the search.
QByteArrayView bytesOf(const platform::RichTextBox *text)
{
    const QByteArrayView bytes = text->utf8View();
    if (bytes.isNull())
        throw std::bad_alloc();
    return bytes;
}

} // namespace

SearchCommands::SearchCommands(AppContext &app) : app_(app)
{
    app.registerCommand(QStringLiteral("Mnu_Rechercher"), [this] { Mnu_Rechercher_Click(); });
    app.registerCommand(QStringLiteral("Mnu_Remplacer"), [this] { Mnu_Remplacer_Click(); });
    DocumentEvents &events = app.events();
    QObject::connect(&events, &DocumentEvents::created, &events, [this](Form1 *doc) { watch(doc); });
}

void SearchCommands::watch(Form1 *doc)
{
    new FindPanel(app_, *this, *doc, doc->Frame1);
    new ReplacePanel(app_, *this, *doc, doc->Frame2);
    QObject::connect(doc->Text1, &platform::RichTextBox::textChanged, doc, [this, doc] {
        if (lastDocument_ == doc)
            last_ = {};
    });
    QObject::connect(doc->Text1, &platform::RichTextBox::keyDown, doc,
                     [this, doc](platform::KeyEventArgs &e) { Text1_KeyDown(doc, e); });
}

// Escape in the text acts on the open search panel as in the panel itself.
void SearchCommands::Text1_KeyDown(Form1 *doc, platform::KeyEventArgs &e)
{
    if (e.keyCode != Qt::Key_Escape || e.shift != Qt::NoModifier)
        return;
    if (!doc->Frame2->isHidden())
        ReplacePanel::of(doc)->escape();
    else if (!doc->Frame1->isHidden())
        FindPanel::of(doc)->escape();
    else
        return;
    e.cancel = true;
}

void SearchCommands::Mnu_Rechercher_Click()
{
    Form1 *doc = app_.activeDocument();
    if (!doc)
        return;
    doc->showPanel(doc->Frame1);
    FindPanel::of(doc)->open();
}

void SearchCommands::Mnu_Remplacer_Click()
{
    Form1 *doc = app_.activeDocument();
    if (!doc)
        return;
    ReplacePanel *panel = ReplacePanel::of(doc);
    panel->setNextEnabled(false);
    doc->showPanel(doc->Frame2);
    app_.RecordUndoSnapshot(doc);
    panel->open();
}

void SearchCommands::FindIt()
{
    if (Form1 *doc = app_.activeDocument())
        runSearch(doc);
}

void SearchCommands::Remplace()
{
    Form1 *doc = app_.activeDocument();
    if (doc && runSearch(doc))
        ReplacePanel::of(doc)->offer();
}

search::SearchOptions SearchCommands::options() const
{
    const AppState &state = app_.state();
    return {state.DiffCasse != 0, state.wholeWord,
            state.SensRecherche == 1.0f ? search::Direction::Down : search::Direction::Up};
}

search::LastSearch SearchCommands::lastSearchIn(const Form1 *doc) const
{
    return lastDocument_ == doc ? last_ : search::LastSearch{};
}

void SearchCommands::showError()
{
    app_.services().messageBox->show(t::searchError(), platform::mb::Exclamation, t::errorTitle());
}

// Selects the next occurrence of the shared search string, or says there is none; true on a hit.
bool SearchCommands::runSearch(Form1 *doc)
{
    AppState &state = app_.state();
    platform::RichTextBox *text = doc->Text1;
    const search::SearchOptions o = options();
    std::optional<search::Span> hit;
    try {
        const search::Span selection{text->selStart(), text->selLength()};
        const search::SearchOrigin origin = search::searchOrigin(o.direction, selection, lastSearchIn(doc));
        const qint64 originByte = text->byteOfPosition(origin.position);
        const qint64 from = originByte + (origin.afterIt ? 1 : 0);
        if (const auto found = search::findUtf8(bytesOf(text), state.ChaineCherchee.toUtf8(), from, o,
                                                origin.endsBefore ? originByte : -1)) {
            const qint64 start = text->positionOfByte(found->start);
            hit = search::Span{start, text->positionOfByte(found->end()) - start};
        }
    } catch (const std::exception &) {
        showError();
        return false;
    }
    // Nothing found leaves the selection, and so what the last search or replacement did, as it was.
    if (hit || lastDocument_ != doc) {
        lastDocument_ = doc;
        last_ = {hit, std::nullopt};
    }
    if (hit) {
        text->setSelStart(hit->start);
        text->setSelLength(hit->length);
        text->setFocus();
    } else {
        app_.services().messageBox->show(t::notFound(state.ChaineCherchee), platform::mb::OkOnly, t::notFoundTitle());
    }
    state.PosTrouvee = text->selStart();
    return hit.has_value();
}

void SearchCommands::replaceOffered(Form1 *doc)
{
    platform::RichTextBox *text = doc->Text1;
    const search::Span selection{text->selStart(), text->selLength()};
    if (!search::isLastHit(selection, lastSearchIn(doc)))
        return; // the user moved away from the offered occurrence
    const QString replacement = app_.state().ChaineRemplace;
    try {
        text->setSelText(replacement);
    } catch (const std::exception &) {
        showError();
        return;
    }
    lastDocument_ = doc;
    last_ = {std::nullopt, search::Span{selection.start, replacement.size()}};
}

void SearchCommands::replaceAll(Form1 *doc)
{
    const AppState &state = app_.state();
    platform::RichTextBox *text = doc->Text1;
    const search::SearchOptions o = options();
    qint64 count = 0;
    try {
        const search::Span selection{text->selStart(), text->selLength()};
        const search::SearchOrigin origin = search::searchOrigin(o.direction, selection, lastSearchIn(doc));
        const search::ReplaceAllResult r = search::replaceAllUtf8(
            bytesOf(text), state.ChaineCherchee.toUtf8(), state.ChaineRemplace.toUtf8(),
            text->byteOfPosition(origin.position), text->byteOfPosition(selection.start), o, origin.endsBefore);
        count = r.count;
        if (count > 0) {
            text->setUtf8(r.text);
            text->setSelStart(text->positionOfByte(r.caret));
        }
    } catch (const std::exception &) {
        showError();
        return;
    }
    app_.services().messageBox->show(t::replaceAllReport(count), platform::mb::OkOnly, t::replaceAllTitle());
}

} // namespace tarmel
