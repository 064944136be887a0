#include "instructor/RowWriter.h"

#include <cstdio>
#include <memory>
#include <string_view>

namespace drilbank::instructor {
namespace {

// Rows are put together in a buffer and written a megabyte at a time: written to the stream
// a piece at a time, a class's millions of fields cost more than reading the records.
class JsonWriter final : public RowWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {
        buffer_.reserve(2 * flushAt);
        buffer_ += '[';
    }

    void row(const RecordRow& row) override {
        buffer_ += first_ ? "\n  {" : ",\n  {";
        first_ = false;
        const RowTexts values = rowValues(row);
        for (std::size_t index = 0; index < values.size(); ++index) {
            if (index > 0) {
                buffer_ += ", ";
            }
            string(rowColumns[index]);
            buffer_ += ": ";
            if (yesNoColumns[index]) {
                buffer_ += values[index] == "yes"  ? "true"
                           : values[index] == "no" ? "false"
                                                   : "null";
            } else {
                string(values[index]);
            }
        }
        buffer_ += '}';
        if (buffer_.size() >= flushAt) {
            out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
            buffer_.clear();
        }
    }

    bool finish(std::ostream&) override {
        buffer_ += first_ ? "]\n" : "\n]\n";
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
        return static_cast<bool>(out_.flush());
    }

private:
    static constexpr std::size_t flushAt = std::size_t{1} << 20;

    // Whether a byte is written escaped: control characters, the quote and the backslash.
    static bool escapes(unsigned char c) { return c < 0x20 || c == '"' || c == '\\'; }

    void string(std::string_view text) {
        buffer_ += '"';
        std::size_t from = 0;
        for (std::size_t at = 0; at < text.size(); ++at) {
            const auto c = static_cast<unsigned char>(text[at]);
            if (!escapes(c)) {
                continue;
            }
            buffer_.append(text.data() + from, at - from);
            from = at + 1;
            escaped(c);
        }
        buffer_.append(text.data() + from, text.size() - from);
        buffer_ += '"';
    }

    void escaped(unsigned char c) {
        switch (c) {
        case '"':
            buffer_ += "\\\"";
            return;
        case '\\':
            buffer_ += "\\\\";
            return;
        case '\r':
            buffer_ += "\\r";
            return;
        case '\n':
            buffer_ += "\\n";
            return;
        case '\t':
            buffer_ += "\\t";
            return;
        default:
            char text[8];
            std::snprintf(text, sizeof text, "\\u%04x", static_cast<unsigned>(c));
            buffer_ += text;
        }
    }

    std::ostream& out_;
    std::string buffer_;
    bool first_ = true;
};

} // namespace

std::unique_ptr<RowWriter> makeRowWriter(const ExportOptions& options, std::ostream& out) {
    if (options.format == "json") {
        return std::make_unique<JsonWriter>(out);
    }
#ifdef DRILBANK_XLSX
    if (options.format == "xlsx") {
        return makeXlsxWriter(options.file);
    }
#endif
    return makeCsvWriter(out, options.exact);
}

} // namespace drilbank::instructor
