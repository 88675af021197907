#pragma once

#include <QWebEngineUrlRequestInterceptor>

// Games play offline: a personal collection needs no network, and a game is
// untrusted content that must not send the user's files anywhere nor fetch
// code from anywhere. Every request of the player's page that the program's
// own scheme does not serve is refused at once, as on a machine without a
// network, whatever asks for it: the engine, a game, the page.
class OfflineInterceptor : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};
