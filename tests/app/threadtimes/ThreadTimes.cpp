// thread_times <pid>: looks at the threads of a running process every few
// milliseconds until it has ended, then prints "sanitizer 0|1" (whether this
// build, the player's, is a sanitizer's), a line "<moment> <thread> <ran>
// <waited>" for each thread at each look that found its counts changed (the
// moment on CLOCK_BOOTTIME, the clock of /proc/uptime; the seconds it ran and
// waited for a processor so far), and "end <moment>" at the look that found the
// process ended. The kernel keeps a thread's counts only while it lives, and
// no sum of them for the process: a thread that ends before the process takes
// no more than its last few milliseconds with it.
#include <cstdio>
#include <fstream>
#include <map>
#include <string>

#include "tests/kit/WallSeconds.h"

namespace {

constexpr useconds_t LookUs = 5000;

// A process ended, or a zombie not yet waited for.
bool Ended(pid_t process)
{
    std::ifstream stat("/proc/" + std::to_string(process) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return true;
    const std::size_t state = line.rfind(") ");
    return state == std::string::npos || line[state + 2] == 'Z' || line[state + 2] == 'X';
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: thread_times <pid>\n");
        return 2;
    }
    const pid_t process = pid_t(std::stoi(argv[1]));
    std::printf("sanitizer %d\n", testkit::SanitizerBuild ? 1 : 0);
    std::map<pid_t, testkit::Scheduled> seen;
    for (bool ended = false; !ended; usleep(LookUs)) {
        ended = Ended(process);
        const double moment = testkit::WallSeconds(CLOCK_BOOTTIME);
        for (const auto& [thread, times] : testkit::ThreadsScheduled(process)) {
            testkit::Scheduled& last = seen[thread];
            if (times.running == last.running && times.waiting == last.waiting) continue;
            last = times;
            std::printf("%.4f %d %.4f %.4f\n", moment, int(thread), times.running, times.waiting);
        }
        if (ended) std::printf("end %.4f\n", moment);
    }
    return 0;
}
