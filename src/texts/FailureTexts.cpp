#include "texts/FailureTexts.h"

#include <cctype>
#include <string_view>

namespace drilbank {

const char* const invalidAssignmentMessage =
    "You have probably not entered a valid assignment number.  Make sure the assignment "
    "number is a number, like 1 or 8 or 15 or 27 etc., and make sure that this assignment is "
    "supposed to be in the current ruv_.  This program will end and you will need to start "
    "over.  If you are sure you have entered a valid assignment number email the instructor "
    "and specify that you have received a 'subscript out of range' error";

namespace {

// The failure numbers, as the platform's failure table gives them; kept here so that the
// words need nothing but themselves.
enum : int {
    badFileName = 52,
    deviceIoError = 57,
    diskFull = 61,
    permissionDenied = 70,
    pathFileAccessError = 75,
    pathNotFound = 76,
};

const char* whatToFix(int failureNumber) {
    switch (failureNumber) {
    case pathNotFound:
        return "Plug in or connect the campus drive (or the disk that holds the folder), and "
               "check that the folder is there.";
    case deviceIoError:
        return "The disk or the network connection failed: connect the campus drive or the "
               "network again, or check the disk.";
    case diskFull:
        return "Free some space on that disk: delete or move files you no longer need, or ask "
               "for more space on the campus drive.";
    case permissionDenied:
        return "Ask whoever looks after this computer or the campus network for permission to "
               "write in that folder, or close any other copy of the program that records "
               "there.";
    case pathFileAccessError:
        return "Move or rename whatever stands where the file should be (a folder or a link "
               "with the file's name), so that the program can make a plain file there.";
    case badFileName:
        return "Windows cannot hold a file with that name: close the program, start it again "
               "and type your name without any of \\ / : * ? \" < > | and not as a name "
               "Windows keeps for itself, such as CON or PRN.";
    default:
        return "If it happens again, tell the instructor the error number and what you were "
               "doing.";
    }
}

} // namespace

std::string adviceText(int failureNumber, bool typedTextKept) {
    const std::string fix = whatToFix(failureNumber);
    if (!typedTextKept) {
        return fix;
    }
    const std::string kept = "What you typed is still in its box";
    switch (failureNumber) {
    case badFileName:
        return kept +
               ", but it cannot be recorded under this name; copy it somewhere safe first. " + fix;
    case deviceIoError:
    case diskFull:
    case permissionDenied:
    case pathFileAccessError:
    case pathNotFound:
        return kept + ". " + fix +
               " Then click the same button again: it is recorded once, not twice.";
    default:
        return kept + ": click the same button again to record it, once. " + fix;
    }
}

std::string generalErrorMessage(int failureNumber) {
    return "You have encountered an error.  If you are encountering this error repeatedly you "
           "should report the error number to the instructor and explain exactly what you were "
           "doing, keystroke by keystroke, when the error occurred.  The error is:  " +
           std::to_string(failureNumber);
}

const char* const outOfMemoryDetail = "The computer ran out of memory. Close other programs and "
                                      "try again; what was recorded before is safe in the record "
                                      "files.";

std::string unexpectedFaultDetail(const std::string& what) {
    return "Something went wrong that the program did not expect: " + what + ".";
}

const char* const unknownFaultDetail = "Something went wrong that the program did not expect.";

namespace {

std::string wrappingOnlyAtSeparators(const std::string& path) {
    constexpr char noBreakSpace = '\xA0';
    constexpr const char* mayBreak = "&#8203;";
    constexpr const char* mayNotBreak = "&#8288;";
    std::string marked;
    for (std::size_t at = 0; at < path.size(); ++at) {
        const char c = path[at];
        if (c == ' ') {
            marked += noBreakSpace;
            continue;
        }
        marked += c;
        if (c == '\\' || c == '/') {
            const bool root = at == 0 || path[at - 1] == ':';
            marked += root ? mayNotBreak : mayBreak;
        } else if (c == '-') {
            marked += mayNotBreak;
        }
    }
    return marked;
}

// Where the Windows path that ends at `end` begins: at its drive letter, the last one after
// `from` that starts a word.
std::size_t windowsPathStart(const std::string& text, std::size_t from, std::size_t end) {
    for (std::size_t at = end; at-- > from;) {
        const bool wordStart =
            at == from || !std::isalnum(static_cast<unsigned char>(text[at - 1]));
        if (wordStart && std::isalpha(static_cast<unsigned char>(text[at])) && at + 1 < end &&
            text[at + 1] == ':') {
            return at;
        }
    }
    return end; // no drive letter: nothing to mark
}

// The parenthesis that closes the one opened just before `from`; parentheses in a folder's
// name come in pairs. The end of the text when none does.
std::size_t closingParenthesis(const std::string& text, std::size_t from) {
    int depth = 1;
    for (std::size_t at = from; at < text.size(); ++at) {
        depth += text[at] == '(' ? 1 : text[at] == ')' ? -1 : 0;
        if (depth == 0) {
            return at;
        }
    }
    return text.size();
}

} // namespace

std::string placeText(const std::string& windowsPath, const std::string& localPath) {
    return windowsPath + " (on this computer: " + localPath + ")";
}

std::string wrappingPlacesAtSeparators(const std::string& message) {
    constexpr std::string_view frame = " (on this computer: ";
    std::string marked;
    std::size_t done = 0;
    for (std::size_t at = message.find(frame); at != std::string::npos;
         at = message.find(frame, done)) {
        const std::size_t windowsStart = windowsPathStart(message, done, at);
        const std::size_t localStart = at + frame.size();
        const std::size_t localEnd = closingParenthesis(message, localStart);
        marked += message.substr(done, windowsStart - done);
        marked += wrappingOnlyAtSeparators(message.substr(windowsStart, at - windowsStart));
        marked += frame;
        marked += wrappingOnlyAtSeparators(message.substr(localStart, localEnd - localStart));
        done = localEnd;
    }
    return marked + message.substr(done);
}

std::string folderText(const std::string& place) {
    return "the folder " + place;
}

std::string folderOfFileMissingText(const std::string& filePlace) {
    return "the folder for this file is not there: " + filePlace;
}

std::string pastEndOfFileText(const std::string& filePlace) {
    return "reading went past the end of " + filePlace;
}

std::string notAWindowsNameText(const std::string& name) {
    return "\"" + name + "\" cannot be a file or folder name on Windows";
}

std::string nameTooLongText(const std::string& name) {
    return "the name \"" + name + "\" is longer than a Windows file name can be";
}

std::string noDriveLetterText(const std::string& windowsPath) {
    return "\"" + windowsPath + "\" does not start with a drive letter";
}

std::string driveMissingText(char letter, const std::string& localFolder) {
    return "drive " + placeText(std::string(1, letter) + ":", localFolder) + " is not there";
}

std::string drivesNotAbsoluteText(const std::string& drives) {
    return "DRILBANK_DRIVES must be an absolute path, such as /srv/drilbank/drives; it is \"" +
           drives + "\"";
}

std::string noSuchChannelText(int channel) {
    return "there is no channel " + std::to_string(channel);
}

std::string channelNotReadingText(int channel) {
    return "channel " + std::to_string(channel) + " is not open for reading";
}

std::string channelNotWritingText(int channel) {
    return "channel " + std::to_string(channel) + " is not open for writing";
}

std::string channelAlreadyOpenText(int channel) {
    return "channel " + std::to_string(channel) + " is already open";
}

const char* const noSuchFileText = "there is no such file";
const char* const folderMissingText = "the folder is not there";
const char* const pathPartNotFolderText = "a part of the path is not a folder";
const char* const diskFullText = "the disk is full";
const char* const quotaUsedUpText = "this user's share of the disk (quota) is used up";
const char* const mayNotWriteText = "this user may not write there";
const char* const nameTooLongForDiskText = "the name is too long for the disk";
const char* const inputOutputErrorText = "the disk reported an input/output error";
const char* const notPlainFileText = "something other than a plain file is there";
const char* const anotherAccountsFileText =
    "the file belongs to another account; the instructor or the administrator must remove it";

std::string networkDroppedText(int error) {
    return "the network folder did not answer (system error " + std::to_string(error) +
           "); try again when the network is back";
}

std::string systemErrorText(int error) {
    return "the disk or the network reported system error " + std::to_string(error) + "; try again";
}

std::string pathTooLongText(std::size_t characters) {
    return "the path is longer than Windows allows (" + std::to_string(characters) + " characters)";
}

std::string anotherCopyHoldsFolderText(double seconds) {
    std::string shown = std::to_string(seconds);
    shown.erase(shown.find_last_not_of("0") + 1);
    if (shown.ends_with('.')) {
        shown.pop_back();
    }
    return "another copy of the program holds this folder: it has been recording here for " +
           shown + " seconds. Close the other copy, or wait a little and try again";
}

const char* const journalUnreadableText = "the journal could not be read back";
const char* const folderUnreachableText = "the folder cannot be reached";

std::string journalKeepsBeingReplacedText(const std::string& journalName) {
    return "the program's journal " + journalName +
           " keeps being replaced by something that is not the program's own";
}

const char* const tooManySetAsideText =
    "too many journals that are not the program's own were set aside here";
const char* const journalNamesTakenText =
    "every name the program's journal may take in this folder is held by a file of another "
    "account; the instructor or the administrator must remove those files";

std::string changedSinceInterruptedText(const std::string& changedFiles) {
    return "a recording into " + changedFiles +
           " was interrupted, and the file was changed by another program since; it was left "
           "as it is";
}

std::string windowsCannotText(const std::string& action, const std::string& plainWords,
                              unsigned long error) {
    return "cannot " + action + ": " + plainWords + " (Windows error " + std::to_string(error) +
           ")";
}

std::string windowsNotAFileText(const std::string& action) {
    return "cannot " + action + ": a folder, link or device is there";
}

const char* const windowsFileMissingText = "the file is not there";
const char* const windowsFolderMissingText = "the folder or drive is not there";
const char* const windowsNotAllowedText =
    "Windows does not allow it (read-only, or in use by another program)";
const char* const windowsNameNotAllowedText = "the name is too long or not allowed";
const char* const windowsDiskErrorText = "the disk reported an error";
const char* const windowsUnusableText = "it is not a plain file or folder that can be used";

const char* const clipboardBusyText =
    "The clipboard could not be opened; another program may be using it. Try again in a moment.";
const char* const clipboardRefusedText = "The picture could not be put on the clipboard.";

} // namespace drilbank
