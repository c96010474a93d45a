#include "commands/DateCommands.h"

#include "app/AppContext.h"
#include "app/CommandState.h"
#include "commands/DateFormats.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"
#include "platform/Services.h"

#include <QAction>
#include <QLocale>

namespace tarmel {

DateCommands::DateCommands(AppContext &app) : app_(app)
{
    for (int entry = 1; entry <= 5; ++entry)
        app.registerCommand(QStringLiteral("Mnu_D%1").arg(entry), [this, entry] { Mnu_D_Click(entry); });
    QObject::connect(&app.commands(), &CommandState::editStateRefreshed, &app.commands(),
                     [this] { refreshDateCaptions(); });
}

void DateCommands::Mnu_D_Click(int format)
{
    Form1 *doc = app_.activeDocument();
    if (!doc)
        return;
    app_.RecordUndoSnapshot(doc);
    doc->Text1->setSelText(dateEntryText(format, app_.services().clock->now(), QLocale()));
}

void DateCommands::refreshDateCaptions()
{
    const QDateTime now = app_.services().clock->now();
    const QLocale locale;
    for (int entry = 1; entry <= 5; ++entry) {
        QString caption = dateEntryText(entry, now, locale);
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        app_.commands().item(QStringLiteral("Mnu_D%1").arg(entry))->setText(caption);
    }
}

} // namespace tarmel
