#include "recovery/Journal.h"

#include "files/AtomicWriter.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tarmel::recovery {

namespace {

constexpr char kMagic[] = "TARMEL-JOURNAL 1";
constexpr char kEndMark[] = "\nTARMEL-JOURNAL-END\n";

QByteArray lineEndKey(LineEndStyle style)
{
    switch (style) {
    case LineEndStyle::None: return "none";
    case LineEndStyle::CrLf: return "crlf";
    case LineEndStyle::Lf: return "lf";
    case LineEndStyle::Cr: return "cr";
    case LineEndStyle::Mixed: return "mixed";
    }
    return "none";
}

std::optional<LineEndStyle> lineEndOfKey(const QByteArray &key)
{
    for (LineEndStyle s : {LineEndStyle::None, LineEndStyle::CrLf, LineEndStyle::Lf, LineEndStyle::Cr,
                           LineEndStyle::Mixed}) {
        if (lineEndKey(s) == key)
            return s;
    }
    return std::nullopt;
}

std::optional<qint64> number(const QByteArray &value)
{
    bool ok = false;
    const qint64 n = value.toLongLong(&ok);
    return ok ? std::optional<qint64>(n) : std::nullopt;
}

std::optional<bool> flag(const QByteArray &value)
{
    if (value == "0" || value == "1")
        return value == "1";
    return std::nullopt;
}

} // namespace

QByteArray encodeJournal(const JournalEntry &e)
{
    QByteArray out;
    out.reserve(e.text.size() + 512);
    const auto line = [&out](const char *key, const QByteArray &value) {
        out += key;
        out += '=';
        out += value;
        out += '\n';
    };
    out += kMagic;
    out += '\n';
    // The path percent-encoded: line breaks and any other character survive the header.
    line("path", QUrl::toPercentEncoding(e.path));
    line("written", e.written.toUTC().toString(Qt::ISODateWithMs).toLatin1());
    line("type", e.type == FileType::Rich ? "rich" : "plain");
    line("encoding", e.format.encoding == Encoding::Utf8 ? "utf-8" : "windows-1252");
    line("bom", e.format.bom ? "1" : "0");
    line("lineends", lineEndKey(e.format.lineEnds));
    line("finallineend", e.format.finalLineEnd ? "1" : "0");
    line("base", e.base.exists ? "1" : "0");
    if (e.base.exists) {
        line("basesize", QByteArray::number(e.base.size));
        line("basetime", QByteArray::number(e.base.modifiedNs));
        line("basedevice", QByteArray::number(e.base.device));
        line("baseinode", QByteArray::number(e.base.inode));
        line("basehash", e.base.hash.toHex());
    }
    line("length", QByteArray::number(e.text.size()));
    out += '\n';
    out += e.text;
    out += kEndMark;
    return out;
}

std::optional<JournalEntry> decodeJournal(const QByteArray &bytes)
{
    const QByteArray magic = QByteArray(kMagic) + '\n';
    if (!bytes.startsWith(magic))
        return std::nullopt;
    const qsizetype headerEnd = bytes.indexOf("\n\n", magic.size() - 1);
    if (headerEnd < 0)
        return std::nullopt;
    QHash<QByteArray, QByteArray> fields;
    for (const QByteArray &line : bytes.mid(magic.size(), headerEnd - magic.size()).split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            return std::nullopt;
        fields.insert(line.left(eq), line.mid(eq + 1));
    }
    const auto field = [&fields](const char *key) { return fields.value(QByteArray(key)); };
    const std::optional<qint64> length = number(field("length"));
    const qsizetype textStart = headerEnd + 2;
    const QByteArray endMark(kEndMark);
    if (!length || *length < 0 || bytes.size() - textStart - endMark.size() != *length
        || !bytes.endsWith(endMark))
        return std::nullopt;

    JournalEntry e;
    if (!fields.contains("path"))
        return std::nullopt;
    e.path = QUrl::fromPercentEncoding(field("path"));
    e.written = QDateTime::fromString(QString::fromLatin1(field("written")), Qt::ISODateWithMs);
    const QByteArray type = field("type");
    const QByteArray encoding = field("encoding");
    const std::optional<LineEndStyle> lineEnds = lineEndOfKey(field("lineends"));
    const std::optional<bool> bom = flag(field("bom"));
    const std::optional<bool> finalLineEnd = flag(field("finallineend"));
    const std::optional<bool> base = flag(field("base"));
    if (!e.written.isValid() || (type != "rich" && type != "plain")
        || (encoding != "utf-8" && encoding != "windows-1252") || !lineEnds || !bom || !finalLineEnd || !base)
        return std::nullopt;
    e.type = type == "rich" ? FileType::Rich : FileType::Plain;
    e.format.encoding = encoding == "utf-8" ? Encoding::Utf8 : Encoding::Windows1252;
    e.format.bom = *bom;
    e.format.lineEnds = *lineEnds;
    e.format.finalLineEnd = *finalLineEnd;
    if (*base) {
        const std::optional<qint64> size = number(field("basesize"));
        const std::optional<qint64> time = number(field("basetime"));
        const std::optional<qint64> device = number(field("basedevice"));
        const std::optional<qint64> inode = number(field("baseinode"));
        if (!size || !time || !device || !inode)
            return std::nullopt;
        e.base.exists = true;
        e.base.size = *size;
        e.base.modifiedNs = *time;
        e.base.device = quint64(*device);
        e.base.inode = quint64(*inode);
        e.base.hash = QByteArray::fromHex(field("basehash"));
    }
    e.text = bytes.mid(textStart, *length);
    return e;
}

