#pragma once
#include <QString>
#include <QStringList>

#include <optional>

namespace tarmel {

// Hand-off of a file from a second instance to the running one, through files in a folder.
//
// Each hand-off is a file of its own, so simultaneous hand-offs never overwrite each other:
//   ".Tarmel.tmp.<user>.<time>.<pid>.<random>"   being written (hidden, never taken)
//   "Tarmel.tmp.<user>.<time>.<pid>.<random>"    complete, waiting to be taken
//   "Tarmel.claimed.<user>.<time>.<pid>.<random>" being taken by the running instance
// <user> keeps hand-offs per user (the uid here); <time> (nanoseconds since the epoch,
// 20 digits) orders them oldest first. The content is the path in UTF-8 followed by CR LF.
// The single "Tarmel.tmp" file of earlier versions is also taken, when it belongs to the user.

// The <user> part of this process's hand-off names.
QString handOffUserKey();

// Second instance: writes the path under a hidden name and renames it into place once
// complete. False when the folder cannot be written.
bool writeHandOff(const QString &folder, const QString &path,
                  const QString &userKey = handOffUserKey());

// Running instance: the oldest complete hand-off of the user, or nothing. The file is
// claimed (renamed) before it is read, so it is never returned twice, not even by a
// re-entrant call made while the caller is still opening an earlier path, and not to two
// processes; it is deleted before the path is returned. The path is the whole content but
// for its final line end: commas, quotes and even line breaks inside it stay.
std::optional<QString> takeNextHandOff(const QString &folder,
                                       const QString &userKey = handOffUserKey());

// Every pending hand-off, oldest first (takeNextHandOff until there is none). A poll that
// opens each path before taking the next (takeNextHandOff) loses nothing if it crashes
// while opening one: the others are still waiting for the next start.
QStringList takePendingHandOffs(const QString &folder, const QString &userKey = handOffUserKey());

// Start-up of the running instance, before its first poll. A claimed file can only be
// left by an instance that died between claiming it and deleting it, before its path
// was handed to anyone: it is put back to be taken again. A hidden part-written file
// older than an hour is a second instance's that died while writing: it is deleted.
// Returns the number of claimed hand-offs put back.
int recoverInterruptedHandOffs(const QString &folder, const QString &userKey = handOffUserKey());

} // namespace tarmel
