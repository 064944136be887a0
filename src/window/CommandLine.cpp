#include "window/CommandLine.h"

#include "files/DriveMap.h"
#include "os/DurableFiles.h"
#include "texts/CommandLineTexts.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace drilbank {

namespace {

bool isToolkitOption(std::span<const std::string_view> toolkitOptions, const char* argument) {
    for (const std::string_view option : toolkitOptions) {
        if (option == argument) {
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<int> answerCommandLine(int argc, char** argv,
                                     std::span<const std::string_view> toolkitOptions) {
    for (int i = 1; i < argc; ++i) {
        if (isToolkitOption(toolkitOptions, argv[i])) {
            ++i; // its value
            continue;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::string drives;
            try {
                drives = utf8Of(DriveMap::fromEnvironment().root());
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
        std::fputs(unknownArgumentText(argv[i]).c_str(), stderr);
        return 2;
    }
    return std::nullopt;
}

} // namespace drilbank
