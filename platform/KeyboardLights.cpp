#include "platform/KeyboardLights.h"

#include <QGuiApplication>

#include <xcb/xcb.h>
// The XKB header names a member "explicit", a C++ keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <cstdlib>

namespace platform {

namespace {

xcb_connection_t *x11Connection()
{
    auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

bool useXkb(xcb_connection_t *c)
{
    static xcb_connection_t *checked = nullptr;
    static bool usable = false;
    if (c != checked) {
        checked = c;
        xcb_xkb_use_extension_reply_t *reply =
            xcb_xkb_use_extension_reply(c, xcb_xkb_use_extension(c, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION), nullptr);
        usable = reply && reply->supported;
        std::free(reply);
    }
    return usable;
}

} // namespace

KeyboardLights keyboardLights()
{
    KeyboardLights lights;
    xcb_connection_t *c = x11Connection();
    if (!c || !useXkb(c))
        return lights;
    xcb_xkb_get_state_reply_t *state =
        xcb_xkb_get_state_reply(c, xcb_xkb_get_state(c, XCB_XKB_ID_USE_CORE_KBD), nullptr);
    if (state) {
        lights.capsLock = state->lockedMods & XCB_MOD_MASK_LOCK;
        lights.numLock = state->lockedMods & XCB_MOD_MASK_2; // Num Lock is Mod2 on every usual keymap
        std::free(state);
    }
    return lights;
}

} // namespace platform
