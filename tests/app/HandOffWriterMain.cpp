// A second instance reduced to its hand-off: writes argv[2] into the hand-off folder argv[1].
#include "app/HandOff.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return 2;
    return tarmel::writeHandOff(args[1], args[2]) ? 0 : 1;
}
