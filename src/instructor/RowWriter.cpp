#include "instructor/RowWriter.h"

#include "reading/ByteScan.h"

#include <cstdio>
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
// millions of small fields.
class BufferedOut {
public:
    explicit BufferedOut(std::ostream& out) : out_(out) {}

    void put(std::string_view text) {
        if (text.size() > bufferSize - used_) {
            flush();
            if (text.size() > bufferSize) {
                out_.write(text.data(), static_cast<std::streamsize>(text.size()));
                return;
            }
        }
        std::memcpy(buffer_.get() + used_, text.data(), text.size());
        used_ += text.size();
    }
    void put(char c) { put(std::string_view(&c, 1)); }

    // Puts `text` unless it holds any of `Bytes`; false, with nothing put, when it does.
    template <char... Bytes> bool putUnlessHolding(std::string_view text) {
        if (text.size() > bufferSize - used_) {
            flush();
            if (text.size() > bufferSize) {
                if (bytescan::holdsAnyOf<Bytes...>(text)) {
                    return false;
                }
                put(text);
                return true;
            }
        }
        if (bytescan::copyTellingAnyOf<Bytes...>(text, buffer_.get() + used_)) {
            return false;
        }
        used_ += text.size();
        return true;
    }

    bool flush() {
        out_.write(buffer_.get(), static_cast<std::streamsize>(used_));
        used_ = 0;
        return static_cast<bool>(out_.flush());
    }

private:
    static constexpr std::size_t bufferSize = 1 << 16;
    std::ostream& out_;
    std::unique_ptr<char[]> buffer_ = std::make_unique_for_overwrite<char[]>(bufferSize);
    std::size_t used_ = 0;
};

class CsvWriter final : public RowWriter {
public:
    CsvWriter(std::ostream& out, bool exact) : out_(out), exact_(exact) {
        out_.put("\xEF\xBB\xBF");
        record(rowColumns);
    }
    void row(const RecordRow& row) override { record(rowValues(row)); }
    bool finish(std::ostream&) override { return out_.flush(); }

private:
    void record(const RowTexts& fields) {
        for (std::size_t index = 0; index < fields.size(); ++index) {
            if (index > 0) {
                out_.put(',');
            }
            field(fields[index]);
        }
        out_.put("\r\n");
    }

    // Quoted when it holds a comma, a quote or a line break; a cell a spreadsheet would run
    // gets a leading ' (which spreadsheets show as text and hide) and is quoted too.
    void field(std::string_view text) {
        const bool neutralised = !exact_ && spreadsheetWouldRun(text);
        if (!neutralised && out_.putUnlessHolding<',', '"', '\r', '\n'>(text)) {
            return;
        }
        out_.put(neutralised ? "\"'" : "\"");
        for (std::size_t quote; (quote = text.find('"')) != std::string::npos;) {
            out_.put(text.substr(0, quote + 1));
            out_.put('"');
            text.remove_prefix(quote + 1);
        }
        out_.put(text);
        out_.put('"');
    }

    BufferedOut out_;
    bool exact_;
};

class JsonWriter final : public RowWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) { out_ << '['; }

    void row(const RecordRow& row) override {
        out_ << (first_ ? "\n  {" : ",\n  {");
        first_ = false;
        const RowTexts values = rowValues(row);
        for (std::size_t index = 0; index < values.size(); ++index) {
            out_ << (index > 0 ? ", " : "");
            string(rowColumns[index]);
            out_ << ": ";
            string(values[index]);
        }
        out_ << '}';
    }

    bool finish(std::ostream&) override {
        out_ << (first_ ? "]\n" : "\n]\n");
        return static_cast<bool>(out_.flush());
    }

private:
    void string(std::string_view text) {
        out_ << '"';
        std::size_t from = 0;
        for (std::size_t at = 0; at < text.size(); ++at) {
            const auto c = static_cast<unsigned char>(text[at]);
            if (c >= 0x20 && c != '"' && c != '\\') {
                continue;
            }
            out_.write(text.data() + from, static_cast<std::streamsize>(at - from));
            from = at + 1;
            out_ << escaped(c);
        }
        out_.write(text.data() + from, static_cast<std::streamsize>(text.size() - from));
        out_ << '"';
    }

    static std::string escaped(unsigned char c) {
        switch (c) {
        case '"':
            return "\\\"";
        case '\\':
            return "\\\\";
        case '\r':
            return "\\r";
        case '\n':
            return "\\n";
        case '\t':
            return "\\t";
        default:
            char text[8];
            std::snprintf(text, sizeof text, "\\u%04x", static_cast<unsigned>(c));
            return text;
        }
    }

    std::ostream& out_;
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
    return std::make_unique<CsvWriter>(out, options.exact);
}

} // namespace drilbank::instructor
