#include "texts/FailureTexts.h"

namespace drilbank {

const char* const invalidAssignmentMessage =
    "You have probably not entered a valid assignment number.  Make sure the assignment "
    "number is a number, like 1 or 8 or 15 or 27 etc., and make sure that this assignment is "
    "supposed to be in the current ruv_.  This program will end and you will need to start "
    "over.  If you are sure you have entered a valid assignment number email the instructor "
    "and specify that you have received a 'subscript out of range' error";

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

std::string placeText(const std::string& windowsPath, const std::string& localPath) {
    return windowsPath + " (on this computer: " + localPath + ")";
}

std::string folderText(const std::string& place) {
    return "the folder " + place;
}

std::string folderOfFileMissingText(const std::string& filePlace) {
    return "the folder is not there: " + filePlace;
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
    return "drive " + std::string(1, letter) +
           ": is not there: on this computer it is the folder " + localFolder +
           ", which does not exist";
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
const char* const mayNotWriteText = "this user may not write there";
const char* const nameTooLongForDiskText = "the name is too long for the disk";
const char* const inputOutputErrorText = "the disk reported an input/output error";
const char* const notPlainFileText = "something other than a plain file is there";

std::string systemErrorText(int error) {
    return "the file could not be used (system error " + std::to_string(error) + ")";
}

const char* const anotherCopyTooLongText =
    "another copy of the program has been recording in this folder for too long";
const char* const journalUnreadableText = "the journal could not be read back";

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

} // namespace drilbank
