#include "instructor/RowWriter.h"

#include <cstdio>
#include <memory>
#include <string_view>

namespace drilbank::instructor {
namespace {

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
            if (yesNoColumns[index]) {
                out_ << (values[index] == "yes"  ? "true"
                         : values[index] == "no" ? "false"
                                                 : "null");
            } else {
                string(values[index]);
            }
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
    return makeCsvWriter(out, options.exact);
}

} // namespace drilbank::instructor
