#include "players/PlayerPages.h"

#include "library/OomKiller.h"
#include "players/OfflineInterceptor.h"
#include "players/PlayerLog.h"
#include "players/PlayerPage.h"
#include "players/PlayerSchemeHandler.h"
#include "players/SaveBridge.h"

#include <QTimer>
#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

// How often a spare page is asked whether its engine is ready.
constexpr int WarmCheckMs = 200;

} // namespace

PlayerPages::PlayerPages(std::string rufflePath, SaveBridge* saves, QWebEngineView* view)
    : QObject(view), view_(view), rufflePath_(std::move(rufflePath)), saves_(saves) {}

PlayerPages::~PlayerPages() {
    // The pages go before the profile they were made with.
    delete spare_;
    delete current_;
    delete spareView_;
}

void PlayerPages::start() {
    if (profile_)
        return;
    profile_ = new QWebEngineProfile(this);
    profile_->setHttpCacheType(QWebEngineProfile::NoCache);
    handler_ = new PlayerSchemeHandler(rufflePath_, this);
    handler_->setSaves(saves_);
    profile_->installUrlSchemeHandler(PlayerSchemeHandler::Scheme, handler_);
    profile_->setUrlRequestInterceptor(new OfflineInterceptor(profile_));
    channel_ = new QWebChannel(this);
    channel_->registerObject(QStringLiteral("saves"), saves_);
    current_ = makePage(view_);
}

QWebEnginePage* PlayerPages::makePage(QWebEngineView* view) {
    auto* page = new PlayerPage(profile_, this);
    page->setWebChannel(channel_);
    QWebEngineSettings* settings = page->settings();
    settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    settings->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
    connect(page, &QWebEnginePage::loadFinished, this, [this, page](bool ok) {
        rankFirst(page);
        if (page == spare_) {
            spareLoaded_ = ok;
            if (ok)
                tellWhenWarm(page);
        } else if (page == current_ && !currentLoaded_) {
            currentLoaded_ = ok;
            emit loaded(ok);
        }
    });
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            [this, page](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                qCInfo(playerLog) << "render process ended:" << status << "exit code" << exitCode;
                if (page == current_)
                    emit ended(status, exitCode);
                else if (page == spare_)
                    dropSpare();
            });
    // A page that loads in a view of its own draws into that view's surface
    // from the start; one loaded before it had a view keeps a surface the
    // view cannot let go of.
    view->setPage(page);
    page->setUrl(PlayerSchemeHandler::hostPageUrl());
    return page;
}

void PlayerPages::rankFirst(QWebEnginePage* page) {
    // A game that takes more in one step than the machine has outruns every
    // check between two steps, and the kernel then ends a process: it must
    // end the player's own, which are made anew when they end, and no other
    // of the machine. The game's page ranks before the spare as it holds
    // more; the spare, ranked as well, is what goes next when the game's
    // memory is slow to come back. The engine ranks a render process of its
    // own once it has started it, so this waits for the page to load.
    if (std::string why;
        !OomKiller::rankFirst(page->renderProcessPid(), why) && !rankRefusedTold_) {
        rankRefusedTold_ = true;
        qCInfo(playerLog) << "the player's render process is not ranked first to be ended when"
                          << "memory runs out:" << why.c_str();
    }
}

void PlayerPages::prepareSpare(const QString& why) {
    if (spare_ || !profile_)
        return;
    qCInfo(playerLog) << "spare page started:" << qPrintable(why);
    spareLoaded_ = false;
    if (!spareView_) {
        spareView_ = new QWebEngineView(view_);
        spareView_->hide();
    }
    spare_ = makePage(spareView_);
}

void PlayerPages::tellWhenWarm(QWebEnginePage* page) {
    page->runJavaScript(
        QStringLiteral("pelliwick.engineReady"), [this, page](const QVariant& warm) {
            if (page != spare_)
                return;
            if (warm.toBool())
                qCInfo(playerLog) << "spare page ready, render process" << page->renderProcessPid();
            else
                QTimer::singleShot(WarmCheckMs, spare_, [this, page] { tellWhenWarm(page); });
        });
}

void PlayerPages::dropSpare() {
    if (!spare_)
        return;
    spare_->deleteLater();
    spare_ = nullptr;
}

void PlayerPages::replace() {
    QWebEnginePage* old = current_;
    if (spare_) {
        current_ = spare_;
        currentLoaded_ = spareLoaded_;
        spare_ = nullptr;
    } else {
        current_ = makePage(view_);
        currentLoaded_ = false;
    }
    old->deleteLater();
}
