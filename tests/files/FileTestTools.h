#pragma once
// File helpers shared by the tests that write, read and list files. Paths go to the system as their bytes.
#include "files/FilePaths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace filetest {

inline QByteArray sha256(const QByteArray &bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex(); }

inline bool writePlain(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(tarmel::pathToBytes(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    const bool ok = fd >= 0 && ::write(fd, bytes.constData(), size_t(bytes.size())) == ssize_t(bytes.size());
    return fd >= 0 && ::close(fd) == 0 && ok;
}

inline QByteArray readPlain(const QString &path)
{
    QFile file;
    const int fd = ::open(tarmel::pathToBytes(path).constData(), O_RDONLY | O_CLOEXEC);
    return fd >= 0 && file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle) ? file.readAll() : QByteArray("missing");
}

// Every entry, hidden ones included, sorted.
inline QStringList listing(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

inline QByteArray randomBytes(quint32 seed, qsizetype size)
{
    QByteArray bytes((size + 3) / 4 * 4, Qt::Uninitialized);
    QRandomGenerator(seed).fillRange(reinterpret_cast<quint32 *>(bytes.data()), bytes.size() / 4);
    return bytes.left(size);
}

// `file` (mode 0640) holding `bytes` in a read-only `folder`: the folder's mode for a user; for root, who writes
// into any folder, a tmpfs remounted read-only with a writable bind mount of the file. False when not possible here.
inline bool fileInReadOnlyFolder(const QString &folder, const QString &file, const QByteArray &bytes)
{
    const QByteArray dir = QFile::encodeName(folder), name = QFile::encodeName(file);
    if (!QDir().mkpath(folder) || (::geteuid() == 0 && ::mount("tmpfs", dir.constData(), "tmpfs", 0, "size=4m") != 0))
        return false;
    if (!writePlain(file, bytes) || ::chmod(name.constData(), 0640) != 0)
        return false;
    if (::geteuid() != 0)
        return ::chmod(dir.constData(), 0555) == 0;
    return ::mount(name.constData(), name.constData(), nullptr, MS_BIND, nullptr) == 0
           && ::mount(nullptr, dir.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
}

// Undoes fileInReadOnlyFolder (and any mount on the folder), so that the folder can be removed.
inline void releaseFolder(const QString &folder, const QString &file = {})
{
    if (!file.isEmpty())
        ::umount2(QFile::encodeName(file).constData(), MNT_DETACH);
    ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
    ::chmod(QFile::encodeName(folder).constData(), 0700);
}

} // namespace filetest
