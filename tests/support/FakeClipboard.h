#pragma once
#include "platform/Clipboard.h"

namespace testsupport {

// An in-memory clipboard. While unreadable, it reads as empty, as the real one does
// when another program holds the clipboard or offers no text.
class FakeClipboard final : public platform::Clipboard {
public:
    void clear() override { text_.clear(); }
    void setText(const QString &text) override { text_ = text; }
    QString text() const override { return readable ? text_ : QString(); }
    QString stored() const { return text_; }

    bool readable = true;

private:
    QString text_;
};

} // namespace testsupport
