#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>

class QWebEnginePage;

// Whether the player's page still answers, judged by the page's own work and
// not by the clock. The main thread of the page's render process runs the
// game's scripts and answers the program. The page is held by its game when
// that thread has worked half a second of CPU time since a question it has
// not answered, or when it has answered nothing for seconds while not even
// waiting to run (a stopped or stuck process). A page that only waits for the
// CPU on a busy machine answers once it gets it, and is left alone.
class PageWatch : public QObject {
    Q_OBJECT
public:
    explicit PageWatch(QObject* parent);

    // A page (made anew) that has been asked nothing.
    void watch(QWebEnginePage* page);
    // Asks the page for nothing but an answer, which comes as soon as its
    // main thread is free.
    void ask();
    // Whether a question waits for its answer.
    bool asking() const { return !questions_.empty(); }
    // Why the page is held by its game, judged now; empty while it is not.
    QString held() const;
    // A command follows the last question: until the page answers, it is
    // judged every moment, and heldFound() tells when it proves held.
    void expectAnswer();

signals:
    void heldFound(const QString& why);
    // The page answered what it was asked before a command.
    void answered();

private:
    struct Question {
        quint64 number;
        qint64 askedMs;
        // The CPU time of the main thread and of the whole process when
        // asked; negative when unknown.
        qint64 mainThreadMs;
        qint64 allThreadsMs;
    };
    void check();

    QPointer<QWebEnginePage> page_;
    // Each page's answers count for that page alone.
    quint64 pageNumber_ = 0;
    quint64 asked_ = 0;
    std::deque<Question> questions_;
    QElapsedTimer clock_;
    QTimer checks_;
    qint64 lastCheckMs_ = 0;
};
