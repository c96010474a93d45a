#pragma once
#include "platform/Services.h"
#include "settings/MemoryRegistry.h"
#include "tests/support/FakeClipboard.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeCommonDialog.h"
#include "tests/support/FakeHelpViewer.h"
#include "tests/support/FakeMessageBox.h"
#include "tests/support/FakePrinter.h"
#include "tests/support/FakeRecovery.h"
#include "tests/support/FakeSettingsStore.h"
#include "tests/support/FakeShell.h"

namespace testsupport {

// One fake of each desktop service; services() hands them to a main window. The common
// dialog's help goes to helpViewer. Not copyable: services() points into this object.
struct FakeServices {
    FakeServices() { commonDialog.setHelpViewer(&helpViewer); }
    FakeServices(const FakeServices &) = delete;
    FakeServices &operator=(const FakeServices &) = delete;

    platform::Services services()
    {
        return {.messageBox = &messageBox, .commonDialog = &commonDialog, .clipboard = &clipboard, .clock = &clock,
                .settings = &settings, .shell = &shell, .registry = &registry, .printer = &printer, .recovery = &recovery};
    }

    FakeHelpViewer helpViewer;
    FakeMessageBox messageBox;
    FakeCommonDialog commonDialog;
    FakeClipboard clipboard;
    FakeClock clock;
    FakeSettingsStore settings;
    FakeShell shell;
    tarmel::MemoryRegistry registry;
    FakePrinter printer;
    FakeRecovery recovery;
};

} // namespace testsupport
