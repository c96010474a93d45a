// Writes the generated CAM program of the benchmarks: bench_gen LINES FILE [SEED].
// Windows-1252, CR LF; the same seed gives the same bytes.
#include "bench/BenchSupport.h"

int main(int argc, char **argv)
{
    if (argc < 3 || std::atoll(argv[1]) < 1) {
        std::fprintf(stderr, "usage: %s LINES FILE [SEED]\n", argv[0]);
        return 2;
    }
    const quint32 seed = argc > 3 ? quint32(std::strtoul(argv[3], nullptr, 10)) : 1;
    if (!bench::writeCamProgram(QString::fromLocal8Bit(argv[2]), std::atoll(argv[1]), seed)) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
