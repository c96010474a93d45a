#pragma once
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/CommonDialog.h"
#include "platform/MessageBox.h"
#include "platform/Printer.h"
#include "platform/Recovery.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"

namespace platform {

// The desktop services a main window works with. main.cpp fills it with the real
// ones; tests fill it with fakes. Not owned.
struct Services {
    MessageBox *messageBox = nullptr;
    CommonDialog *commonDialog = nullptr;
    Clipboard *clipboard = nullptr;
    Clock *clock = nullptr;
    SettingsStore *settings = nullptr;
    Shell *shell = nullptr;
    Registry *registry = nullptr;
    Printer *printer = nullptr;
    Recovery *recovery = nullptr; // none: no recovery journal
};

} // namespace platform
