#pragma once

#include <cstddef>
#include <string>

// The words of every failure the student may see: the two messages the program has always
// shown, and the plain-words details below them that say what failed. Windows-1252 bytes.
namespace drilbank {

extern const char* const invalidAssignmentMessage;

// What to do next, shown below a failure's detail: what to fix for the failure's class and,
// when a recording click failed, that the typed text is still in its box and that the same
// button records it once the cause is fixed.
std::string adviceText(int failureNumber, bool typedTextKept);

// The general error message directly followed by the failure's number.
std::string generalErrorMessage(int failureNumber);

// Details of faults nobody expected.
extern const char* const outOfMemoryDetail;
std::string unexpectedFaultDetail(const std::string& what);
extern const char* const unknownFaultDetail;

// How a place is named: the Windows path as the student knows it, then where it is on this
// computer.
std::string placeText(const std::string& windowsPath, const std::string& localPath);

// A message with every place in it (as placeText names them) made to wrap only after a
// separator: never at a blank or a hyphen inside a path, nor right after its drive or root.
// Blanks become no-break spaces; the zero-width break and the word joiner go in as character
// references, which every front end shows as those characters. Only for a message box: text a
// student may copy keeps its plain paths.
std::string wrappingPlacesAtSeparators(const std::string& message);
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
extern const char* const quotaUsedUpText;
extern const char* const mayNotWriteText;
extern const char* const nameTooLongForDiskText;
extern const char* const inputOutputErrorText;
extern const char* const notPlainFileText;
extern const char* const anotherAccountsFileText;
std::string networkDroppedText(int error);
std::string systemErrorText(int error);
std::string pathTooLongText(std::size_t characters);

// The journal that keeps a click whole.
std::string anotherCopyHoldsFolderText(double seconds);
extern const char* const journalUnreadableText;
extern const char* const folderUnreachableText;
std::string changedSinceInterruptedText(const std::string& changedFiles);
std::string journalKeepsBeingReplacedText(const std::string& journalName);
extern const char* const tooManySetAsideText;
extern const char* const journalNamesTakenText;

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

// The clipboard, for "copy picture".
extern const char* const clipboardBusyText;
extern const char* const clipboardRefusedText;

} // namespace drilbank