QString defaultJournalFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(state + QStringLiteral("/tarmel/recovery"));
}

// ---------------------------------------------------------------- this instance's session

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Opens and locks the lock file of a session folder; -1 when it is held by another process
// (or cannot be opened).
int lockSession(const QString &folder, bool create)
{
    const QByteArray path = QFile::encodeName(folder + QStringLiteral("/lock"));
    const int fd = ::open(path.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | (create ? O_CREAT : 0), 0600);
    if (fd < 0)
        return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Removes a session folder that holds nothing but its lock; the lock is let go last.
void removeIfEmpty(const QString &folder, int lockFd)
{
    QDir dir(folder);
    const QStringList left = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (left == QStringList{QStringLiteral("lock")}) {
        dir.remove(QStringLiteral("lock"));
        QDir().rmdir(folder);
    }
    if (lockFd >= 0)
        ::close(lockFd);
}

} // namespace

JournalSession::JournalSession(QString root) : root_(std::move(root)) {}

JournalSession::~JournalSession()
{
    if (!folder_.isEmpty())
        removeIfEmpty(folder_, lockFd_);
}

bool JournalSession::open(QString *error)
{
    if (!folder_.isEmpty())
        return true;
    if (!QDir().mkpath(root_)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(root_, systemError());
        return false;
    }
    QFile::setPermissions(root_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString name = QStringLiteral("%1-%2")
                             .arg(qint64(::getpid()))
                             .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
    const QString hidden = root_ + QStringLiteral("/.") + name + QStringLiteral(".new");
    const QString visible = root_ + QLatin1Char('/') + name;
    int fd = -1;
    if (QDir().mkdir(hidden) && (fd = lockSession(hidden, true)) >= 0
        && ::rename(QFile::encodeName(hidden).constData(), QFile::encodeName(visible).constData()) == 0) {
        folder_ = visible;
        lockFd_ = fd;
        return true;
    }
    if (error)
        *error = QStringLiteral("%1: %2").arg(hidden, systemError());
    if (fd >= 0)
        ::close(fd);
    QFile::remove(hidden + QStringLiteral("/lock"));
    QDir().rmdir(hidden);
    return false;
}

QString JournalSession::journalPath(quint64 id) const
{
    if (folder_.isEmpty())
        return {};
    return folder_ + QLatin1Char('/') + QString::number(id) + QLatin1String(kJournalSuffix);
}

bool JournalSession::write(quint64 id, const JournalEntry &entry, QString *error)
{
    if (!open(error))
        return false;
    const WriteResult result = writeFileAtomically(journalPath(id), encodeJournal(entry));
    if (!result.ok && error)
        *error = result.error;
    return result.ok;
}

void JournalSession::remove(quint64 id)
{
    if (!folder_.isEmpty())
        QFile::remove(journalPath(id));
}

// ---------------------------------------------------------------- sessions of ended instances

OrphanSessions::OrphanSessions(const QString &root)
{
    const QDir dir(root);
    // Hidden names are sessions being made, or anything else than a session.
    for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString folder = dir.filePath(name);
        const int fd = lockSession(folder, true);
        if (fd < 0)
            continue; // its instance runs
        claimed_.append({folder, fd});
        const QDir session(folder);
        for (const QString &file : session.entryList({QStringLiteral("*") + QLatin1String(kJournalSuffix)},
                                                     QDir::Files)) {
            OrphanJournal journal;
            journal.file = session.filePath(file);
            QFile f(journal.file);
            if (f.open(QIODevice::ReadOnly)) {
                const QByteArray bytes = f.readAll();
                if (f.error() == QFileDevice::NoError)
                    journal.entry = decodeJournal(bytes);
            }
            journals_.append(journal);
        }
    }
    std::stable_sort(journals_.begin(), journals_.end(), [](const OrphanJournal &a, const OrphanJournal &b) {
        if (a.entry.has_value() != b.entry.has_value())
            return a.entry.has_value();
        return a.entry && a.entry->written < b.entry->written;
    });
}

OrphanSessions::~OrphanSessions()
{
    for (const Claimed &c : claimed_)
        removeIfEmpty(c.folder, c.lockFd);
}

bool OrphanSessions::discard(const QString &file)
{
    const auto it = std::find_if(journals_.begin(), journals_.end(),
                                 [&file](const OrphanJournal &j) { return j.file == file; });
    if (it == journals_.end() || !QFile::remove(file))
        return false;
    journals_.erase(it);
    return true;
}

} // namespace tarmel::recovery
