#include "app/Application.h"
#include "app/TMainForm.h"
#include "players/TShockwaveFlash.h"

int main(int argc, char** argv) {
    TShockwaveFlash::prepare();
    Application application(argc, argv);
    return application.run([] { return new TMainForm(); });
}
