#pragma once
// The program's features, each with its commands. The main window builds this list once;
// the tests build the same list through the main window.

#include "app/WindowCommands.h"
#include "checks/CheckCommands.h"
#include "commands/DateCommands.h"
#include "commands/ToolCommands.h"
#include "commands/ToolbarCommands.h"
#include "editing/EditCommands.h"
#include "files/FileCommands.h"
#include "help/HelpCommands.h"
#include "numbering/NumberingCommands.h"
#include "printing/PrintingCommands.h"
#include "recovery/ExternalChangeCommands.h"
#include "recovery/RecoveryCommands.h"
#include "search/SearchCommands.h"
#include "settings/SettingsCommands.h"
#include "toolpath/ToolpathCommands.h"
#include "transform/TransformCommands.h"

namespace tarmel {

struct Features {
    Features(AppContext &app, QMdiArea *mdi, QMenu *windowMenu)
        : edit(app), files(app), search(app), numbering(app), transform(app), dates(app), toolbar(app), tools(app),
          help(app), settings(app), disk(app), recovery(app, disk), printing(app), checks(app), toolpath(app),
          windows(app, mdi, windowMenu)
    {
        files.setSecureBeforeRewrite([this](Form1 *doc, const QString &) { return recovery.secureBeforeRewrite(doc); });
    }

    EditCommands edit; // first: it watches a new document's editing area before the others do
    FileCommands files;
    SearchCommands search;
    NumberingCommands numbering;
    TransformCommands transform;
    DateCommands dates;
    ToolbarCommands toolbar;
    ToolCommands tools;
    HelpCommands help;
    SettingsCommands settings;
    ExternalChangeCommands disk;
    RecoveryCommands recovery;
    PrintingCommands printing;
    CheckCommands checks;
    ToolpathCommands toolpath;
    WindowCommands windows;
};

} // namespace tarmel
