#include "Application.h"
#include "TMainForm.h"

int main(int argc, char** argv) {
    Application application(argc, argv);
    return application.run([] { return new TMainForm(); });
}
