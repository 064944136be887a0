#pragma once

#include <string>

// Every sentence the student reads in the window, in one place, so that every front end shows
// the same words. Windows-1252 bytes with CR LF line breaks, as the record files hold text;
// front ends convert them at their edge. Failures have their own file beside this one.
namespace drilbank {

// The title of every box the program shows.
extern const char* const boxTitle;

// The four start-up questions, in the order they are asked.
extern const char* const homeOrLanPrompt;
extern const char* const namePrompt;
extern const char* const initialsPrompt;
extern const char* const assignmentPrompt;

// The text the answer box holds until the student types: two paragraphs.
std::string answerPromptText();

// What the transcript puts in front of each question line and each recorded answer.
extern const char* const questionSeparatorText;
extern const char* const answerSeparatorText;

// The questions asked before an action would throw away typed work: a sentence saying where
// the unrecorded text is, one saying what the action would do, and the two button captions.
std::string notRecordedText(bool inAnswerBox, bool inQuestionBox);
extern const char* const howToKeepText;
extern const char* const keepAnswerChoice;
extern const char* const nextQuestionLoss;
extern const char* const nextQuestionChoice;
extern const char* const closeWindowLoss;
extern const char* const closeWindowChoice;
extern const char* const clearBoxLoss;
extern const char* const clearBoxChoice;
extern const char* const quitLoss;
extern const char* const quitChoice;
extern const char* const showEverythingLoss;
extern const char* const showEverythingChoice;

// Why the program holds up a log-off or shutdown, shown by the system while it asks.
extern const char* const sessionEndBlockedReason;

// Asked when "Enter Response" or "Save as Notes" finds the answer box empty and text typed
// in the question box: whether that text is the answer.
std::string questionBoxAnswerText(const std::string& typed);
extern const char* const recordItChoice;
extern const char* const notMyAnswerChoice;

// After the last question: the assignment, the folder of the record files (as the student
// knows it and where it is here) and the name of the file to send.
std::string completionText(const std::string& assignmentNumber, const std::string& folderPlace,
                           const std::string& sendFileName);

// Shown while a click waits for another copy of the program to finish in the folder.
extern const char* const waitingForAnotherCopyNotice;

// Said once when a journal that was not the program's own was set aside; where it went
// stands below it.
extern const char* const journalSetAsideMessage;
// Said once a run when a file of another account stands at the journal's name; the journal
// the program keeps instead stands below it.
extern const char* const journalOtherNameMessage;

// "display notes" with no notes file yet, and the lines that say where older text is.
extern const char* const noNotesMessage;
std::string olderNotesLine(const std::string& notesFilePlace);
std::string olderEntriesLine(const std::string& masterFilePlace);

} // namespace drilbank
