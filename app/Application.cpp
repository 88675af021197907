#include "app/Application.h"

#include "library/CaseFolding.h"
#include "library/Exception.h"
#include "library/FileSystem.h"
#include "share/WindowFont.h"

#include <QIcon>
#include <QMessageBox>

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv), title_(titleFromExecutable(FileSystem::executablePath())) {
    // The pictures live in a static library: bring them in explicitly.
    Q_INIT_RESOURCE(resources);
    setApplicationName(title_);
    setFont(WindowFont(11));
    setWindowIcon(QIcon(QStringLiteral(":/pelliwick.ico")));
}

int Application::run(const std::function<QWidget*()>& createMainForm) {
    try {
        // The application owns the main window; it is destroyed on the way out.
        const std::unique_ptr<QWidget> mainForm(createMainForm());
        mainForm->show();
        exec();
    } catch (const Exception& exception) {
        showException(exception);
    } catch (...) {
        showException(Exception());
    }
    return 0;
}

void Application::showException(const Exception& exception) {
    // Also where a program's troubles are looked for afterwards.
    qWarning().noquote() << title_ + QStringLiteral(": ") + reportText(exception.message());
    QMessageBox box(QMessageBox::Critical, title_, reportText(exception.message()), QMessageBox::Ok,
                    activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool Application::notify(QObject* receiver, QEvent* event) {
    // Qt lets no exception cross its event loop; this is the one frame that
    // every handler runs under, modal loops included. What the handler did
    // before it failed stays done, and the program goes on.
    try {
        return QApplication::notify(receiver, event);
    } catch (const Exception& exception) {
        showException(exception);
    } catch (...) {
        showException(Exception());
    }
    return false;
}

QString Application::titleFromExecutable(const std::string& executablePath) {
    std::string name = executablePath.substr(executablePath.rfind('/') + 1);
    name = name.substr(0, name.find('.'));
    if (name.empty())
        return {};
    // Keep the first character (however many bytes it takes) as it is.
    size_t first = 1;
    while (first < name.size() && (static_cast<unsigned char>(name[first]) & 0xC0) == 0x80)
        ++first;
    return QString::fromStdString(name.substr(0, first) + CaseFolding::lower(name.substr(first)));
}

QString Application::reportText(const std::string& message) {
    std::string text = message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    return QString::fromStdString(text);
}
