// Start-up time and peak memory of Kestrova against the floor program, launched alternately
// so that both see the same machine state. Each program reports its first frame itself.
// Usage: startup_bench RUNS KESTROVA_PROGRAM FLOOR_PROGRAM
#include "bench_table.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct Launch {
    double milliseconds;
    double peakMebibytes;
};

long long monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

bool launch(const char* program, Launch& result) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    char* argv[] = {const_cast<char*>(program), nullptr};
    pid_t child = 0;
    const long long start = monotonicNanoseconds();
    const int error = posix_spawn(&child, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (error != 0) {
        close(pipeEnds[0]);
        return false;
    }
    std::FILE* output = fdopen(pipeEnds[0], "r");
    long long frameAt = 0;
    long peakKilobytes = 0;
    const bool reported =
        std::fscanf(output, "first-frame %lld %ld", &frameAt, &peakKilobytes) == 2;
    std::fclose(output);
    int status = 0;
    waitpid(child, &status, 0);
    result = {static_cast<double>(frameAt - start) / 1e6,
              static_cast<double>(peakKilobytes) / 1024};
    return reported && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s RUNS KESTROVA_PROGRAM FLOOR_PROGRAM\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    using kestrova::bench::Series;
    Series kestrovaTime{"start-up to first frame (Xvfb)", "Kestrova", "ms", {}};
    Series floorTime{"start-up to first frame (Xvfb)", "Qt floor: window + label", "ms", {}};
    Series kestrovaMemory{"peak resident memory (VmHWM)", "Kestrova", "MiB", {}};
    Series floorMemory{"peak resident memory (VmHWM)", "Qt floor: window + label", "MiB", {}};

    Launch warmUp{}; // the first launches fill the file cache; they are not counted
    launch(argv[2], warmUp);
    launch(argv[3], warmUp);
    for (int run = 0; run < runs; ++run) {
        // Alternate which goes first, so neither always follows the other.
        const bool kestrovaFirst = run % 2 == 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool isKestrova = (turn == 0) == kestrovaFirst;
            Launch result{};
            if (!launch(isKestrova ? argv[2] : argv[3], result)) {
                std::fprintf(stderr, "%s did not report its first frame\n",
                             isKestrova ? argv[2] : argv[3]);
                return 1;
            }
            (isKestrova ? kestrovaTime : floorTime).values.push_back(result.milliseconds);
            (isKestrova ? kestrovaMemory : floorMemory).values.push_back(result.peakMebibytes);
        }
    }
    kestrova::bench::printPair(kestrovaTime, floorTime, 1.10);
    kestrova::bench::printPair(kestrovaMemory, floorMemory, 1.10);
    return 0;
}
