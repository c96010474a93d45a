#pragma once
// The document window's own texts, exactly as the user sees them.

#include <QString>

namespace tarmel::texts {

inline QString newDocument() { return QStringLiteral("Nouveau.iso"); }
inline QString statusNotice() { return QStringLiteral("Tarmel - programmes CN"); }
inline QString sizeSuffix() { return QStringLiteral(" Octets"); }

} // namespace tarmel::texts
