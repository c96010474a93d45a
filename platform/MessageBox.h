#pragma once
#include <QString>

class QWidget;

namespace platform {

// Message box flags and answers, as the program's rules name them.
namespace mb {
constexpr int OkOnly = 0;
constexpr int YesNo = 4;
constexpr int Critical = 16;
constexpr int Question = 32;
constexpr int Exclamation = 48;
constexpr int Information = 64;
constexpr int DefaultButton2 = 256;
constexpr int AnswerOk = 1;
constexpr int AnswerYes = 6;
constexpr int AnswerNo = 7;
}

// A modal message box built from a text, the flags above and a title.
// Returns 1 (OK), 6 (Yes) or 7 (No). A box without OK cannot be dismissed by
// Escape or the close button: only one of its buttons answers it.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual int show(const QString &text, int flags, const QString &title) = 0;
};

class QtMessageBox final : public MessageBox {
public:
    explicit QtMessageBox(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    int show(const QString &text, int flags, const QString &title) override;

    // The text as shown: lines broken by CR, LF or CR LF become separate lines.
    static QString displayText(const QString &text);

private:
    QWidget *parent_;
};

} // namespace platform
