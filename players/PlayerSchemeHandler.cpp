#include "PlayerSchemeHandler.h"

#include "FileSystem.h"

#include <QFile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

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
    : QWebEngineUrlSchemeHandler(parent), rufflePath_(std::move(rufflePath)) {}

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
    int fd = -1;
    if (path.startsWith(RufflePrefix))
        fd = FileSystem::openInside(rufflePath_, rufflePath_ + "/" +
                                                     path.mid(RufflePrefix.size()).toStdString());
    else if (path.startsWith(GamePrefix + '/') && !movieFolder_.empty())
        fd = FileSystem::openInside(movieFolder_, path.mid(GamePrefix.size()).toStdString());
    if (fd < 0) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    auto* file = new QFile(job);
    file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    job->reply(mimeType(path), file);
}
