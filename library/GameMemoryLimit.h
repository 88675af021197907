#pragma once

#include "library/MachineMemory.h"

#include <cstdint>
#include <optional>

// When a game's memory threatens the machine, judged at every moment from
// what the game's page holds against what the machine has and has left. The
// machine keeps a reserve for everything else: a tenth of its memory (what
// earlyoom keeps free by default on Linux desktops), and at least 512 MB, the
// room the other programs' files need to stay in memory and their next
// allocations need. A game is stopped when the machine has less than the
// reserve left while the game holds more than 512 MB (less is what any page
// holds with a small game: a machine that is short then owes it to other
// programs), or when it holds more than half of the machine: with swap, what
// is available can hold up while the kernel swaps the other programs out for
// the game.
class GameMemoryLimit {
public:
    enum class Exceeded {
        Nothing,
        // The machine has less than its reserve left.
        Reserve,
        // The game holds more than half of the machine.
        HalfTheMachine,
        // The machine's memory is unknown, and the game holds more than
        // UnknownMachineBound.
        FixedBound,
    };
    // The bound where the machine's memory cannot be read: what the player
    // allowed every game before it judged by the machine, which a machine
    // of 4 GB carries.
    static constexpr std::int64_t UnknownMachineBound = std::int64_t(1536) << 20;
    static constexpr std::int64_t ReserveFloor = std::int64_t(512) << 20;
    // What a game may hold however short the machine is.
    static constexpr std::int64_t SmallGame = std::int64_t(512) << 20;

    // What the machine keeps available for everything but the game.
    static std::int64_t reserve(std::int64_t totalBytes);
    // What a page holding gameBytes exceeds on the machine now.
    static Exceeded judge(std::int64_t gameBytes, const std::optional<MachineMemory>& machine);
    // The most a page holding gameBytes now may come to hold, as long as
    // nothing else on the machine takes or gives back memory meanwhile.
    static std::int64_t largestGame(std::int64_t gameBytes,
                                    const std::optional<MachineMemory>& machine);
};
