#include "Application.h"
#include "TMainForm.h"
#include "TShockwaveFlash.h"

int main(int argc, char** argv) {
    TShockwaveFlash::prepare();
    Application application(argc, argv);
    return application.run([] { return new TMainForm(); });
}
