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

std::string notRecordedText(bool inAnswerBox, bool inQuestionBox) {
    const char* where = inAnswerBox && inQuestionBox ? "the answer box and in the question box"
                        : inQuestionBox              ? "the question box"
                                                     : "the answer box";
    return std::string("What you typed in ") + where + " has not been recorded yet. ";
}

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
const char* const quitLoss = "If you quit the program now, what you typed is lost.";
const char* const quitChoice = "Quit, lose my answer";
const char* const showEverythingLoss = "\"display everything\" puts your answers and the "
                                       "questions in the question box in place of what it "
                                       "holds, and what you typed there is lost.";
const char* const showEverythingChoice = "Display everything, lose what I typed";
const char* const sessionEndBlockedReason = "What you typed is not recorded yet.";

std::string questionBoxAnswerText(const std::string& typed) {
    // A long text is shown by its start; the whole of it is recorded.
    constexpr std::size_t shown = 300;
    const std::string excerpt = typed.size() > shown ? typed.substr(0, shown) + " ..." : typed;
    return "The answer box is empty, but you typed this in the question box:\r\n\r\n" + excerpt +
           "\r\n\r\nIs that your answer? Choose \"Record it as my answer\" to record it. "
           "Choose \"Not my answer\" to record nothing; both boxes stay as they are.";
}

const char* const recordItChoice = "Record it as my answer";
const char* const notMyAnswerChoice = "Not my answer";

std::string completionText(const std::string& assignmentNumber, const std::string& folderPlace,
                           const std::string& sendFileName) {
    return "You have finished assignment " + assignmentNumber +
           ". There are no more questions; the program will now close.\r\n\r\n"
           "Your answers and notes are in the folder " +
           folderPlace + ". Send the instructor the file " + sendFileName + " from that folder.";
}

const char* const waitingForAnotherCopyNotice =
    "Waiting for another copy of this program, which is recording in the same folder under "
    "your name. Nothing is lost; this takes a few seconds at most.";

const char* const journalSetAsideMessage =
    "The program found a file of its own name beside your records that it had not written "
    "itself, so it moved that file aside and started a new one. Your records were not "
    "changed. If you did not put the file there, tell the instructor. The file was moved to:";

const char* const journalOtherNameMessage =
    "A file that belongs to another account stands where the program keeps the journal of "
    "your clicks. The program leaves that file alone and keeps your journal under another "
    "name in the same folder. Your records were not changed. Tell the instructor, who may "
    "have the file removed. Your journal is:";

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
