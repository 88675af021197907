#include "library/GameMemoryLimit.h"

#include <algorithm>

std::int64_t GameMemoryLimit::reserve(std::int64_t totalBytes) {
    return std::max(totalBytes / 10, ReserveFloor);
}

GameMemoryLimit::Exceeded GameMemoryLimit::judge(std::int64_t gameBytes,
                                                 const std::optional<MachineMemory>& machine) {
    if (!machine)
        return gameBytes > UnknownMachineBound ? Exceeded::FixedBound : Exceeded::Nothing;
    if (gameBytes > machine->totalBytes / 2)
        return Exceeded::HalfTheMachine;
    const std::int64_t kept = reserve(machine->totalBytes);
    if (machine->availableBytes < kept && gameBytes > SmallGame)
        return Exceeded::Reserve;
    return Exceeded::Nothing;
}

std::int64_t GameMemoryLimit::largestGame(std::int64_t gameBytes,
                                          const std::optional<MachineMemory>& machine) {
    if (!machine)
        return UnknownMachineBound;
    // Every byte more the game takes is one fewer available.
    const std::int64_t kept = reserve(machine->totalBytes);
    const std::int64_t untilReserve = gameBytes + machine->availableBytes - kept;
    return std::min(machine->totalBytes / 2, std::max(SmallGame, untilReserve));
}
