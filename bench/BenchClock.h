#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Times for the player benchmarks, all on the wall clock in nanoseconds, so
// that a moment taken by the driver script just before it started a program
// ($EPOCHREALTIME) compares with moments taken inside that program.
namespace BenchClock {

std::int64_t now();

// When this process started: PELLIWICK_T0 (seconds since the epoch, as bash's
// $EPOCHREALTIME gives it, taken just before exec) when the driver set it;
// otherwise the kernel's start time of the process, which is only good to a
// clock tick (10 ms).
std::int64_t processStart();

inline double ms(std::int64_t nanoseconds) {
    return static_cast<double>(nanoseconds) / 1e6;
}

// Milliseconds from the process start to moment.
inline double sinceStart(std::int64_t moment) {
    return ms(moment - processStart());
}

double median(std::vector<double> values);

// One figure on stdout in the form the driver script reads:
// "RESULT name value".
void report(const std::string& name, double value);

} // namespace BenchClock
