#pragma once

namespace platform {

// Caps Lock and Num Lock as the keyboard shows them. Read from the X server (XKB) when
// the program runs on X11; elsewhere (offscreen, Wayland) both read as off.
struct KeyboardLights {
    bool capsLock = false;
    bool numLock = false;
};

KeyboardLights keyboardLights();

} // namespace platform
