#include "document/Layout.h"

namespace tarmel {

DocumentLayout layoutDocument(const DocumentLayoutInput &input)
{
    DocumentLayout layout;
    layout.text1 = input.text1;
    for (int i = 0; i < kLayoutPanelCount; ++i)
        layout.panelTops[i] = input.panels[i].top;

    const auto setTextHeight = [&layout](int height) {
        if (height >= 0)
            layout.text1.height = height;
    };

    if (!input.minimized && input.height != 0) {
        const int above = input.height - input.statusBarHeight;
        setTextHeight(above);
        for (int i = 0; i < kLayoutPanelCount; ++i) {
            const PanelPlacement &panel = input.panels[i];
            if (!panel.visible)
                continue;
            layout.panelTops[i] = above - panel.height;
            setTextHeight(above - panel.height);
        }
    }

    layout.text1.left = 0;
    if (input.width >= 0)
        layout.text1.width = input.width;
    layout.text1.top = 0;
    return layout;
}

} // namespace tarmel
