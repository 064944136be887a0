#pragma once

#include <string>

// The words of every failure the student may see: the two messages the program is specified
// to show, and the plain-words details below them that say what failed. Windows-1252 bytes.
namespace drilbank {

extern const char* const invalidAssignmentMessage;

// The general error message directly followed by the failure's number.
std::string generalErrorMessage(int failureNumber);

// Details of faults nobody expected.
extern const char* const outOfMemoryDetail;
std::string unexpectedFaultDetail(const std::string& what);
extern const char* const unknownFaultDetail;

// How a place is named in a detail: the Windows path as the student knows it, then where it
// is on this computer.
std::string placeText(const std::string& windowsPath, const std::string& localPath);
std::string folderText(const std::string& place);
std::string folderOfFileMissingText(const std::string& filePlace);
std::string pastEndOfFileText(const std::string& filePlace);

// Names Windows cannot hold, and drives that are not there.
std::string notAWindowsNameText(const std::string& name);
std::string nameTooLongText(const std::string& name);
std::string noDriveLetterText(const std::string& windowsPath);
std::string driveMissingText(char letter, const std::string& localFolder);
std::string drivesNotAbsoluteText(const std::string& drives);

// Channel misuse: a fault of the program itself, said plainly all the same.
std::string noSuchChannelText(int channel);
std::string channelNotReadingText(int channel);
std::string channelNotWritingText(int channel);
std::string channelAlreadyOpenText(int channel);

// What the file system said, in plain words.
extern const char* const noSuchFileText;
extern const char* const folderMissingText;
extern const char* const pathPartNotFolderText;
extern const char* const diskFullText;
extern const char* const mayNotWriteText;
extern const char* const nameTooLongForDiskText;
extern const char* const inputOutputErrorText;
extern const char* const notPlainFileText;
std::string systemErrorText(int error);
extern const char* const anotherCopyTooLongText;
extern const char* const journalUnreadableText;
std::string changedSinceInterruptedText(const std::string& changedFiles);

// The same on Windows, where the system's code is named after the words.
std::string windowsCannotText(const std::string& action, const std::string& plainWords,
                              unsigned long error);
std::string windowsNotAFileText(const std::string& action);
extern const char* const windowsFileMissingText;
extern const char* const windowsFolderMissingText;
extern const char* const windowsNotAllowedText;
extern const char* const windowsNameNotAllowedText;
extern const char* const windowsDiskErrorText;
extern const char* const windowsUnusableText;

} // namespace drilbank
