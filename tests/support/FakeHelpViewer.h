#pragma once
#include "platform/HelpViewer.h"

#include <QList>

namespace testsupport {

// Records what the program asked the help viewer to show; answers result.
class FakeHelpViewer final : public platform::HelpViewer {
public:
    struct Call {
        bool search = false; // false: contents
        QString helpFile;
        QString keyword;
    };

    bool showContents(const QString &helpFile) override
    {
        calls.append({false, helpFile, QString()});
        return result;
    }
    bool showSearch(const QString &helpFile, const QString &keyword) override
    {
        calls.append({true, helpFile, keyword});
        return result;
    }

    QList<Call> calls;
    bool result = true;
};

} // namespace testsupport
