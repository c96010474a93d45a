#include "batch/CommandLine.h"
#include "files/FilePaths.h"

#include <QCoreApplication>

#include <cstdio>

namespace tarmel::batch {

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << tarmel::pathFromBytes(QByteArray(argv[i]));   // a file name keeps its own bytes
    return arguments;
}

int batchMain(int &argc, char **argv, const CommandLineOutcome &outcome)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tarmel"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runBatch(outcome, out, err);
}

} // namespace tarmel::batch
