#pragma once
// Journals on disk, as the recovery tests look at them.
#include "recovery/Journal.h"

#include <QDir>
#include <QFile>

namespace testsupport {

// Every journal under a recovery folder, whatever its session.
inline QStringList journalFiles(const QString &root)
{
    QStringList found;
    for (const QString &session : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        for (const QString &file : QDir(root + u'/' + session).entryList({QStringLiteral("*.journal")}, QDir::Files))
            found << root + u'/' + session + u'/' + file;
    return found;
}

// The journals under root that decode.
inline QList<tarmel::recovery::JournalEntry> journalEntries(const QString &root)
{
    QList<tarmel::recovery::JournalEntry> entries;
    for (QFile f : journalFiles(root))
        if (const auto e = f.open(QIODevice::ReadOnly) ? tarmel::recovery::decodeJournal(f.readAll()) : std::nullopt)
            entries << *e;
    return entries;
}

inline bool hasJournalWithText(const QString &root, const QByteArray &text)
{
    const auto entries = journalEntries(root);
    return std::any_of(entries.begin(), entries.end(), [&](const auto &e) { return e.text == text; });
}

} // namespace testsupport
