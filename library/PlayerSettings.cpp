#include "library/PlayerSettings.h"

#include <charconv>

namespace {

constexpr PlayerSettings::Quality Qualities[] = {
    PlayerSettings::Quality::Low, PlayerSettings::Quality::Medium, PlayerSettings::Quality::High};

std::optional<int> volumeOf(std::string_view text) {
    int volume = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), volume);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || volume < 0 ||
        volume > PlayerSettings::FullVolume)
        return std::nullopt;
    return volume;
}

} // namespace

const char* PlayerSettings::nameOf(Quality quality) {
    switch (quality) {
    case Quality::Low:
        return "low";
    case Quality::Medium:
        return "medium";
    case Quality::High:
        break;
    }
    return "high";
}

std::optional<PlayerSettings::Quality> PlayerSettings::qualityNamed(std::string_view name) {
    for (const Quality quality : Qualities)
        if (name == nameOf(quality))
            return quality;
    return std::nullopt;
}

std::string PlayerSettings::text() const {
    std::string text;
    if (quality)
        text += std::string("quality=") + nameOf(*quality) + "\n";
    if (volume != FullVolume)
        text += "volume=" + std::to_string(volume) + "\n";
    if (muted)
        text += "muted=yes\n";
    return text;
}

std::optional<PlayerSettings> PlayerSettings::parse(std::string_view text) {
    PlayerSettings settings;
    // Each setting once: a second line of the same name was not written here.
    bool seenVolume = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt; // cut short
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        const std::string_view name = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (name == "quality" && !settings.quality) {
            settings.quality = qualityNamed(value);
            if (!settings.quality)
                return std::nullopt;
        } else if (name == "volume" && !seenVolume) {
            const std::optional<int> volume = volumeOf(value);
            if (!volume)
                return std::nullopt;
            settings.volume = *volume;
            seenVolume = true;
        } else if (name == "muted" && !settings.muted && value == "yes") {
            settings.muted = true;
        } else {
            return std::nullopt;
        }
    }
    return settings;
}
