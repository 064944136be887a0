#include "texts/StudentTexts.h"

namespace drilbank {

const char* const boxTitle = "drilbank";

const char* const homeOrLanPrompt = "Enter 1 for home user, 2 for TARN LAN user";
const char* const namePrompt = "Your full name:  ";
const char* const initialsPrompt = "Your initials (use all 3 initials and always use the same "
                                   "three initials when submitting work):  ";
const char* const assignmentPrompt = "Assignment Number:  ";

std::string answerPromptText() {
    return "Enter, as appropriate, an answer to the question, a critique of your answer in "
           "response to a given answer, your insights regarding the situation at this point, "
           "notes to yourself, or just an OK.\r\n\r\n"
           "Always critique your solutions by describing any insights you had or errors you "
           "makde, and by explaining how you can make use of the insight or how you now know how "
           "to avoid certain errors.  Also pose for the instructor any question or questions that "
           "you have related to the problem or series of problems.";
}

const char* const questionSeparatorText = " <-<-<-<-  Q/A:   ";
const char* const answerSeparatorText = " YOUR ANSWER  ->->->->  ";

const char* const notRecordedText = "What you typed in the answer box has not been recorded yet. ";
const char* const howToKeepText = "\r\n\r\nTo keep it, choose \"Keep my answer\", then click "
                                  "\"Enter Response\" or \"Save as Notes\".";
const char* const keepAnswerChoice = "Keep my answer";
const char* const nextQuestionLoss = "If you go on to the next question, the instructions are put "
                                     "back in the answer box and what you typed is lost.";
const char* const nextQuestionChoice = "Next question, lose my answer";
const char* const closeWindowLoss = "If you close the program now, what you typed is lost.";
const char* const closeWindowChoice = "Close, lose my answer";
const char* const clearBoxLoss = "If you clear the box, what you typed is lost.";
const char* const clearBoxChoice = "Clear the box, lose my answer";

std::string completionText(const std::string& assignmentNumber, const std::string& folderPlace,
                           const std::string& sendFileName) {
    return "You have finished assignment " + assignmentNumber +
           ". There are no more questions; the program will now close.\r\n\r\n"
           "Your answers and notes are in the folder " +
           folderPlace + ". Send the instructor the file " + sendFileName + " from that folder.";
}

const char* const noNotesMessage = "No notes have been saved yet.";

std::string olderNotesLine(const std::string& notesFilePlace) {
    return "[Older notes are not shown here. All your notes are in the notes file " +
           notesFilePlace + ".]\r\n";
}

std::string olderEntriesLine(const std::string& masterFilePlace) {
    return "\r\n[Older entries are not shown here. Your answers are all in the master file " +
           masterFilePlace + ".]";
}

} // namespace drilbank
