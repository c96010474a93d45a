#include "recovery/FileStamp.h"

#include <QCryptographicHash>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace tarmel {

QByteArray contentHash(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

namespace {

// The stat of a regular file (symbolic links followed, as the file commands read through them).
bool statFile(const QString &path, struct stat &st)
{
    const QByteArray name = QFile::encodeName(path);
    return !name.isEmpty() && ::stat(name.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

QByteArray hashOfFile(const QString &path, qint64 size, qint64 hashLimit)
{
    if (size > hashLimit)
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha1);
    // Never more than the size said: a file that grows while it is read is not followed.
    qint64 left = size;
    while (left > 0) {
        const QByteArray chunk = file.read(qMin<qint64>(left, 1 << 20));
        if (chunk.isEmpty())
            break;
        hash.addData(chunk);
        left -= chunk.size();
    }
    return left == 0 ? hash.result() : QByteArray();
}

} // namespace

FileStamp stampOf(const QString &path, qint64 hashLimit)
{
    FileStamp stamp;
    struct stat st;
    if (!statFile(path, st))
        return stamp;
    stamp.exists = true;
    stamp.size = st.st_size;
    stamp.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.hash = hashOfFile(path, stamp.size, hashLimit);
    return stamp;
}

DiskChange compareWithDisk(const FileStamp &known, const QString &path, FileStamp *current, qint64 hashLimit)
{
    // The metadata first: reading the content is only needed when it differs.
    FileStamp now;
    struct stat st;
    if (statFile(path, st)) {
        now.exists = true;
        now.size = st.st_size;
        now.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
        now.device = st.st_dev;
        now.inode = st.st_ino;
    }
    DiskChange change = DiskChange::Unchanged;
    if (!now.exists) {
        change = known.exists ? DiskChange::Deleted : DiskChange::Unchanged;
    } else if (!known.exists) {
        change = DiskChange::Changed; // a file appeared where there was none
    } else if (now.sameMetadata(known)) {
        now.hash = known.hash;
    } else {
        now.hash = hashOfFile(path, now.size, hashLimit);
        const bool sameContent = now.size == known.size && !known.hash.isEmpty() && now.hash == known.hash;
        change = sameContent ? DiskChange::Unchanged : DiskChange::Changed;
    }
    if (current)
        *current = now;
    return change;
}

bool isReadOnlyFile(const QString &path)
{
    struct stat st;
    if (!statFile(path, st))
        return false;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::access(QFile::encodeName(path).constData(), W_OK) != 0;
}

} // namespace tarmel
