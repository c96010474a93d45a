#pragma once
#include "platform/CommonDialog.h"
#include "tests/support/FakeFailure.h"

#include <QList>
#include <QQueue>
#include <optional>

namespace testsupport {

// The common dialog answered from a script, first in first out. Each show*() takes the
// next scripted answer, which must be for that dialog (or a cancel, which fits any),
// and records the properties as the dialog saw them. Accepting writes back what the
// real dialog would; Cancel honours CancelError. An unscripted dialog, or one scripted
// for another dialog, fails the running test and is treated as cancelled.
// showHelp() is no dialog: it goes to the help viewer given, false without one.
class FakeCommonDialog final : public platform::CommonDialog {
public:
    enum class Kind { Open, Save, Printer, PrinterSetup, Font };

    struct Shown {
        Kind kind;
        platform::DialogProperties props; // as at show time
    };

    struct FontChoice {
        QString name;
        double size = 0;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strikethru = false;
        QColor color;
    };

    explicit FakeCommonDialog(platform::HelpViewer *help = nullptr) : help_(help) {}
    void setHelpViewer(platform::HelpViewer *help) { help_ = help; }

    // filterIndex 0 keeps the filter the dialog opened with.
    void expectOpen(const QString &path, int filterIndex = 0);
    void expectSave(const QString &path, int filterIndex = 0);
    // The print dialog: copies 0 keeps Copies as it was; selection sets or clears the
    // selection-range flag.
    void expectPrint(int copies = 0, bool selection = false);
    void expectFont(const FontChoice &choice);
    void expectCancel();

    bool showOpen() override { return showFile(Kind::Open); }
    bool showSave() override { return showFile(Kind::Save); }
    bool showPrinter() override;
    bool showFont() override;
    bool showHelp() override;

    const QList<Shown> &shown() const { return shown_; }
    const Shown &lastShown() const { return shown_.constLast(); }

    FailureHook onFailure = failRunningTest;

private:
    struct Answer {
        bool cancel = false;
        Kind kind = Kind::Open;
        QString path;
        int filterIndex = 0;
        int copies = 0;
        bool selection = false;
        FontChoice font;
    };
    // The next answer for a dialog of this kind, or none (then the show is a cancel).
    std::optional<Answer> take(Kind kind);
    bool showFile(Kind kind);

    platform::HelpViewer *help_;
    QQueue<Answer> script_;
    QList<Shown> shown_;
};

} // namespace testsupport
