#pragma once

#include <QApplication>
#include <functional>
#include <memory>

class Exception;

// The one application object: it carries the title taken from the program's
// file name and the icon, reports every failure that escapes a handler, and
// runs start-up with its own protection.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    QString title() const { return title_; }

    // Builds the main window with createMainForm, shows it and runs the event
    // loop until it closes. A failure while the window is built is reported
    // and no window is shown. Always 0, the program's exit code.
    int run(const std::function<QWidget*()>& createMainForm);

    // The exception reporter: one modal error box, captioned with the title.
    void showException(const Exception& exception);

    bool notify(QObject* receiver, QEvent* event) override;

    // "player.Beta.x" gives "player": the file name cut before its first ".",
    // everything after the first character in lower case.
    static QString titleFromExecutable(const std::string& executablePath);
    // The message as the error box shows it: a full stop is added unless the
    // message is empty or ends in a character that sorts at or below ".".
    static QString reportText(const std::string& message);

private:
    QString title_;
};
