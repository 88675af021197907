#pragma once

#include "library/PlayerSettings.h"
#include "library/SaveResult.h"
#include "library/SaveStore.h"

#include <string>
#include <string_view>

// A game's player settings, kept in its own folder of the saves store
// under a hidden name: no game can open them as a save, no budget counts
// them, and they follow the game wherever its saves go when it is renamed
// or moved. Nothing is kept for a game whose settings are the defaults.
class PlayerSettingsFile {
public:
    static constexpr std::string_view Name = ".player-settings";
    // Settings take a few dozen bytes: a longer file was not written here,
    // and is not read past this.
    static constexpr std::size_t MaxBytes = 256;

    explicit PlayerSettingsFile(const SaveStore& store) : store_(store) {}

    struct Reading {
        // The defaults, unless settings were read whole.
        PlayerSettings settings;
        // Why a file there was not taken up; empty when it was, or when
        // there is none.
        std::string problem;
    };
    Reading read(const std::string& movieKey) const;

    // Writes the settings whole, replacing those before; settings that are
    // the defaults take the file away instead.
    SaveResult write(const std::string& movieKey, const PlayerSettings& settings) const;

private:
    const SaveStore& store_;
};
