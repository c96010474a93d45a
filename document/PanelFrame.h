#pragma once
// The tool panels of a document window: each feature builds its controls into one of the
// window's frames.

class QGroupBox;
class QWidget;

namespace tarmel {

// Puts panel into frame, filling it, and grows the frame to what the panel needs.
void fillFrame(QGroupBox *frame, QWidget *panel);

} // namespace tarmel
