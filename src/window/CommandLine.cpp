#include "window/CommandLine.h"

#include "platform/DriveMap.h"
#include "texts/CommandLineTexts.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace drilbank {

std::optional<int> answerCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::string drives;
            try {
                drives = DriveMap::fromEnvironment().root().string();
            } catch (const std::invalid_argument& wrongDrives) {
                std::fprintf(stderr, "drilbank: %s\n", wrongDrives.what());
                drives = "$DRILBANK_DRIVES";
            }
            const std::string text = helpText(drives);
            std::fputs(text.c_str(), stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs(versionText().c_str(), stdout);
            return 0;
        }
    }
    return std::nullopt;
}

} // namespace drilbank
