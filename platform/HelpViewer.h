#pragma once
#include <QString>

namespace platform {

// Shows the program's help file: its contents, or its keyword search.
class HelpViewer {
public:
    virtual ~HelpViewer() = default;
    virtual bool showContents(const QString &helpFile) = 0;
    virtual bool showSearch(const QString &helpFile, const QString &keyword) = 0;
};

} // namespace platform
