// A second instance reduced to its hand-off: writes argv[2] into the hand-off folder argv[1].
#include "app/HandOff.h"

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    return tarmel::writeHandOff(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2])) ? 0 : 1;
}
