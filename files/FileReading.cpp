#include "files/FileReading.h"

#include "files/FilePaths.h"

#include <cerrno>
#include <limits>
#include <utility>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarmel {

ReadableFile::ReadableFile(const QString &path)
{
    const QByteArray name = pathToBytes(path);
    if (name.isEmpty()) {
        error_ = QStringLiteral("Aucun nom de fichier.");
        return;
    }
    // O_NONBLOCK: opening a FIFO without a writer returns at once instead of waiting for one.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        ::close(fd);
        return;
    }
    if (!S_ISREG(st.st_mode)) {
        error_ = S_ISDIR(st.st_mode) ? QStringLiteral("« %1 » est un dossier.").arg(displayPath(path))
                                     : QStringLiteral("« %1 » n'est pas un fichier ordinaire.").arg(displayPath(path));
        ::close(fd);
        return;
    }
    // A regular file never blocks; reads go back to the ordinary mode.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    fd_ = fd;
    size_ = st.st_size;
}

ReadableFile::~ReadableFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

int ReadableFile::takeDescriptor() { return std::exchange(fd_, -1); }

qint64 ReadableFile::read(char *data, qint64 max)
{
    if (fd_ < 0)
        return -1;
    const qint64 wanted = std::min(max, size_ - done_);
    qint64 got = 0;
    while (got < wanted) {
        const ssize_t n = ::read(fd_, data + got, size_t(wanted - got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error_ = QString::fromLocal8Bit(std::strerror(errno));
            return -1;
        }
        if (n == 0)
            break;   // the file shrank meanwhile: what is there is what it holds
        got += n;
    }
    done_ += got;
    return got;
}

bool ReadableFile::readAll(QByteArray *bytes)
{
    const qint64 left = size_ - done_;
    if (left > qint64(std::numeric_limits<qsizetype>::max() / 2)) {
        error_ = QStringLiteral("Fichier trop volumineux.");
        return false;
    }
    bytes->resize(qsizetype(left));
    const qint64 got = read(bytes->data(), left);
    if (got < 0)
        return false;
    bytes->truncate(qsizetype(got));
    return true;
}

bool ReadableFile::rewind()
{
    if (fd_ < 0 || ::lseek(fd_, 0, SEEK_SET) != 0)
        return false;
    done_ = 0;
    return true;
}

bool isReadableRegularFile(const QString &path)
{
    return ReadableFile(path).ok();
}

} // namespace tarmel
