// Helper process for the writer's tests: saves the content of <source> over <target> with
// writeFileAtomically and exits 0 when the save succeeded, 1 when it failed (the reason on stderr),
// 2 on a usage or set-up error.
//   --fsize N   limit the size of files this process writes to N bytes (RLIMIT_FSIZE) first
//   --wait      after reading the source, print "ready" and wait for one byte on stdin
// SIGXFSZ keeps its default action (ending the process): only the writer's own handling of the
// file size limit can let this process report the failure instead of dying.
#include "files/AtomicWriter.h"

#include <QFile>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    long long fsize = -1;
    bool wait = false;
    int i = 1;
    for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
        if (std::strcmp(argv[i], "--wait") == 0)
            wait = true;
        else if (std::strcmp(argv[i], "--fsize") == 0 && i + 1 < argc)
            fsize = std::atoll(argv[++i]);
        else
            return 2;
    }
    if (argc - i != 2) {
        std::fprintf(stderr, "usage: atomic_write_child [--fsize N] [--wait] <source> <target>\n");
        return 2;
    }
    std::signal(SIGXFSZ, SIG_DFL);

    QFile source(QFile::decodeName(argv[i]));
    if (!source.open(QIODevice::ReadOnly))
        return 2;
    const QByteArray bytes = source.readAll();
    source.close();

    if (fsize >= 0) {
        const rlimit limit{rlim_t(fsize), rlim_t(fsize)};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 2;
    }
    if (wait) {
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
        char go;
        if (::read(STDIN_FILENO, &go, 1) != 1)
            return 2;
    }
    const tarmel::WriteResult result = tarmel::writeFileAtomically(QFile::decodeName(argv[i + 1]), bytes);
    if (!result.ok) {
        std::fprintf(stderr, "%s\n", result.error.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
