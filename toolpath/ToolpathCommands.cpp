#include "toolpath/ToolpathCommands.h"

#include "app/AppContext.h"
#include "app/CommandState.h"
#include "app/DocumentEvents.h"
#include "document/Form1.h"
#include "platform/Services.h"
#include "platform/SettingsStore.h"
#include "toolpath/ToolpathDocument.h"

#include <QAction>

namespace tarmel {

namespace {
const QString kItem = QStringLiteral("Mnu_ParcoursOutil");
const QString kStoreApp = QStringLiteral("Tarmel");
const QString kStoreSection = QStringLiteral("Affichage");
const QString kStoreKey = QStringLiteral("ParcoursOutil");
} // namespace

ToolpathCommands::ToolpathCommands(AppContext &app) : app_(app)
{
    if (QAction *item = app.commands().item(kItem))
        item->setCheckable(true);
    app.registerCommand(kItem, [this] { Mnu_ParcoursOutil_Click(); });
    QObject *events = &app.events();
    QObject::connect(&app.events(), &DocumentEvents::created, events, [this](Form1 *doc) { created(doc); });
    QObject::connect(&app.events(), &DocumentEvents::activated, events, [this](Form1 *doc) { activated(doc); });
    // A closed window's reading is abandoned at once, whenever the window itself goes.
    QObject::connect(&app.events(), &DocumentEvents::closed, events, [](Form1 *doc) {
        if (toolpath::ToolpathDocument *view = of(doc))
            view->setShown(false);
    });
}

toolpath::ToolpathDocument *ToolpathCommands::of(Form1 *doc)
{
    return doc ? doc->findChild<toolpath::ToolpathDocument *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void ToolpathCommands::Mnu_ParcoursOutil_Click()
{
    QAction *item = app_.commands().item(kItem);
    toolpath::ToolpathDocument *view = of(app_.activeDocument());
    if (!view) {
        item->setChecked(false);
        return;
    }
    const bool show = !view->shown();
    view->setShown(show);
    item->setChecked(show);
    app_.services().settings->set(kStoreApp, kStoreSection, kStoreKey, show ? QStringLiteral("1") : QStringLiteral("0"));
}

void ToolpathCommands::created(Form1 *doc)
{
    auto *view = new toolpath::ToolpathDocument(doc, doc);
    if (remembered())
        view->setShown(true);
}

void ToolpathCommands::activated(Form1 *doc)
{
    const toolpath::ToolpathDocument *view = of(doc);
    app_.commands().item(kItem)->setChecked(view && view->shown());
}

bool ToolpathCommands::remembered() const
{
    return app_.services().settings->get(kStoreApp, kStoreSection, kStoreKey) == u"1";
}

} // namespace tarmel
