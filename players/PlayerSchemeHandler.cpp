#include "players/PlayerSchemeHandler.h"

#include "library/FileSystem.h"
#include "players/PlayerLog.h"

#include <QFile>
#include <QPointer>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

QByteArray mimeType(const QString& path) {
    if (path.endsWith(QLatin1String(".swf"), Qt::CaseInsensitive))
        return "application/x-shockwave-flash";
    if (path.endsWith(QLatin1String(".wasm")))
        return "application/wasm";
    if (path.endsWith(QLatin1String(".js")))
        return "text/javascript";
    if (path.endsWith(QLatin1String(".html")))
        return "text/html";
    return "application/octet-stream";
}

const QString GamePrefix = QStringLiteral("/game");
const QString RufflePrefix = QStringLiteral("/ruffle/");

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

void PlayerSchemeHandler::setMovieFolder(std::string folder) {
    movieFolder_ = std::move(folder);
    ++movie_;
}

QUrl PlayerSchemeHandler::hostPageUrl() {
    return QUrl(QStringLiteral("%1://%2/host.html").arg(Scheme, Host));
}

QUrl PlayerSchemeHandler::gameUrl(const QString& absolutePath) {
    QUrl url;
    url.setScheme(Scheme);
    url.setHost(Host);
    url.setPath(GamePrefix + absolutePath);
    return url;
}

void PlayerSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    if (job->requestMethod() != "GET" || url.host() != Host) {
        qCDebug(playerLog) << "refused" << job->requestMethod() << url
                           << ": only GETs of the player";
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
        return;
    }
    const QString path = url.path(QUrl::FullyDecoded);
    // The host page and its scripts are the program's own, and Qt's.
    if (path == QLatin1String("/host.html") || path == QLatin1String("/fetch-route.js") ||
        path == QLatin1String("/saves.js") || path == QLatin1String("/qwebchannel.js")) {
        auto* page =
            new QFile((path == QLatin1String("/qwebchannel.js") ? QStringLiteral(":/qtwebchannel")
                                                                : QStringLiteral(":/player")) +
                          path,
                      job);
        page->open(QIODevice::ReadOnly);
        job->reply(mimeType(path), page);
        return;
    }
    std::string folder;
    std::string wanted;
    bool game = false;
    if (path.startsWith(RufflePrefix)) {
        folder = rufflePath_;
        wanted = rufflePath_ + "/" + path.mid(RufflePrefix.size()).toStdString();
    } else if (path.startsWith(GamePrefix + '/') && !movieFolder_.empty()) {
        folder = movieFolder_;
        wanted = path.mid(GamePrefix.size()).toStdString();
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
    lookups_.start([this, pending, type, movie, folder, wanted] {
        auto fd =
            std::shared_ptr<int>(new int(FileSystem::openInside(folder, wanted)), [](int* file) {
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
