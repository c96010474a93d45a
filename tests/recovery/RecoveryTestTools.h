#pragma once
// Journals on disk, as the recovery tests look at them.
#include "recovery/Journal.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace testsupport {

// Every journal under a recovery folder, as "<session>/<file>" paths.
inline QStringList journalFiles(const QString &root)
{
    QStringList found;
    for (const QString &session : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        for (const QString &file : QDir(root + u'/' + session).entryList({QStringLiteral("*.journal")}, QDir::Files))
            found << root + u'/' + session + u'/' + file;
    return found;
}

// The journals under root that decode, whatever their session.
inline QList<tarmel::recovery::JournalEntry> journalEntries(const QString &root)
{
    QList<tarmel::recovery::JournalEntry> entries;
    for (const QString &path : journalFiles(root)) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        if (const auto e = tarmel::recovery::decodeJournal(f.readAll()))
            entries << *e;
    }
    return entries;
}

// True when one journal under root holds exactly this text.
inline bool hasJournalWithText(const QString &root, const QByteArray &text)
{
    for (const tarmel::recovery::JournalEntry &e : journalEntries(root))
        if (e.text == text)
            return true;
    return false;
}

} // namespace testsupport
