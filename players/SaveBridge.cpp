#include "players/SaveBridge.h"

#include <QByteArray>

SaveBridge::SaveBridge(QObject* parent) : QObject(parent), store_(SaveStore::userFolder()) {}

QJsonObject SaveBridge::open(const std::string& movieKey) {
    opened_.insert(movieKey);
    QJsonObject saves;
    for (const SaveStore::Save& save : store_.visibleTo(movieKey))
        saves.insert(QString::fromStdString(save.key),
                     QString::fromLatin1(QByteArray::fromStdString(save.bytes).toBase64()));
    return saves;
}

void SaveBridge::gameMoved(const std::string& fromMovieKey, const std::string& toMovieKey) {
    if (store_.moveGame(fromMovieKey, toMovieKey) != SaveResult::Done)
        return;
    // Every old name of the game leads to the new one; the new one is its own.
    for (auto& [old, now] : movedTo_)
        if (now == fromMovieKey)
            now = toMovieKey;
    movedTo_.erase(toMovieKey);
    movedTo_[fromMovieKey] = toMovieKey;
}

std::pair<std::string, std::string> SaveBridge::current(const QString& movieKey,
                                                        const QString& key) const {
    const std::string movie = movieKey.toStdString();
    const std::string save = key.toStdString();
    const auto moved = movedTo_.find(movie);
    if (moved == movedTo_.end())
        return {movie, save};
    return {moved->second,
            save.starts_with(movie + "/") ? moved->second + save.substr(movie.size()) : save};
}

void SaveBridge::put(const QString& movieKey, const QString& key, const QString& base64) {
    if (!opened_.contains(movieKey.toStdString()))
        return;
    const auto decoded =
        QByteArray::fromBase64Encoding(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return;
    const auto [movie, save] = current(movieKey, key);
    store_.put(movie, save, decoded.decoded.toStdString());
}

void SaveBridge::remove(const QString& movieKey, const QString& key) {
    if (!opened_.contains(movieKey.toStdString()))
        return;
    const auto [movie, save] = current(movieKey, key);
    store_.remove(movie, save);
}

void SaveBridge::flushed() {
    emit allSent();
}
