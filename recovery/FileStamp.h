#pragma once
#include <QByteArray>
#include <QString>

namespace tarmel {

// What is known of a file on disk at one moment, to tell later whether another program
// changed it: its size, modification time and identity (device, inode), and a hash of its
// content when it is small enough to read again cheaply.
struct FileStamp {
    bool exists = false;
    qint64 size = -1;
    qint64 modifiedNs = 0;   // nanoseconds since the epoch
    quint64 device = 0;
    quint64 inode = 0;
    QByteArray hash;         // empty when the file was too large to hash (or missing)

    bool sameMetadata(const FileStamp &other) const
    {
        return exists == other.exists && size == other.size && modifiedNs == other.modifiedNs
            && device == other.device && inode == other.inode;
    }
};

// Files up to this size are hashed; a larger file counts as changed as soon as its size,
// time or identity differ.
inline constexpr qint64 kStampHashLimit = 64LL * 1024 * 1024;

// Reads the stamp of the file at path now (a missing file gives exists == false); a negative
// hashLimit reads the metadata only.
FileStamp stampOf(const QString &path, qint64 hashLimit = kStampHashLimit);
QByteArray contentHash(const QByteArray &bytes);

enum class DiskChange { Unchanged, Changed, Deleted };

// How the file at path stands against what was known of it: the size, time and identity
// first, then the content hash to confirm (a file only touched, or rewritten with the same
// bytes, is unchanged). current receives the file's stamp now.
DiskChange compareWithDisk(const FileStamp &known, const QString &path, FileStamp *current = nullptr,
                           qint64 hashLimit = kStampHashLimit);

// True when the file exists and cannot be written by this user, or has no write permission
// bit at all (the atomic writer refuses such a target even for the super-user).
bool isReadOnlyFile(const QString &path);

} // namespace tarmel
