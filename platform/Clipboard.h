#pragma once
#include <QString>

namespace platform {

// The desktop clipboard, text only. A clipboard that cannot be read reads as empty.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual void setText(const QString &text) = 0;
    virtual QString text() const = 0;
};

class QtClipboard final : public Clipboard {
public:
    void clear() override;
    void setText(const QString &text) override;
    QString text() const override;
};

} // namespace platform
