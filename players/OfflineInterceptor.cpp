#include "players/OfflineInterceptor.h"

#include "players/PlayerSchemeHandler.h"

#include <QUrl>

void OfflineInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
    // The page's own data and blob URLs never leave the page.
    const QString scheme = info.requestUrl().scheme();
    if (scheme != QLatin1String(PlayerSchemeHandler::Scheme) && scheme != QLatin1String("data") &&
        scheme != QLatin1String("blob"))
        info.block(true);
}
