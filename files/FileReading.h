#pragma once
// Opening a file for reading without ever blocking, and reading no more than it held when opened.
// A name given by the user may lead to anything: a folder, a FIFO that no one writes to, a device
// that never ends (/dev/zero), a file that another program is still writing. Only a regular file is
// read, it is opened without blocking, its size is taken once, and at most that many bytes are read.
#include <QByteArray>
#include <QString>

namespace tarmel {

class ReadableFile {
public:
    // Opens `path` (its bytes as pathToBytes gives them) for reading; see ok() and error().
    explicit ReadableFile(const QString &path);
    ~ReadableFile();
    ReadableFile(const ReadableFile &) = delete;
    ReadableFile &operator=(const ReadableFile &) = delete;

    bool ok() const { return fd_ >= 0; }
    QString error() const { return error_; }   // why it cannot be read (French), when !ok()
    qint64 size() const { return size_; }       // the size when opened
    // The file descriptor, for a reader that takes it over (takeDescriptor: no longer closed here).
    int descriptor() const { return fd_; }
    int takeDescriptor();

    // Reads up to `max` bytes into `data`, never past size(); 0 at the end, -1 on an error.
    qint64 read(char *data, qint64 max);
    // The rest of the file up to size(); false on an error.
    bool readAll(QByteArray *bytes);
    // Back to the first byte; false on an error.
    bool rewind();

private:
    int fd_ = -1;
    qint64 size_ = 0;
    qint64 done_ = 0;
    QString error_;
};

// True when `path` names a regular file that can be opened for reading.
bool isReadableRegularFile(const QString &path);

} // namespace tarmel
