#include "players/SaveBridge.h"

#include "library/PlayerSettingsFile.h"
#include "players/SaveLog.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QUrlQuery>

namespace {

// Each save reaches the disk at most twice a second.
constexpr std::chrono::milliseconds WriteInterval{500};

// A save the store's rules or bounds refuse is the game's own doing, which
// it hears of, and a game may ask at every frame: told at debug level. A
// store that cannot even be counted is a trouble of the user's disk.
void logRefusal(const std::string& key, qulonglong bytes, SaveResult result) {
    if (result == SaveResult::Done)
        return;
    const QString refused = QStringLiteral("a save was refused: %1 %2 bytes %3")
                                .arg(QString::fromStdString(key))
                                .arg(bytes)
                                .arg(QLatin1String(nameOf(result)));
    if (result == SaveResult::Failed || result == SaveResult::NoSpace)
        qCWarning(saveLog).noquote() << refused;
    else
        qCDebug(saveLog).noquote() << refused;
}

} // namespace

SaveBridge::SaveBridge(QObject* parent)
    : QObject(parent), store_(SaveStore::userFolder()), budget_(store_),
      writer_(
          [this](const std::string& key, const SaveWriter::Version& version) {
              const std::optional<SaveStore::Place> place = SaveStore::placeOf(key);
              const SaveResult result = !place    ? SaveResult::NotTheGames
                                        : version ? store_.put(*place, *version)
                                                  : store_.remove(*place);
              if (result != SaveResult::Done)
                  qCWarning(saveLog).noquote()
                      << (version ? "a save was not written:" : "a save was not removed:")
                      << QString::fromStdString(key) << nameOf(result);
          },
          WriteInterval) {}

QString SaveBridge::open(const std::string& movieKey) {
    opened_.insert(movieKey);
    QString word;
    for (int part = 0; part < 4; ++part)
        word += QString::number(QRandomGenerator::system()->generate(), 16).rightJustified(8, u'0');
    words_[word] = movieKey;
    return word;
}

void SaveBridge::gameMoved(const std::string& fromMovieKey, const std::string& toMovieKey) {
    // What waits to be written goes with the game. Saves that wait under
    // the new name already keep the store from being asked at all.
    SaveResult result = SaveResult::TargetExists;
    if (!writer_.move(fromMovieKey + "/", toMovieKey + "/", [&] {
            result = store_.moveGame(fromMovieKey, toMovieKey);
            return result == SaveResult::Done;
        })) {
        qCWarning(saveLog).noquote()
            << "a game's saves stay under its old name:" << QString::fromStdString(fromMovieKey)
            << "not" << QString::fromStdString(toMovieKey) << nameOf(result);
        return;
    }
    budget_.gameMoved(fromMovieKey, toMovieKey);
    // Every old name of the game leads to the new one; the new one is its own.
    for (auto& [old, now] : movedTo_)
        if (now == fromMovieKey)
            now = toMovieKey;
    movedTo_.erase(toMovieKey);
    movedTo_[fromMovieKey] = toMovieKey;
}

void SaveBridge::drain() {
    writer_.drain();
}

std::vector<SaveStore::Listed> SaveBridge::savesOf(const std::string& movieKey) {
    writer_.drain();
    return store_.savesOf(movieKey);
}

std::string SaveBridge::folderOf(const std::string& movieKey) {
    if (const std::optional<SaveStore::Place> place = SaveStore::placeOf(movieKey + "/x"))
        store_.makeFolders(*place);
    return store_.gameFolder(movieKey).value_or(std::string());
}

std::optional<std::string> SaveBridge::bytesOf(const std::string& key) {
    writer_.drain();
    const std::optional<SaveStore::Place> place = SaveStore::placeOf(key);
    return place ? store_.read(*place) : std::nullopt;
}

SaveResult SaveBridge::bring(const std::string& movieKey, const std::string& key,
                             const std::string& bytes) {
    writer_.drain();
    const std::optional<SaveStore::Place> place = SaveStore::placeFor(movieKey, key);
    if (!place)
        return SaveResult::NotTheGames;
    const std::optional<std::uint64_t> before = store_.sizeOf(*place);
    if (const SaveResult admitted = budget_.admit(movieKey, key, bytes.size());
        admitted != SaveResult::Done)
        return admitted;
    const SaveResult written = store_.put(*place, bytes);
    if (written != SaveResult::Done) {
        // The save on disk is as it was: so is its room.
        if (before)
            budget_.admit(movieKey, key, *before);
        else
            budget_.release(movieKey, key);
        qCWarning(saveLog).noquote()
            << "a save brought in was not written:" << QString::fromStdString(key)
            << nameOf(written);
    }
    return written;
}

