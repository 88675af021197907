#include "players/SaveBridge.h"

#include "players/PlayerLog.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QUrlQuery>

namespace {

// Each save reaches the disk at most twice a second.
constexpr std::chrono::milliseconds WriteInterval{500};

const char* nameOf(SaveResult result) {
    switch (result) {
    case SaveResult::Done:
        return "Done";
    case SaveResult::NotTheGames:
        return "NotTheGames";
    case SaveResult::TooLarge:
        return "TooLarge";
    case SaveResult::OverBudget:
        return "OverBudget";
    case SaveResult::StoreFull:
        return "StoreFull";
    case SaveResult::TargetExists:
        return "TargetExists";
    case SaveResult::NoSpace:
        return "NoSpace";
    case SaveResult::Failed:
        break;
    }
    return "Failed";
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
                  qCWarning(playerLog)
                      << "a save was not written:" << key.c_str() << nameOf(result);
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
    // What waits to be written goes with the game.
    if (!writer_.move(fromMovieKey + "/", toMovieKey + "/", [&] {
            return store_.moveGame(fromMovieKey, toMovieKey) == SaveResult::Done;
        }))
        return;
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

std::optional<std::pair<std::string, std::string>> SaveBridge::current(const QString& movieKey,
                                                                       const QString& key) const {
    const std::string movie = movieKey.toStdString();
    const std::string save = key.toStdString();
    if (!opened_.contains(movie))
        return std::nullopt;
    const auto moved = movedTo_.find(movie);
    if (moved == movedTo_.end())
        return std::pair(movie, save);
    return std::pair(moved->second, save.starts_with(movie + "/")
                                        ? moved->second + save.substr(movie.size())
                                        : save);
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
        return QByteArray(number ? nameOf(budget_.admit(movie, key, bytes)) : "Failed");
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
