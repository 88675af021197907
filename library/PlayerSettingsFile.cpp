#include "library/PlayerSettingsFile.h"

#include "library/FileSystem.h"

PlayerSettingsFile::Reading PlayerSettingsFile::read(const std::string& movieKey) const {
    const std::optional<std::string> folder = store_.gameFolder(movieKey);
    if (!folder)
        return {};
    // Not held up by a pipe, nor led elsewhere by a link, put in its place.
    std::string bytes;
    switch (FileSystem::readSmall(*folder + "/" + std::string(Name), MaxBytes, bytes)) {
    case FileResult::Done:
        break;
    case FileResult::SourceMissing:
        return {};
    case FileResult::NotAFile:
        return {{}, "not a plain file"};
    case FileResult::TooLarge:
        return {{}, "too large"};
    default:
        return {{}, "unreadable"};
    }
    if (const std::optional<PlayerSettings> settings = PlayerSettings::parse(bytes))
        return {*settings, {}};
    return {{}, "damaged"};
}

SaveResult PlayerSettingsFile::write(const std::string& movieKey,
                                     const PlayerSettings& settings) const {
    if (settings.isDefault())
        return store_.removeGameFile(movieKey, Name);
    return store_.putGameFile(movieKey, Name, settings.text());
}
