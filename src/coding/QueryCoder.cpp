#include "coding/QueryCoder.h"

#include "encoding/TextPieces.h"
#include "format/LineCode.h"

#include <string>

namespace drilbank {
namespace {

constexpr int queryChannel = 1;
constexpr int outputChannel = 2;

std::string codedQueryLine(const std::string& line, float codeNbr) {
    const std::string prefix = lowerCase(leftOf(line, 6));
    if (prefix == "assign") {
        return line;
    }
    if (prefix == "query ") {
        // Characters 6 and 7, the blank and the one after it, are dropped.
        const std::string question = line.size() > 7 ? line.substr(7) : std::string();
        return "query" + code(question, codeNbr);
    }
    return code(line, codeNbr);
}

} // namespace

void codeFile(Run& run) {
    RunState& state = run.state;
    RecordFiles& files = run.platform.files();
    const std::string queryPath = state.workDir + "\\query" + state.queryFileTag + ".txt";
    const std::string outputPath = state.workDir + "\\queri" + state.queryFileTag + ".txt";

    files.open(queryChannel, queryPath, ChannelMode::Input);
    state.codeNbr = static_cast<float>(files.readLine(queryChannel).size());
    files.closeAll();

    files.open(queryChannel, queryPath, ChannelMode::Input);
    files.open(outputChannel, outputPath, ChannelMode::Output);
    while (!files.atEndOfFile(queryChannel)) {
        files.writeLine(outputChannel, codedQueryLine(files.readLine(queryChannel), state.codeNbr));
    }
    // Both files stay open until the next close-all or the end of the run.
}

} // namespace drilbank
