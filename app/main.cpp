#include "app/Application.h"
#include "app/TMainForm.h"
#include "library/Utf8Locale.h"
#include "players/TShockwaveFlash.h"

#include <QTimer>
#include <optional>
#include <string>

int main(int argc, char** argv) {
    Utf8Locale::take();
    TShockwaveFlash::prepare();
    Application application(argc, argv);
    // What Qt leaves of the command line once it has taken its own options:
    // the file a file manager or a shell asks to open, by its bytes. A file
    // manager starts the program once for each file; of several given in a
    // shell, the first is opened.
    const std::optional<std::string> file =
        argc > 1 ? std::optional<std::string>(argv[1]) : std::nullopt;
    return application.run([&file] {
        auto* form = new TMainForm();
        // From the event loop, once the window is shown with its first listing.
        if (file)
            QTimer::singleShot(0, form, [form, path = *file] { form->openFile(path); });
        return form;
    });
}
