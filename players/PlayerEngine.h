#pragma once

#include <string>

// The web engine the player runs Ruffle in: what it must be told before the
// application object exists, and where Ruffle's files are.
class PlayerEngine {
public:
    static void prepare();
    // Ruffle's folder beside the program. Fails with an Exception naming
    // what is missing when Ruffle's files are not there.
    static std::string ruffleFolder();
};
