// See frontend_Shared.h.
#include "frontend_Shared.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace quorvex::linux_host {

namespace {

std::atomic<bool> stopRequested{false};
std::atomic<bool> holdRequested{false};
int wakeWrite = -1;

void OnSignal(int signal) {
    if (signal == SIGUSR1 || signal == SIGUSR2) {
        holdRequested.store(signal == SIGUSR1, std::memory_order_relaxed);
    } else {
        stopRequested.store(true, std::memory_order_relaxed);
    }
    const int saved = errno;
    if (wakeWrite >= 0) {
        const char byte = 1;
        ssize_t ignored = write(wakeWrite, &byte, 1);
        (void)ignored;
    }
    errno = saved;
}

}  // namespace

int InstallSignals() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
    wakeWrite = fds[1];
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGUSR1, SIGUSR2}) sigaction(signal, &sa, nullptr);
    return fds[0];
}

bool StopRequested() { return stopRequested.load(std::memory_order_relaxed); }
bool HoldRequested() { return holdRequested.load(std::memory_order_relaxed); }

void DrainWakePipe(int wakeRead) {
    char buffer[16];
    while (wakeRead >= 0 && read(wakeRead, buffer, sizeof buffer) > 0) {
    }
}

uint32_t ClockSeed() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000000000u + static_cast<uint64_t>(ts.tv_nsec));
}

uint64_t CpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto ms = [](const timeval& t) {
        return static_cast<uint64_t>(t.tv_sec) * 1000u + static_cast<uint64_t>(t.tv_usec) / 1000u;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

int Fail(const std::string& line, int status) {
    std::fprintf(stderr, "quorvex: %s\n", line.c_str());
    return status;
}

void PrintStats(uint32_t frames, uint32_t elapsed, uint64_t cpu, const std::string& note) {
    std::fprintf(stderr, "quorvex: %u frames in %u ms (%.1f per second), %llu ms CPU (%.1f%% of one core), %s\n",
                 frames, elapsed, elapsed ? frames * 1000.0 / elapsed : 0.0, static_cast<unsigned long long>(cpu),
                 elapsed ? cpu * 100.0 / elapsed : 0.0, note.c_str());
}

}  // namespace quorvex::linux_host
