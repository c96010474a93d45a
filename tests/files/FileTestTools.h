#pragma once
// Helpers shared by the tests of the atomic writer.
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>

namespace filetest {

inline QByteArray sha256(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// SHA-256 of a file's content, or "missing" when it cannot be read.
inline QByteArray sha256OfFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("missing");
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex();
}

inline bool writePlain(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QByteArray readPlain(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}

// Every entry of a folder, hidden ones included, sorted.
inline QStringList listing(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

inline QByteArray randomBytes(quint32 seed, qsizetype size)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    auto *words = reinterpret_cast<quint32 *>(bytes.data());
    random.fillRange(words, size / 4);
    for (qsizetype i = size / 4 * 4; i < size; ++i)
        bytes[i] = char(random.bounded(256));
    return bytes;
}

// The name a temporary of the writer has beside `targetName`, checked independently of the writer.
inline bool isWriterTemporary(const QString &entry, const QString &targetName)
{
    const QRegularExpression pattern(QStringLiteral("^\\.") + QRegularExpression::escape(targetName)
                                     + QStringLiteral("\\.tarmel-[A-Za-z0-9]{6}$"));
    return pattern.match(entry).hasMatch();
}

// The helper executable built beside the tests.
inline QString childProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/atomic_write_child");
}

} // namespace filetest
