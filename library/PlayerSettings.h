#pragma once

#include <optional>
#include <string>
#include <string_view>

// What the user set in the player's menu for one game: the quality the game
// is drawn at, and the volume and sound of the volume controls. Written as a
// few lines of text, one for each setting that differs from how every game
// starts ("quality=low", "volume=40", "muted=yes"), and read back only when
// every line is one of those.
class PlayerSettings {
public:
    enum class Quality { Low, Medium, High };
    // The volume controls' scale, 0 to this; every game starts at its top.
    static constexpr int FullVolume = 100;

    // The quality picked in the menu; nothing when none was, and the game
    // is drawn at the player's own.
    std::optional<Quality> quality;
    int volume = FullVolume;
    bool muted = false;

    // Nothing set that a game does not start with: nothing to keep.
    bool isDefault() const { return !quality && volume == FullVolume && !muted; }

    std::string text() const;
    // Nothing for a text that is not settings of this form, whole.
    static std::optional<PlayerSettings> parse(std::string_view text);

    // The quality's name, as the player's page and the settings' text spell
    // it: "low", "medium", "high".
    static const char* nameOf(Quality quality);
    static std::optional<Quality> qualityNamed(std::string_view name);

    bool operator==(const PlayerSettings&) const = default;
};
