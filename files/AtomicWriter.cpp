#include "files/AtomicWriter.h"

#include <QFile>
#include <QRandomGenerator>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
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
    return QFile::decodeName(path);
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
QByteArray temporaryPath(const QByteArray &folder, QByteArray name)
{
    static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    if (name.size() > 200) {
        qsizetype cut = 200;
        while (cut > 0 && (uchar(name.at(cut)) & 0xC0) == 0x80)
            --cut;
        name.truncate(cut);
    }
    QByteArray result = folder + "/." + name + temporaryInfix;
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
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
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

// Writes, syncs and closes the temporary file; 0 or the errno of the failing step. The target's
// owner and mode come after the content: a write by an unprivileged process clears set-user-ID.
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
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    return error;
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
        *error = QStringLiteral("Impossible d'accéder à « %1 » : %2").arg(display(path), systemError(errno));
        return false;
    }
    if (S_ISDIR(st->st_mode))
        *error = QStringLiteral("« %1 » est un dossier.").arg(display(path));
    else if (!S_ISREG(st->st_mode))
        *error = QStringLiteral("« %1 » n'est pas un fichier ordinaire.").arg(display(path));
    else if ((st->st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0
             || ::faccessat(AT_FDCWD, path.constData(), W_OK, AT_EACCESS) != 0)
        *error = QStringLiteral("Le fichier « %1 » est en lecture seule.").arg(display(path));
    else
        return true;
    return false;
}

} // namespace

WriteResult writeFileAtomically(const QString &path, QByteArrayView bytes)
{
    if (path.isEmpty())
        return failure(QStringLiteral("Aucun nom de fichier."));
    QByteArray target = QFile::encodeName(path);
    QString error;
    struct stat st;
    bool exists = false;
    if (!resolveLinks(target, &error) || !checkTarget(target, &st, &exists, &error))
        return failure(error);

    const QByteArray folder = folderOf(target);
    QByteArray temp;
    const int fd = createTemporary(folder, nameOf(target), exists, &temp);
    if (fd < 0) {
        return failure(QStringLiteral("Impossible de créer un fichier dans le dossier « %1 » : %2")
                           .arg(display(folder), systemError(errno)));
    }
    if (const int e = fillTemporary(fd, bytes, exists ? &st : nullptr)) {
        ::unlink(temp.constData());
        return failure(QStringLiteral("Erreur d'écriture de « %1 » : %2").arg(display(target), systemError(e)));
    }
    if (::rename(temp.constData(), target.constData()) != 0) {
        const int e = errno;
        ::unlink(temp.constData());
        return failure(QStringLiteral("Impossible de remplacer « %1 » : %2").arg(display(target), systemError(e)));
    }
    // The new content is in place; a failing folder sync means it may not survive a power cut,
    // so the save is reported as failed and the document stays modified.
    if (const int e = syncFolder(folder)) {
        return failure(QStringLiteral("Enregistrement de « %1 » non confirmé sur le disque : %2")
                           .arg(display(target), systemError(e)));
    }
    return WriteResult{true, QString()};
}

#else

// Elsewhere QSaveFile gives the same guarantee through the platform's own replace operation.
WriteResult writeFileAtomically(const QString &path, QByteArrayView bytes)
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
