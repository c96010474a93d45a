#pragma once
#include <array>

namespace tarmel {

// The tool panels of a document window, in the order in which the layout places them.
enum class LayoutPanel { Frame3, Frame6, Frame1, Frame2 };
inline constexpr int kLayoutPanelCount = 4;

struct PanelPlacement {
    bool visible = false;
    int height = 0;
    int top = 0;       // current top; the layout gives the new one
};

struct TextPlacement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Everything the layout of a document window depends on, in pixels of its client area
// (title bar and borders are not part of it, so no margins are taken off).
struct DocumentLayoutInput {
    int width = 0;              // client width
    int height = 0;             // client height
    int statusBarHeight = 0;
    bool minimized = false;
    std::array<PanelPlacement, kLayoutPanelCount> panels{}; // indexed by LayoutPanel
    TextPlacement text1{};      // current geometry of the editing area
};

struct DocumentLayout {
    TextPlacement text1{};
    std::array<int, kLayoutPanelCount> panelTops{}; // indexed by LayoutPanel
};

// Places the editing area and the open panels.
// Unless the window is minimised or has no height: the editing area's height becomes
// H - S; then each visible panel, in the order Frame3, Frame6, Frame1, Frame2, goes to
// top H - S - its height (its bottom meets the status bar) and the editing area's height
// becomes that same value, so the last visible panel in that order decides it.
// A negative height cannot be applied and leaves the height as it was; a panel's top may
// be negative (in a window lower than the panel it is cut off at the top, its bottom still
// on the status bar). Always, at the end: editing area at 0,0 with the client width.
DocumentLayout layoutDocument(const DocumentLayoutInput &input);

} // namespace tarmel
