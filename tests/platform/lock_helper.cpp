// Stands in for another running instance in the shell tests: asks the shell whether
// another instance runs (taking the lock when none does), prints "first" or "running",
// then keeps whatever it holds until its standard input closes or it is killed.
#include "platform/Shell.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv); // the program folder, and so the lock, come from it
    platform::QtShell shell; // holds the lock, when it got it, until the end
    std::puts(shell.previousInstanceRunning() ? "running" : "first");
    std::fflush(stdout);
    for (char buffer[256]; std::fread(buffer, 1, sizeof buffer, stdin) > 0;) {
    }
    return 0;
}
