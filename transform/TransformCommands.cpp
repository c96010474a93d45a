#include "transform/TransformCommands.h"

#include "app/AppContext.h"
#include "document/Form1.h"
#include "files/TextCodec.h"
#include "platform/RichTextBox.h"
#include "platform/Services.h"
#include "transform/Accents.h"
#include "transform/CommentCase.h"
#include "transform/Form4.h"
#include "transform/TransformTexts.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QScopeGuard>

#include <new>

namespace tarmel {

namespace {

// The part of the selection's first line that comes before it, as the engine holds it (UTF-8).
QByteArray lineBeforeSelection(const platform::RichTextBox *text)
{
    const QsciScintilla *engine = text->engine();
    const long from = engine->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART);
    const long line = engine->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, from);
    const long lineStart = engine->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    QByteArray prefix(std::max(0L, from - lineStart), Qt::Uninitialized);
    if (!prefix.isEmpty()) // the engine writes a closing NUL, which QByteArray has room for
        engine->SendScintilla(QsciScintillaBase::SCI_GETTEXTRANGE, lineStart, from, prefix.data());
    return prefix;
}

bool inWindows1252(const platform::RichTextBox *text)
{
    return text->fileFormat().encoding == Encoding::Windows1252;
}

} // namespace

TransformCommands::TransformCommands(AppContext &app) : app_(app)
{
    app.registerCommand(QStringLiteral("Mnu_Majuscule"), [this] { Mnu_Majuscule_Click(); });
    app.registerCommand(QStringLiteral("Mnu_Minuscule"), [this] { Mnu_Minuscule_Click(); });
    app.registerCommand(QStringLiteral("Mnu_MajusculeHorsCommentaires"),
                        [this] { Mnu_MajusculeHorsCommentaires_Click(); });
    app.registerCommand(QStringLiteral("Mnu_SupprimAccents"), [this] { Mnu_SupprimAccents_Click(); });
}

void TransformCommands::Mnu_Majuscule_Click() { changeCase(Case::Upper, false); }
void TransformCommands::Mnu_Minuscule_Click() { changeCase(Case::Lower, false); }
void TransformCommands::Mnu_MajusculeHorsCommentaires_Click() { changeCase(Case::Upper, true); }
void TransformCommands::Mnu_SupprimAccents_Click() { SupprimAccents(); }

// The snapshot is recorded even for an empty text, which simply stays empty.
void TransformCommands::changeCase(Case target, bool keepComments)
{
    Form1 *doc = app_.activeDocument();
    if (!doc)
        return;
    underHourglass([&] {
        app_.RecordUndoSnapshot(doc);
        platform::RichTextBox *text = doc->Text1;
        const bool windows1252 = inWindows1252(text);
        const auto convert = [&](QByteArrayView utf8, QByteArrayView linePrefix) {
            return keepComments ? upperOutsideCommentsUtf8(utf8, windows1252, linePrefix)
                                : convertCaseUtf8(utf8, target, windows1252);
        };
        if (text->selLength() > 0)
            text->setSelText(utf8ToString(convert(text->selText().toUtf8(), lineBeforeSelection(text))));
        else
            text->setUtf8(convert(doc->RedoText, {})); // the snapshot is the text as it stands
    });
}

// The selection is not consulted: the whole text is always processed. An empty text is left alone,
// without a snapshot and without the window.
void TransformCommands::SupprimAccents()
{
    Form1 *doc = app_.activeDocument();
    if (!doc || doc->Text1->isEmpty())
        return;
    underHourglass([&] {
        app_.RecordUndoSnapshot(doc);
        Form4 form(app_.dialogParent());
        form.show();
        form.repaint();
        const Progress progress = [&form](qint64 done, qint64 total) { form.showProgress(done, total); };
        doc->Text1->setUtf8(removeAccentsUtf8(doc->RedoText, progress)); // the text as it stands
    });
}

// A text too large for the memory left stays as it was, and the user is told once the hourglass is gone.
void TransformCommands::underHourglass(const std::function<void()> &work)
{
    bool outOfMemory = false;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        try {
            work();
        } catch (const std::bad_alloc &) {
            outOfMemory = true;
        }
    }
    if (outOfMemory)
        app_.services().messageBox->show(transform::texts::noMemory(), platform::mb::Critical,
                                         transform::texts::errorTitle());
}

} // namespace tarmel
