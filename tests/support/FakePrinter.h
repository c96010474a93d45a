#pragma once
#include "platform/Printer.h"

#include <QList>

namespace testsupport {

// Records every document given to print or to preview, and answers with failWith's reason
// when one is set (the document is recorded all the same: the printer was asked).
class FakePrinter final : public platform::Printer {
public:
    enum class Kind { Print, Preview };
    struct Call {
        Kind kind;
        platform::PrintDocument document;
    };

    platform::PrintOutcome print(const platform::PrintDocument &document) override { return record(Kind::Print, document); }
    platform::PrintOutcome preview(const platform::PrintDocument &document) override { return record(Kind::Preview, document); }

    const QList<Call> &calls() const { return calls_; }
    const platform::PrintDocument &last() const { return calls_.constLast().document; }

    QString failWith;

private:
    platform::PrintOutcome record(Kind kind, const platform::PrintDocument &document)
    {
        calls_.append({kind, document});
        if (failWith.isEmpty())
            return {};
        return {false, failWith};
    }
    QList<Call> calls_;
};

} // namespace testsupport
