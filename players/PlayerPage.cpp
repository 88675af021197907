#include "players/PlayerPage.h"

#include "players/PlayerLog.h"

#include <QDir>
#include <QFileDialog>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

PlayerPage::PlayerPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
    connect(profile, &QWebEngineProfile::downloadRequested, this, &PlayerPage::downloadRequested);
}

QStringList PlayerPage::chooseFiles(FileSelectionMode mode, const QStringList&,
                                    const QStringList&) {
    QWidget* window = QWebEngineView::forPage(this);
    switch (mode) {
    case FileSelectOpen: {
        const QString file = QFileDialog::getOpenFileName(window, QString(), QDir::homePath());
        return file.isEmpty() ? QStringList() : QStringList{file};
    }
    case FileSelectOpenMultiple:
        return QFileDialog::getOpenFileNames(window, QString(), QDir::homePath());
    default: // a game has no business with the user's folders
        return {};
    }
}

void PlayerPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message,
                                          int line, const QString& source) {
    qCDebug(playerLog).noquote() << "page console:" << message << "at" << source << line;
}

void PlayerPage::downloadRequested(QWebEngineDownloadRequest* download) {
    if (download->page() != this)
        return;
    const QString path =
        QFileDialog::getSaveFileName(QWebEngineView::forPage(this), QString(),
                                     QDir::home().filePath(download->downloadFileName()));
    if (path.isEmpty()) {
        download->cancel();
        return;
    }
    download->setDownloadDirectory(QFileInfo(path).absolutePath());
    download->setDownloadFileName(QFileInfo(path).fileName());
    download->accept();
}
