#include "app/Application.h"
#include "app/TMainForm.h"
#include "library/Utf8Locale.h"
#include "players/TShockwaveFlash.h"

int main(int argc, char** argv) {
    Utf8Locale::take();
    TShockwaveFlash::prepare();
    Application application(argc, argv);
    return application.run([] { return new TMainForm(); });
}
