#include "tests/support/FakeCommonDialog.h"
#include "platform/HelpViewer.h"

#include <QFileInfo>

namespace testsupport {

using namespace platform;

namespace {

const char *kindName(FakeCommonDialog::Kind kind)
{
    switch (kind) {
    case FakeCommonDialog::Kind::Open: return "open";
    case FakeCommonDialog::Kind::Save: return "save";
    case FakeCommonDialog::Kind::Printer: return "print";
    case FakeCommonDialog::Kind::PrinterSetup: return "printer set-up";
    case FakeCommonDialog::Kind::Font: return "font";
    }
    return "?";
}

} // namespace

void FakeCommonDialog::expectOpen(const QString &path, int filterIndex) { script_.enqueue({.kind = Kind::Open, .path = path, .filterIndex = filterIndex}); }
void FakeCommonDialog::expectSave(const QString &path, int filterIndex) { script_.enqueue({.kind = Kind::Save, .path = path, .filterIndex = filterIndex}); }
void FakeCommonDialog::expectPrint(int copies, bool selection) { script_.enqueue({.kind = Kind::Printer, .copies = copies, .selection = selection}); }
void FakeCommonDialog::expectFont(const FontChoice &choice) { script_.enqueue({.kind = Kind::Font, .font = choice}); }
void FakeCommonDialog::expectCancel() { script_.enqueue({.cancel = true}); }

std::optional<FakeCommonDialog::Answer> FakeCommonDialog::take(Kind kind)
{
    shown_.append({kind, props_});
    const QString what = QStringLiteral("%1 dialog \"%2\"").arg(QLatin1String(kindName(kind)), props_.DialogTitle);
    if (script_.isEmpty()) {
        onFailure(QStringLiteral("unexpected %1").arg(what));
        return std::nullopt;
    }
    const Answer next = script_.dequeue();
    if (!next.cancel && next.kind != kind) {
        onFailure(QStringLiteral("%1 shown where a %2 dialog was scripted")
                      .arg(what, QLatin1String(kindName(next.kind))));
        return std::nullopt;
    }
    return next;
}

bool FakeCommonDialog::showFile(Kind kind)
{
    const std::optional<Answer> answer = take(kind);
    if (!answer || answer->cancel)
        return !props_.CancelError;
    props_.FileName = answer->path;
    props_.FileTitle = QFileInfo(answer->path).fileName();
    const int filters = int(qtNameFilters(props_.Filter).size());
    if (answer->filterIndex > 0)
        props_.FilterIndex = answer->filterIndex;
    else if (filters > 0)
        props_.FilterIndex = filterRowForIndex(props_.FilterIndex, filters) + 1;
    return true;
}

bool FakeCommonDialog::showPrinter()
{
    const bool setup = props_.Flags & cdl::PrintSetup;
    const std::optional<Answer> answer = take(setup ? Kind::PrinterSetup : Kind::Printer);
    if (!answer || answer->cancel)
        return !props_.CancelError;
    if (setup)
        return true;
    if (answer->copies > 0)
        props_.Copies = answer->copies;
    if (answer->selection)
        props_.Flags |= cdl::PrintSelection;
    else
        props_.Flags &= ~cdl::PrintSelection;
    return true;
}

bool FakeCommonDialog::showFont()
{
    const std::optional<Answer> answer = take(Kind::Font);
    if (!answer || answer->cancel)
        return !props_.CancelError;
    props_.FontName = answer->font.name;
    props_.FontSize = answer->font.size;
    props_.FontBold = answer->font.bold;
    props_.FontItalic = answer->font.italic;
    props_.FontUnderline = answer->font.underline;
    props_.FontStrikethru = answer->font.strikethru;
    props_.Color = answer->font.color;
    return true;
}

bool FakeCommonDialog::showHelp()
{
    if (!help_)
        return false;
    if (props_.HelpCommand == cdl::HelpPartialKey)
        return help_->showSearch(props_.HelpFile, QString());
    return help_->showContents(props_.HelpFile);
}

} // namespace testsupport
