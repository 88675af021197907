#include "players/PlayerSchemeHandler.h"

#include "library/CaseFolding.h"
#include "library/FileSystem.h"
#include "players/PlayerLog.h"
#include "players/SaveBridge.h"

#include <QBuffer>
#include <QFile>
#include <QPointer>
#include <QUrlQuery>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

QByteArray mimeType(const std::string& path) {
    if (CaseFolding::lower(path).ends_with(".swf"))
        return "application/x-shockwave-flash";
    if (path.ends_with(".wasm"))
        return "application/wasm";
    if (path.ends_with(".js"))
        return "text/javascript";
    if (path.ends_with(".html"))
        return "text/html";
    return "application/octet-stream";
}

// A game's files are served under this folder of the player, by their path.
constexpr std::string_view GamePrefix = "/game/";
constexpr std::string_view RufflePrefix = "/ruffle/";
constexpr std::string_view SavesPrefix = "/saves/";

} // namespace

void PlayerSchemeHandler::registerScheme() {
    QWebEngineUrlScheme scheme(Scheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(scheme);
}

PlayerSchemeHandler::PlayerSchemeHandler(std::string rufflePath, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), rufflePath_(std::move(rufflePath)) {
    // One look-up at a time: a flood waits its turn instead of taking the
    // machine, and the page caps what it asks at once.
    lookups_.setMaxThreadCount(1);
}

PlayerSchemeHandler::~PlayerSchemeHandler() {
    lookups_.clear();
    lookups_.waitForDone();
}

void PlayerSchemeHandler::serve(const GameFile& game) {
    movieFolder_ = game.folder();
    movieRoot_ = game.category();
    ++movie_;
}

void PlayerSchemeHandler::serveNoGame() {
    movieFolder_.clear();
    movieRoot_.clear();
    ++movie_;
}

QUrl PlayerSchemeHandler::hostPageUrl() {
    return QUrl(
        QStringLiteral("%1://%2/host.html").arg(QLatin1String(Scheme), QLatin1String(Host)));
}

QString PlayerSchemeHandler::gameFilesUrl() {
    return QStringLiteral("%1://%2").arg(QLatin1String(Scheme), QLatin1String(Host)) +
           QLatin1String(GamePrefix.data(), qsizetype(GamePrefix.size() - 1));
}

void PlayerSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    if (job->requestMethod() != "GET" || url.host() != QLatin1String(Host)) {
        qCDebug(playerLog) << "refused" << job->requestMethod() << url
                           << ": only GETs of the player";
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    // The path's bytes, as a file name has them: UTF-8 or not.
    const std::string path =
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
    // The page's questions about the games' saves, which it waits for.
    if (path.starts_with(SavesPrefix) && saves_) {
        const std::optional<QByteArray> answer =
            saves_->answer(QString::fromStdString(path.substr(SavesPrefix.size())), QUrlQuery(url));
        if (!answer) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* buffer = new QBuffer(job);
        buffer->setData(*answer);
        buffer->open(QIODevice::ReadOnly);
        job->reply("text/plain", buffer);
        return;
    }
    // The host page and its scripts are the program's own, and Qt's.
    if (path == "/host.html" || path == "/fetch-route.js" || path == "/ruffle-settings.js" ||
        path == "/saves.js" || path == "/qwebchannel.js") {
        auto* page = new QFile((path == "/qwebchannel.js" ? QStringLiteral(":/qtwebchannel")
                                                          : QStringLiteral(":/player")) +
                                   QString::fromStdString(path),
                               job);
        page->open(QIODevice::ReadOnly);
        job->reply(mimeType(path), page);
        return;
    }
    std::string folder;
    std::string root;
    std::string wanted;
    bool game = false;
    if (path.starts_with(RufflePrefix)) {
        folder = root = rufflePath_;
        wanted = rufflePath_ + path.substr(RufflePrefix.size() - 1);
    } else if (path.starts_with(GamePrefix) && !movieFolder_.empty()) {
        folder = movieFolder_;
        root = movieRoot_;
        wanted = path.substr(GamePrefix.size() - 1);
        game = true;
    }
    if (folder.empty() || !FileSystem::under(folder, wanted)) {
        qCDebug(playerLog) << "refused" << url
                           << (folder.empty() ? ": no game plays" : ": outside its folder");
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    // Finding a name in other letters lists its folder, which may be large:
    // off the window's thread, answered back on it.
    const QPointer<QWebEngineUrlRequestJob> pending(job);
    const QByteArray type = mimeType(path);
    // Only a game's files end with the game; the player's own are always served.
    const std::optional<quint64> movie = game ? std::optional(movie_) : std::nullopt;
    lookups_.start([this, pending, type, movie, folder, root, wanted] {
        auto fd = std::shared_ptr<int>(new int(FileSystem::openInside(folder, wanted, root)),
                                       [](int* file) {
                                           if (*file >= 0)
                                               ::close(*file);
                                           delete file;
                                       });
        QMetaObject::invokeMethod(this, [this, pending, type, movie, fd] {
            if (!pending)
                return;
            if (*fd < 0 || (movie && *movie != movie_)) {
                qCDebug(playerLog) << "refused" << pending->requestUrl()
                                   << (*fd < 0 ? ": no plain file of that name inside its folder"
                                               : ": its game has ended");
                pending->fail(QWebEngineUrlRequestJob::UrlNotFound);
                return;
            }
            auto* file = new QFile(pending);
            file->open(std::exchange(*fd, -1), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
            pending->reply(type, file);
        });
    });
}
