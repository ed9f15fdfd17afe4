#pragma once
// One clock for the driver and the programs it starts: CLOCK_MONOTONIC is
// shared by every process on the machine, so a reading taken just before a
// fork and one printed by the child can be subtracted.

#include <cstdint>
#include <ctime>

namespace bench {

inline std::int64_t MonotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return std::int64_t{ts.tv_sec} * 1'000'000'000 + ts.tv_nsec;
}

}  // namespace bench
