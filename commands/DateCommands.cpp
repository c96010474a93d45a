// Date and time insertion, and the captions of its five entries.
#include "app/MDIForm1.h"
#include "commands/DateFormats.h"
#include "document/Form1.h"
#include "platform/RichTextBox.h"

#include <QAction>
#include <QLocale>

namespace tarmel {

void MDIForm1::Mnu_D_Click(int format)
{
    Form1 *doc = activeDocument();
    if (!doc)
        return;
    RecordUndoSnapshot(doc);
    doc->Text1->setSelText(dateEntryText(format, services_.clock->now(), QLocale()));
}

void MDIForm1::refreshDateCaptions()
{
    const QDateTime now = services_.clock->now();
    const QLocale locale;
    for (int entry = 1; entry <= 5; ++entry) {
        QString caption = dateEntryText(entry, now, locale);
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        action(QStringLiteral("Mnu_D%1").arg(entry))->setText(caption);
    }
}

} // namespace tarmel
