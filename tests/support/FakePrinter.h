#pragma once
#include "platform/Printer.h"

#include <QList>

namespace testsupport {

// Records every document given to print or to preview; answers with failWith as the reason
// when it is set.
class FakePrinter final : public platform::Printer {
public:
    enum class Kind { Print, Preview };
    struct Call {
        Kind kind;
        platform::PrintDocument document;
    };

    platform::PrintOutcome print(const platform::PrintDocument &d) override { return record(Kind::Print, d); }
    platform::PrintOutcome preview(const platform::PrintDocument &d) override { return record(Kind::Preview, d); }

    QList<Call> calls;
    QString failWith;

private:
    platform::PrintOutcome record(Kind kind, const platform::PrintDocument &document)
    {
        calls.append({kind, document});
        return {failWith.isEmpty(), failWith};
    }
};

} // namespace testsupport