SaveResult SaveBridge::discard(const std::string& movieKey, const std::string& key) {
    writer_.drain();
    const std::optional<SaveStore::Place> place = SaveStore::placeFor(movieKey, key);
    if (!place)
        return SaveResult::NotTheGames;
    const SaveResult removed = store_.remove(*place);
    if (removed == SaveResult::Done)
        budget_.release(movieKey, key);
    return removed;
}

std::optional<std::string> SaveBridge::currentMovie(const std::string& movieKey) const {
    if (!opened_.contains(movieKey))
        return std::nullopt;
    const auto moved = movedTo_.find(movieKey);
    return moved == movedTo_.end() ? movieKey : moved->second;
}

std::optional<std::pair<std::string, std::string>> SaveBridge::current(const QString& movieKey,
                                                                       const QString& key) const {
    const std::string movie = movieKey.toStdString();
    const std::string save = key.toStdString();
    const std::optional<std::string> now = currentMovie(movie);
    if (!now)
        return std::nullopt;
    return std::pair(*now, *now != movie && save.starts_with(movie + "/")
                               ? *now + save.substr(movie.size())
                               : save);
}

PlayerSettings SaveBridge::settings(const std::string& movieKey) const {
    const PlayerSettingsFile::Reading reading = PlayerSettingsFile(store_).read(movieKey);
    if (!reading.problem.empty())
        qCWarning(saveLog).noquote()
            << "a game's player settings were not read, the defaults taken instead:"
            << QString::fromStdString(movieKey) << QString::fromStdString(reading.problem);
    return reading.settings;
}

void SaveBridge::keepSettings(const QString& movieKey, const QString& quality, int volume,
                              bool muted) {
    const std::optional<std::string> movie = currentMovie(movieKey.toStdString());
    PlayerSettings settings;
    if (!quality.isEmpty())
        settings.quality = PlayerSettings::qualityNamed(quality.toStdString());
    if (!movie || (!quality.isEmpty() && !settings.quality) || volume < 0 ||
        volume > PlayerSettings::FullVolume)
        return;
    settings.volume = volume;
    settings.muted = muted;
    if (const SaveResult result = PlayerSettingsFile(store_).write(*movie, settings);
        result != SaveResult::Done)
        qCWarning(saveLog).noquote()
            << "a game's player settings were not kept:" << QString::fromStdString(*movie)
            << nameOf(result);
}

std::optional<QByteArray> SaveBridge::answer(const QString& question, const QUrlQuery& query) {
    const QString movieKey = query.queryItemValue(QStringLiteral("movie"), QUrl::FullyDecoded);
    const auto word = words_.find(query.queryItemValue(QStringLiteral("token")));
    if (word == words_.end() || word->second != movieKey.toStdString())
        return std::nullopt;
    const auto save =
        current(movieKey, query.queryItemValue(QStringLiteral("key"), QUrl::FullyDecoded));
    if (!save)
        return std::nullopt;
    const auto& [movie, key] = *save;
    if (question == QLatin1String("get")) {
        const std::optional<SaveStore::Place> place = SaveStore::placeFor(movie, key);
        if (!place)
            return std::nullopt;
        std::optional<SaveWriter::Version> bytes = writer_.waiting(key);
        if (!bytes)
            bytes = store_.read(*place);
        if (!bytes || !*bytes)
            return std::nullopt;
        return QByteArray::fromStdString(**bytes).toBase64();
    }
    if (question == QLatin1String("put")) {
        bool number = false;
        const qulonglong bytes = query.queryItemValue(QStringLiteral("bytes")).toULongLong(&number);
        const SaveResult result = number ? budget_.admit(movie, key, bytes) : SaveResult::Failed;
        logRefusal(key, bytes, result);
        return QByteArray(nameOf(result));
    }
    if (question == QLatin1String("remove")) {
        if (!SaveStore::placeFor(movie, key))
            return QByteArray(nameOf(SaveResult::NotTheGames));
        budget_.release(movie, key);
        writer_.put(key, std::nullopt);
        return QByteArray(nameOf(SaveResult::Done));
    }
    return std::nullopt;
}

void SaveBridge::put(const QString& movieKey, const QString& key, const QString& base64) {
    const auto save = current(movieKey, key);
    if (!save)
        return;
    const auto decoded =
        QByteArray::fromBase64Encoding(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    const std::optional<std::uint64_t> room = budget_.admitted(save->second);
    if (!decoded || !room || std::uint64_t(decoded.decoded.size()) > *room)
        return;
    writer_.put(save->second, decoded.decoded.toStdString());
}

void SaveBridge::flushed() {
    emit allSent();
}
