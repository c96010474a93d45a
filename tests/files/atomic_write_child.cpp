// The writer's tests' helper: [--fsize=N] <source> <target> saves source's bytes over target, under a file size
// limit of N bytes, SIGXFSZ ending the process unless the writer handles it; exits 0 saved, 1 failed (the
// reason on stderr), 2 on a usage error.
#include "files/AtomicWriter.h"

#include <QFile>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>

int main(int argc, char **argv)
{
    const bool limited = argc == 4 && std::strncmp(argv[1], "--fsize=", 8) == 0;
    QFile source(argc == 3 || limited ? QFile::decodeName(argv[argc - 2]) : QString());
    if (!source.open(QIODevice::ReadOnly))
        return 2;
    const QByteArray bytes = source.readAll();
    std::signal(SIGXFSZ, SIG_DFL);
    const rlim_t size = limited ? rlim_t(std::atoll(argv[1] + 8)) : RLIM_INFINITY;
    const rlimit limit{size, size};
    if (limited && setrlimit(RLIMIT_FSIZE, &limit) != 0)
        return 2;
    const tarmel::WriteResult result = tarmel::writeFileAtomically(QFile::decodeName(argv[argc - 1]), bytes);
    if (!result.ok)
        std::fprintf(stderr, "%s\n", result.error.toLocal8Bit().constData());
    return result.ok ? 0 : 1;
}
