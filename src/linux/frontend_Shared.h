// What the X11 and the Wayland runs share around their loops: the stop
// signals, the seed, the CPU clock, the error line and the --stats summary.
#pragma once

#include <cstdint>
#include <string>

namespace quorvex::linux_host {

// SIGTERM and SIGINT end the run cleanly; SIGUSR1 holds the picture (no
// frame is drawn, what the window loses is put back) until SIGUSR2. Each sets
// its flag and writes to a pipe whose read end (returned; -1 without one)
// wakes the loop's poll.
int InstallSignals();
bool StopRequested();
bool HoldRequested();
// Empties the wake pipe after a poll saw it readable.
void DrainWakePipe(int wakeRead);

// Low bits of a fast clock, as the Windows saver seeds from its performance counter.
uint32_t ClockSeed();
// The process's user and system time.
uint64_t CpuMs();

// "quorvex: LINE" on stderr; returns status.
int Fail(const std::string& line, int status);

// The --stats line: frames, time, CPU share, and what the back end adds.
void PrintStats(uint32_t frames, uint32_t elapsedMs, uint64_t cpuMs, const std::string& note);

}  // namespace quorvex::linux_host
