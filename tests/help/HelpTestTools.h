#pragma once
// The help collection the build compiled, copies of it, and the help project it came from.
#include <QList>
#include <QString>
#include <QStringList>

namespace helptest {

// Copies the collection and its documentation into folder, as Tarmel.qhc and Tarmel.qch.
bool copyCollection(const QString &folder);

// The help project in the sources: its keywords and its files.
struct Keyword {
    QString name;
    QString id; // empty: a keyword without identifier
    QString ref;
};
QList<Keyword> projectKeywords();
QStringList projectFiles();

// "qthelp://tarmel.aide/aide/" followed by a path of the project ("html/index.html").
QString topicUrl(const QString &ref);

} // namespace helptest
