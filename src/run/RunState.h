#pragma once

#include <string>
#include <vector>

namespace drilbank {

constexpr int lastScriptSlot = 5000;

// The run's one state record. Fields in the order the record holds them; all texts are
// Windows-1252 bytes. A number holding 0 and a flag holding false mean "not set yet".
struct RunState {
    std::string displayText;
    int sentenceStart = 0;
    bool responsePending = false;
    std::string currentLine;
    std::string masterFilePath;
    std::string sendFilePath;
    std::string notesFilePath;
    std::string assignmentNumber;
    std::string nextAssignmentNumber;
    std::string answerPrompt;
    int presentationMode = 0;
    std::string currentQuestion;
    std::string workText;
    std::string cumulativeText;
    std::string questionSeparator;
    std::string answerSeparator;
    std::string queryFileTag;
    std::string workDir;
    int scriptIndex = 0;
    std::vector<std::string> scriptLines = std::vector<std::string>(lastScriptSlot + 1);
    std::string studentName;
    float codeNbr = 0.0f;
    std::string initials;
};

} // namespace drilbank
