#include "app/HandOff.h"

#include "files/FilePaths.h"
#include "files/TextCodec.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace tarmel {

namespace {

const QString kLegacyName = QStringLiteral("Tarmel.tmp");
const QString kWaitingPrefix = QStringLiteral("Tarmel.tmp.");
const QString kClaimedPrefix = QStringLiteral("Tarmel.claimed.");
const QString kPartPrefix = QStringLiteral(".Tarmel.tmp.");

// "<user>.<time>.<pid>.<random>": unique, and in order of creation when sorted.
QString uniqueSuffix(const QString &userKey)
{
    const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 std::chrono::system_clock::now().time_since_epoch())
                                 .count();
    return QStringLiteral("%1.%2.%3.%4")
        .arg(userKey)
        .arg(qint64(nanoseconds), 20, 10, QLatin1Char('0'))
        .arg(QCoreApplication::applicationPid())
        .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
}

// An atomic rename that never falls back to copying.
bool renameFile(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(QFile::encodeName(from).toStdString()),
                            std::filesystem::path(QFile::encodeName(to).toStdString()), error);
    return !error;
}

bool ownedByUser(const QFileInfo &info)
{
#ifdef Q_OS_UNIX
    return info.ownerId() == ::getuid();
#else
    Q_UNUSED(info);
    return true;
#endif
}

QStringList namesStartingWith(const QDir &dir, const QString &prefix, QDir::Filters filters)
{
    QStringList names = dir.entryList(QStringList{prefix + u'*'}, filters, QDir::NoSort);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [&prefix](const QString &name) { return !name.startsWith(prefix); }),
                names.end());
    std::sort(names.begin(), names.end());
    return names;
}

// The path held by a claimed file, which is then deleted. A hand-off holds the name's own bytes;
// the single file of earlier versions holds a text (Windows-1252 unless it is UTF-8).
QString readAndDelete(const QString &claimedPath, bool legacy)
{
    QFile file(claimedPath);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) {
        bytes = file.readAll();
        file.close();
    }
    file.remove();
    if (bytes.endsWith("\r\n"))
        bytes.chop(2);
    else if (bytes.endsWith('\n') || bytes.endsWith('\r'))
        bytes.chop(1);
    return legacy ? decodeToString(bytes) : pathFromBytes(bytes);
}

} // namespace

QString handOffUserKey()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    QString name = qEnvironmentVariable("USERNAME");
    name.removeIf([](QChar c) { return !c.isLetterOrNumber(); });
    return name.isEmpty() ? QStringLiteral("user") : name;
#endif
}

bool writeHandOff(const QString &folder, const QString &path, const QString &userKey)
{
    const QDir dir(folder);
    const QString suffix = uniqueSuffix(userKey);
    const QString partPath = dir.filePath(kPartPrefix + suffix);
    QFile part(partPath);
    if (!part.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    const QByteArray bytes = pathToBytes(path) + "\r\n";   // the name's own bytes
    const bool written = part.write(bytes) == bytes.size() && part.flush();
    part.close();
    if (written && renameFile(partPath, dir.filePath(kWaitingPrefix + suffix)))
        return true;
    QFile::remove(partPath);
    return false;
}

std::optional<QString> takeNextHandOff(const QString &folder, const QString &userKey)
{
    const QDir dir(folder);
    QStringList candidates;
    const QFileInfo legacy(dir.filePath(kLegacyName));
    if (legacy.isFile() && ownedByUser(legacy))
        candidates.append(kLegacyName);
    candidates += namesStartingWith(dir, kWaitingPrefix + userKey + u'.', QDir::Files);

    for (const QString &name : std::as_const(candidates)) {
        // The claimed name keeps the hand-off's own suffix, so that a recovered claim
        // goes back to its place in the order.
        const QString suffix = name == kLegacyName ? uniqueSuffix(userKey) : name.mid(kWaitingPrefix.size());
        const QString claimedPath = dir.filePath(kClaimedPrefix + suffix);
        if (renameFile(dir.filePath(name), claimedPath)) // fails when taken meanwhile
            return readAndDelete(claimedPath, name == kLegacyName);
    }
    return std::nullopt;
}

QStringList takePendingHandOffs(const QString &folder, const QString &userKey)
{
    QStringList paths;
    while (std::optional<QString> path = takeNextHandOff(folder, userKey))
        paths.append(*path);
    return paths;
}

int recoverInterruptedHandOffs(const QString &folder, const QString &userKey)
{
    const QDir dir(folder);
    int recovered = 0;
    const QString claimedPrefix = kClaimedPrefix + userKey + u'.';
    for (const QString &name : namesStartingWith(dir, claimedPrefix, QDir::Files)) {
        const QString waiting = kWaitingPrefix + name.mid(kClaimedPrefix.size());
        if (renameFile(dir.filePath(name), dir.filePath(waiting)))
            ++recovered;
    }
    const QDateTime anHourAgo = QDateTime::currentDateTimeUtc().addSecs(-3600);
    for (const QString &name :
         namesStartingWith(dir, kPartPrefix + userKey + u'.', QDir::Files | QDir::Hidden)) {
        const QFileInfo part(dir.filePath(name));
        if (part.lastModified().toUTC() < anHourAgo)
            QFile::remove(part.filePath());
    }
    return recovered;
}

} // namespace tarmel
