#include "files/AtomicWriter.h"

#include "files/FilePaths.h"

#include <QFile>
#include <QRandomGenerator>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <dirent.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

namespace tarmel {

#ifdef Q_OS_UNIX
namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString display(const QByteArray &path)
{
    return displayPath(pathFromBytes(path));
}

// The reason of a failed write or create, as the user reads it.
QString reasonOf(int error, const QByteArray &folder)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Le disque est plein.");
    case EFBIG:
        return QStringLiteral("Le fichier dépasse la taille permise.");
    case EROFS:
        return QStringLiteral("Le disque est en lecture seule.");
    case ENOENT:
        return QStringLiteral("Le dossier « %1 » n'existe plus.").arg(display(folder));
    case ENOTDIR:
        return QStringLiteral("Le chemin « %1 » passe par un fichier qui n'est pas un dossier.").arg(display(folder));
    case EACCES:
    case EPERM:
        return QStringLiteral("Le dossier « %1 » est en lecture seule.").arg(display(folder));
    default:
        return systemError(error);
    }
}

WriteResult failure(const QString &message)
{
    return WriteResult{false, message};
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    if (slash == 0)
        return QByteArrayLiteral("/");
    return path.left(slash);
}

QByteArray nameOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

// Follows a chain of symbolic links to the file that holds the content (which may not exist yet).
bool resolveLinks(QByteArray &path, QString *error)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return true;
        QByteArray target(qsizetype(st.st_size > 0 ? st.st_size : 256) + 1, Qt::Uninitialized);
        const ssize_t n = ::readlink(path.constData(), target.data(), size_t(target.size()));
        if (n < 0 || n >= target.size()) {
            *error = QStringLiteral("Lien symbolique illisible : « %1 »").arg(display(path));
            return false;
        }
        target.truncate(n);
        path = target.startsWith('/') ? target : folderOf(path) + '/' + target;
    }
    *error = QStringLiteral("Trop de liens symboliques : « %1 »").arg(display(path));
    return false;
}

// Holds back SIGXFSZ for this thread while the file is written, and discards the one that a file
// size limit raises, so that the limit turns into an ordinary write error (EFBIG).
class FileSizeSignalGuard {
public:
    FileSizeSignalGuard()
    {
        sigemptyset(&m_signal);
        sigaddset(&m_signal, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &m_signal, &m_previous);
    }
    ~FileSizeSignalGuard()
    {
        if (!sigismember(&m_previous, SIGXFSZ)) {
            sigset_t pending;
            sigpending(&pending);
            const timespec now{0, 0};
            if (sigismember(&pending, SIGXFSZ))
                sigtimedwait(&m_signal, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }
    FileSizeSignalGuard(const FileSizeSignalGuard &) = delete;
    FileSizeSignalGuard &operator=(const FileSizeSignalGuard &) = delete;

private:
    sigset_t m_signal;
    sigset_t m_previous;
};

// The temporary file's name: ".<name>.tarmel-XXXXXX", the name shortened (at a UTF-8 character
// boundary) so that the whole stays within the usual 255-byte limit of a file name.
QByteArray temporaryPrefix(QByteArray name)
{
    if (name.size() > 200) {
        qsizetype cut = 200;
        while (cut > 0 && (uchar(name.at(cut)) & 0xC0) == 0x80)
            --cut;
        name.truncate(cut);
    }
    return "." + name + temporaryInfix;
}

QByteArray temporaryPath(const QByteArray &folder, const QByteArray &name)
{
    static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray result = folder + "/" + temporaryPrefix(name);
    for (int i = 0; i < 6; ++i)
        result += letters[QRandomGenerator::system()->bounded(int(sizeof letters) - 1)];
    return result;
}

int createTemporary(const QByteArray &folder, const QByteArray &name, bool targetExists,
                    QByteArray *tempPath)
{
    // A new file gets 0666 less the umask (and the folder's default ACL) from the system itself;
    // one replacing a target stays private until it gets the target's mode, once written.
    const mode_t mode = targetExists ? 0600 : 0666;
    for (int attempt = 0; attempt < 100; ++attempt) {
        *tempPath = temporaryPath(folder, name);
        const int fd = ::open(tempPath->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return fd;
        // The lock marks the save as running. A cleaner of another save may have taken the file
        // away between its creation and the lock: then it is made again.
        struct stat st;
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &st) == 0 && st.st_nlink > 0)
            return fd;
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

// Removes the temporary files of earlier saves of this target that no running save holds.
void removeStaleTemporaries(const QByteArray &folder, const QByteArray &name)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    const QByteArray prefix = temporaryPrefix(name);
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArrayView entryName(entry->d_name);
        if (entryName.size() != prefix.size() + 6 || !entryName.startsWith(prefix))
            continue;
        const QByteArray path = folder + "/" + entryName.toByteArray();
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            continue;
        struct stat st;
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid()
            && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
        ::close(fd);
    }
    ::closedir(dir);
}

int writeAll(int fd, QByteArrayView bytes)
{
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        data += n;
        left -= n;
    }
    return 0;
}

// Gives the temporary file the existing target's owner and mode (owner first: a change of owner
// clears the set-user-ID bits).
int copyOwnerAndMode(int fd, const struct stat &target)
{
    struct stat own;
    if (::fstat(fd, &own) != 0)
        return errno;
    if (own.st_uid != target.st_uid || own.st_gid != target.st_gid) {
        // Allowed to root and, for the group, to a member of it; otherwise the new file stays ours.
        if (::fchown(fd, target.st_uid, target.st_gid) != 0)
            (void)::fchown(fd, own.st_uid, target.st_gid);
    }
    return ::fchmod(fd, target.st_mode & 07777) == 0 ? 0 : errno;
}

