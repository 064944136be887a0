#include "format/RecordBlockLines.h"

#include "format/LineCode.h"
#include "format/RecordLines.h"

#include <initializer_list>

namespace drilbank {
namespace {

template <typename MakeLine>
void toEach(const BlockLineOut& out, std::initializer_list<int> channels, MakeLine makeLine) {
    for (const int channel : channels) {
        out(channel, makeLine(), LineEnding::CrLf);
    }
}

} // namespace

void writeResponseBlockLines(const BlockContent& block, Clock& clock, const BlockLineOut& out) {
    const auto both = {masterChannel, sendChannel};
    const auto masterOnly = {masterChannel};

    toEach(out, both, [] { return std::string(openingRule); });
    toEach(out, both, [&] { return timeLine(clock); });
    toEach(out, masterOnly, [&] { return questionNumberLine(block.questionNumber); }); // 3 to 5
    toEach(out, both, [&] { return code(block.scriptLine, block.codeNbr); });
    toEach(out, both, [] { return std::string(openingRule); });
    toEach(out, both, [] { return std::string(responseMarker); });
    toEach(out, both, [&] { return storedTypedText(code(block.text, block.codeNbr)); });
    toEach(out, both, [] { return std::string(closingRule); });
}

void writeNotesBlockLines(const BlockContent& block, Clock& clock, const BlockLineOut& out) {
    const auto all = {masterChannel, sendChannel, notesChannel};

    toEach(out, all, [] { return std::string(openingRule); });
    toEach(out, all, [&] { return timeLine(clock); });
    toEach(out, all, [&] { return dateTimeLine(clock); });
    toEach(out, all, [&] { return code(block.scriptLine, block.codeNbr); });
    toEach(out, all, [] { return std::string(openingRule); });
    toEach(out, all, [&] { return storedTypedText(code(block.text, block.codeNbr)); });
    out(masterChannel, closingRule, LineEnding::CrLf);
    out(sendChannel, closingRule, LineEnding::NextPrintZone);
    out(notesChannel, closingRule, LineEnding::NextPrintZone);
}

} // namespace drilbank
