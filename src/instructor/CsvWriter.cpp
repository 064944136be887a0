#include "instructor/RowWriter.h"

#include "reading/ByteScan.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace drilbank::instructor {
namespace {

// A cell a spreadsheet would take for a formula, as the OWASP guidance on CSV injection
// lists their first characters.
bool spreadsheetWouldRun(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    switch (text.front()) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\t':
    case '\r':
        return true;
    default:
        return false;
    }
}

// Rows are gathered into a buffer and written a large piece at a time: a class's rows are
// millions of small fields. A quarter of a megabyte a piece: smaller, the calls to write a
// class's gigabyte cost time of their own; larger, the buffer no longer stays in the cache.
class BufferedOut {
public:
    static constexpr std::size_t bufferSize = 1 << 18;

    explicit BufferedOut(std::ostream& out) : out_(out) {}

    // Where up to `size` bytes may be written in place, flushing first if they do not fit;
    // null when they never would. Say where the writing ended with wrote().
    char* room(std::size_t size) {
        if (size > bufferSize - used_) {
            flush();
            if (size > bufferSize) {
                return nullptr;
            }
        }
        return buffer_.get() + used_;
    }
    void wrote(const char* end) { used_ = static_cast<std::size_t>(end - buffer_.get()); }

    void put(std::string_view text) {
        if (char* to = room(text.size())) {
            std::memcpy(to, text.data(), text.size());
            used_ += text.size();
        } else {
            out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        }
    }

    bool flush() {
        out_.write(buffer_.get(), static_cast<std::streamsize>(used_));
        used_ = 0;
        return static_cast<bool>(out_.flush());
    }

private:
    std::ostream& out_;
    std::unique_ptr<char[]> buffer_ = std::make_unique_for_overwrite<char[]>(bufferSize);
    std::size_t used_ = 0;
};

// The text with each quote doubled, at `to`, which has room; where it ends.
char* withQuotesDoubled(std::string_view text, char* to) {
    for (std::size_t quote; (quote = text.find('"')) != std::string_view::npos;) {
        std::memcpy(to, text.data(), quote + 1);
        to += quote + 1;
        *to++ = '"';
        text.remove_prefix(quote + 1);
    }
    std::memcpy(to, text.data(), text.size());
    return to + text.size();
}

class CsvWriter final : public RowWriter {
public:
    CsvWriter(std::ostream& out, bool exact) : out_(out), exact_(exact) {
        out_.put("\xEF\xBB\xBF");
        record(rowColumns);
    }
    void row(const RecordRow& row) override { record(rowValues(row)); }
    bool finish(std::ostream&) override { return out_.flush(); }

private:
    // A field takes at most twice its bytes (every one a quote) and four more (a comma, the
    // quotes around it and a leading '). A row that fits the buffer so is written in place
    // without a test for room per field; any other field by field.
    static constexpr std::size_t mostAround = 4;

    void record(const RowTexts& fields) {
        std::size_t most = 2 + columnRoom; // the line end, and room to copy a column whole
        for (const std::string_view text : fields) {
            most += 2 * text.size() + mostAround;
        }
        if (char* to = out_.room(most)) {
            for (std::size_t index = 0; index < fields.size(); ++index) {
                if (index > 0) {
                    *to++ = ',';
                }
                to = column(index, fields[index], to);
            }
            *to++ = '\r';
            *to++ = '\n';
            out_.wrote(to);
            return;
        }
        for (std::size_t index = 0; index < fields.size(); ++index) {
            if (index > 0) {
                out_.put(",");
            }
            if (char* to = out_.room(2 * fields[index].size() + mostAround)) {
                out_.wrote(field(fields[index], to));
            } else {
                longField(fields[index]);
            }
        }
        out_.put("\r\n");
    }

    bool neutralised(std::string_view text) const { return !exact_ && spreadsheetWouldRun(text); }

    // A short field the same as in the row before (the run's student, the date, the file's
    // name) is copied as it was written then: looking at a few bytes, or calling the library
    // to compare or copy them, costs more per byte than at many.
    char* column(std::size_t index, std::string_view text, char* to) {
        if (text.size() > ShortField::most) {
            return field(text, to);
        }
        ShortField& last = last_[index];
        const ShortField::Words words = ShortField::wordsOf(text);
        if (text.size() == last.size && words == last.words) {
            std::memcpy(to, last.written, sizeof last.written); // the room a row is given
            return to + last.writtenLength;
        }
        char* const end = field(text, to);
        last.size = text.size();
        last.words = words;
        last.writtenLength = static_cast<std::size_t>(end - to);
        std::memcpy(last.written, to, sizeof last.written);
        return end;
    }

    // Quoted when it holds a comma, a quote or a line break; a cell a spreadsheet would run
    // gets a leading ' (which spreadsheets show as text and hide) and is quoted too. Most
    // fields need neither, and are told so in the pass that copies them.
    char* field(std::string_view text, char* to) const {
        const bool neutralise = neutralised(text);
        if (!neutralise && !bytescan::copyTellingAnyOf<',', '"', '\r', '\n'>(text, to)) {
            return to + text.size();
        }
        *to++ = '"';
        if (neutralise) {
            *to++ = '\'';
        }
        to = withQuotesDoubled(text, to);
        *to++ = '"';
        return to;
    }

    // A field larger than the buffer, the same way, in pieces.
    void longField(std::string_view text) {
        const bool neutralise = neutralised(text);
        if (!neutralise && !bytescan::holdsAnyOf<',', '"', '\r', '\n'>(text)) {
            out_.put(text);
            return;
        }
        out_.put(neutralise ? "\"'" : "\"");
        constexpr std::size_t piece = BufferedOut::bufferSize / 2;
        for (std::size_t at = 0; at < text.size(); at += piece) {
            const std::string_view part = text.substr(at, piece);
            out_.wrote(withQuotesDoubled(part, out_.room(2 * part.size())));
        }
        out_.put("\"");
    }

    // A field of up to sixteen bytes as it was last written, told by two words of its bytes.
    struct ShortField {
        static constexpr std::size_t most = 16;
        // Words from both ends, overlapping in a text shorter than sixteen bytes: two texts of
        // one length are the same when their words are.
        struct Words {
            std::uint64_t first = 0;
            std::uint64_t last = 0;
            bool operator==(const Words&) const = default;
        };
        static Words wordsOf(std::string_view text) {
            Words words;
            const char* at = text.data();
            const std::size_t size = text.size();
            if (size >= 8) {
                std::memcpy(&words.first, at, 8);
                std::memcpy(&words.last, at + size - 8, 8);
            } else if (size >= 4) {
                std::uint32_t first = 0;
                std::uint32_t last = 0;
                std::memcpy(&first, at, 4);
                std::memcpy(&last, at + size - 4, 4);
                words = {first, last};
            } else {
                for (std::size_t byte = 0; byte < size; ++byte) {
                    words.first = words.first << 8 | static_cast<unsigned char>(at[byte]);
                }
            }
            return words;
        }

        std::size_t size = most + 1; // nothing yet
        Words words;
        std::size_t writtenLength = 0;
        char written[48]; // copied whole: a fixed size is copied inline
    };
    static_assert(2 * ShortField::most + 3 <= sizeof ShortField::written);
    static constexpr std::size_t columnRoom = sizeof ShortField::written;

    BufferedOut out_;
    bool exact_;
    std::array<ShortField, columnCount> last_;
};

} // namespace

std::unique_ptr<RowWriter> makeCsvWriter(std::ostream& out, bool exact) {
    return std::make_unique<CsvWriter>(out, exact);
}

} // namespace drilbank::instructor
