#include "texts/CommandLineTexts.h"

namespace drilbank {

namespace {

const char* const campusFolder =
    "i:\\bkp_000416\\My Documents\\distance students\\interactive problems\\lb1";

// Where drives are folders of this machine, which folders they are; where they are the
// system's own drives, there is nothing to explain.
std::string drivesText(const std::string& drivesRoot) {
    if (drivesRoot.empty()) {
        return "";
    }
    return "Drives: the program works with Windows paths. Drive X is the folder\n"
           "  " +
           drivesRoot +
           "/x\n"
           "(set DRILBANK_DRIVES to use another folder). Drive c is made when needed; the\n"
           "campus drive i must be made or linked there, e.g.\n"
           "  ln -s /mnt/campus " +
           drivesRoot + "/i\n\n";
}

std::string homeFolderText(const std::string& drivesRoot) {
    if (drivesRoot.empty()) {
        return "c:\\drilbank,\n";
    }
    return "c:\\drilbank, that is\n  " + drivesRoot + "/c/drilbank/\n";
}

} // namespace

std::string helpText(const std::string& drivesRoot) {
    return "Usage: drilbank [--help | --version]\n"
           "\n"
           "A drill program: four boxes ask whether you work at home (1) or on the campus\n"
           "network (2), your full name, your initials and the assignment number; the window\n"
           "then leads you through the assignment's questions and records every answer.\n"
           "Cancel in any of the four boxes leaves the program without writing anything.\n"
           "\n" +
           drivesText(drivesRoot) + "Records: at home they go to " + homeFolderText(drivesRoot) +
           "on the campus network to " + campusFolder +
           ".\n"
           "Each name is your full name with blanks turned into \"_\":\n"
           "  masterFile_NAME.txt   every answer and note of every run\n"
           "  send_MMDDNAME.txt     the day's answers and notes: send this file to the "
           "instructor\n"
           "  notes_NAME.txt        your notes\n";
}

std::string versionText() {
    return "drilbank 1.0\n";
}

std::string unknownArgumentText(const std::string& argument) {
    return "drilbank: unknown option \"" + argument +
           "\"; the program takes no arguments but --help and --version. Run \"drilbank "
           "--help\" for more.\n";
}

std::string noDisplayText(const std::string& why) {
    return "drilbank needs a graphical display and " + why +
           "; to run it without one, use Xvfb: xvfb-run -a drilbank\n";
}

const char* const noDisplaySetText = "found none (DISPLAY is not set)";

std::string displayUnreachableText(const std::string& display) {
    return "could not open one (DISPLAY=" + display + ")";
}

} // namespace drilbank
