#pragma once
// The help collection the build compiled, copies of it, and the help project it came from.
#include <QList>
#include <QString>
#include <QStringList>

namespace helptest {

// Copies the collection and its documentation into folder, as Tarmel.qhc and Tarmel.qch.
bool copyCollection(const QString &folder);
// The attributes of every <element> of the help project in the sources, in order.
QList<QStringList> projectElements(const char *element, const QStringList &attributes);
// "qthelp://tarmel.aide/aide/" followed by a path of the project ("html/index.html").
inline QString topicUrl(const QString &ref) { return QStringLiteral("qthelp://tarmel.aide/aide/") + ref; }

} // namespace helptest
