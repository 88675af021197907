// drag-source X Y FILE...: another program's window, as a file manager's is:
// a small window at X,Y that, pressed with the mouse, drags the files named
// (text/uri-list, the paths' bytes percent-encoded as file managers write
// them; a name with "://" goes as the address it is), offering to copy, move
// or link them. It prints "dragging" as the drag starts, the target's first
// answer while the drag goes on, "accepts" or "refuses" (what the drag shows
// before the drop), and when the drag ends what became of it: "copied",
// "moved", "linked" or "refused"; then "finished" once the target says it
// is done with the drop. Until then the target may still be reading the
// files' names from this program, as it would from a file manager that
// stays open.
#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QWidget>
#include <X11/Xlib.h>
#include <cstdio>
#include <xcb/xcb.h>

namespace {

void say(const char* what) {
    std::puts(what);
    std::fflush(stdout);
}

// The target's XdndStatus and XdndFinished messages, as they come.
class StatusWatch : public QAbstractNativeEventFilter {
public:
    StatusWatch(unsigned long status, unsigned long finished)
        : status_(status), finished_(finished) {}
    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
            return false;
        const auto* client = static_cast<const xcb_client_message_event_t*>(message);
        if (client->type == status_ && !answered) {
            answered = true;
            say(client->data.data32[1] & 1 ? "accepts" : "refuses");
        } else if (client->type == finished_) {
            finished = true;
            if (ended)
                say("finished");
        }
        return false;
    }
    // The drag starting anew.
    void restart() { answered = finished = ended = false; }
    // The drag's end told: a finish that came before it is told after it.
    void end() {
        ended = true;
        if (finished)
            say("finished");
    }

private:
    bool answered = false;
    bool finished = false;
    bool ended = false;
    const unsigned long status_;
    const unsigned long finished_;
};

class DragSource : public QWidget {
public:
    DragSource(QByteArray uris, StatusWatch& watch) : uris_(std::move(uris)), watch_(watch) {}

protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* data = new QMimeData;
        data->setData(QStringLiteral("text/uri-list"), uris_);
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        watch_.restart();
        say("dragging");
        const Qt::DropAction done =
            drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::MoveAction);
        say(done == Qt::CopyAction   ? "copied"
            : done == Qt::MoveAction ? "moved"
            : done == Qt::LinkAction ? "linked"
                                     : "refused");
        watch_.end();
    }

private:
    const QByteArray uris_;
    StatusWatch& watch_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fputs("usage: drag-source X Y FILE...\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fputs("drag-source: no display\n", stderr);
        return 1;
    }
    StatusWatch watch(XInternAtom(display, "XdndStatus", False),
                      XInternAtom(display, "XdndFinished", False));
    XCloseDisplay(display);
    app.installNativeEventFilter(&watch);
    QByteArray uris;
    for (int i = 3; i < argc; ++i) {
        const QByteArray name(argv[i]);
        uris += name.contains("://") ? name : "file://" + name.toPercentEncoding("/");
        uris += "\r\n";
    }
    DragSource source(uris, watch);
    source.setWindowTitle(QStringLiteral("drag source"));
    source.setGeometry(QString::fromLatin1(argv[1]).toInt(), QString::fromLatin1(argv[2]).toInt(),
                       100, 60);
    source.show();
    return app.exec();
}