// Writes and syncs the temporary file; 0 or the errno of the failing step. The target's owner and
// mode come after the content: a write by an unprivileged process clears set-user-ID. The file stays
// open, and locked, until it has its final name.
int fillTemporary(int fd, QByteArrayView bytes, const struct stat *target)
{
    int error = 0;
    {
        FileSizeSignalGuard guard;
        error = writeAll(fd, bytes);
    }
    if (error == 0 && target)
        error = copyOwnerAndMode(fd, *target);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    return error;
}

// Rewrites the target in place, for a folder where no temporary file can be made.
WriteResult rewriteInPlace(const QByteArray &target, const QString &path, QByteArrayView bytes,
                           const SecureBeforeRewrite &secure)
{
    const int fd = ::open(target.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return failure(reasonOf(errno, folderOf(target)));
    int error = 0;
    if (secure && !secure(path)) {
        ::close(fd);
        return failure(QStringLiteral("Le texte n'a pas pu être mis en lieu sûr avant de réécrire le fichier."));
    }
    {
        FileSizeSignalGuard guard;
        // Room first: a full disk or a size limit fails here, before any byte of the file changes
        // (a file the reservation lengthened before failing gets its old length back).
        struct stat before;
        const bool sized = ::fstat(fd, &before) == 0;
        if (!bytes.isEmpty() && (error = ::posix_fallocate(fd, 0, off_t(bytes.size()))) == EOPNOTSUPP)
            error = 0;
        if (error != 0 && sized)
            (void)::ftruncate(fd, before.st_size);
        if (error == 0)
            error = writeAll(fd, bytes);
    }
    if (error == 0 && ::ftruncate(fd, off_t(bytes.size())) != 0)
        error = errno;
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    return error == 0 ? WriteResult{true, QString()} : failure(reasonOf(error, folderOf(target)));
}

int syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = 0;
    if (::fsync(fd) != 0 && errno != EINVAL)   // EINVAL: the file system has nothing to sync
        error = errno;
    ::close(fd);
    return error;
}

// Refuses the targets that a rename must not replace; `exists` tells whether there is one.
bool checkTarget(const QByteArray &path, struct stat *st, bool *exists, QString *error)
{
    *exists = ::lstat(path.constData(), st) == 0;
    if (!*exists) {
        if (errno == ENOENT)
            return true;   // a new file (a missing folder shows when the temporary is created)
        *error = reasonOf(errno, folderOf(path));
        return false;
    }
    if (S_ISDIR(st->st_mode))
        *error = QStringLiteral("« %1 » est un dossier.").arg(display(path));
    else if (!S_ISREG(st->st_mode))
        *error = QStringLiteral("« %1 » n'est pas un fichier ordinaire.").arg(display(path));
    else if ((st->st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        *error = QStringLiteral("Le fichier est en lecture seule.");
    else if (::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0)
        *error = errno == EROFS ? reasonOf(EROFS, folderOf(path)) : QStringLiteral("Le fichier est en lecture seule.");
    else
        return true;
    return false;
}

} // namespace

WriteResult writeFileAtomically(const QString &path, QByteArrayView bytes, const SecureBeforeRewrite &secure)
{
    if (path.isEmpty())
        return failure(QStringLiteral("Aucun nom de fichier."));
    QByteArray target = pathToBytes(path);
    QString error;
    struct stat st;
    bool exists = false;
    if (!resolveLinks(target, &error) || !checkTarget(target, &st, &exists, &error))
        return failure(error);

    const QByteArray folder = folderOf(target);
    removeStaleTemporaries(folder, nameOf(target));
    QByteArray temp;
    const int fd = createTemporary(folder, nameOf(target), exists, &temp);
    if (fd < 0) {
        const int e = errno;
        if (exists && (e == EACCES || e == EPERM || e == EROFS))
            return rewriteInPlace(target, path, bytes, secure);
        return failure(reasonOf(e, folder));
    }
    if (const int e = fillTemporary(fd, bytes, exists ? &st : nullptr)) {
        ::unlink(temp.constData());
        ::close(fd);
        return failure(reasonOf(e, folder));
    }
    const int renamed = ::rename(temp.constData(), target.constData()) == 0 ? 0 : errno;
    if (renamed != 0)
        ::unlink(temp.constData());
    // Closed (and unlocked) only once the temporary file has its final name or is gone.
    const int closed = ::close(fd) == 0 || errno == EINTR ? 0 : errno;
    if (renamed != 0)
        return failure(QStringLiteral("Impossible de remplacer « %1 » : %2").arg(display(target), reasonOf(renamed, folder)));
    if (closed != 0)
        return failure(reasonOf(closed, folder));
    // The new content is in place; a failing folder sync means it may not survive a power cut,
    // so the save is reported as failed and the document stays modified.
    if (const int e = syncFolder(folder)) {
        return failure(QStringLiteral("L'enregistrement de « %1 » n'est pas confirmé sur le disque : %2")
                           .arg(display(target), systemError(e)));
    }
    return WriteResult{true, QString()};
}

#else

// Elsewhere QSaveFile gives the same guarantee through the platform's own replace operation.
WriteResult writeFileAtomically(const QString &path, QByteArrayView bytes, const SecureBeforeRewrite &)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return WriteResult{false, file.errorString()};
    if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return WriteResult{false, error};
    }
    if (!file.commit())
        return WriteResult{false, file.errorString()};
    return WriteResult{true, QString()};
}

#endif

} // namespace tarmel
