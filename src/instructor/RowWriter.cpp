#include "instructor/RowWriter.h"

#include <cstdio>

namespace drilbank::instructor {
namespace {

class CsvWriter final : public RowWriter {
public:
    explicit CsvWriter(std::ostream& out) : out_(out) {
        out_ << "\xEF\xBB\xBF";
        record(rowColumns);
    }
    void row(const RecordRow& row) override { record(rowValues(row)); }
    void finish() override { out_.flush(); }

private:
    void record(const std::vector<std::string>& fields) {
        for (std::size_t index = 0; index < fields.size(); ++index) {
            if (index > 0) {
                out_ << ',';
            }
            field(fields[index]);
        }
        out_ << "\r\n";
    }

    void field(const std::string& text) {
        if (text.find_first_of(",\"\r\n") == std::string::npos) {
            out_ << text;
            return;
        }
        out_ << '"';
        for (const char c : text) {
            if (c == '"') {
                out_ << '"';
            }
            out_ << c;
        }
        out_ << '"';
    }

    std::ostream& out_;
};

class JsonWriter final : public RowWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) { out_ << '['; }

    void row(const RecordRow& row) override {
        out_ << (first_ ? "\n  {" : ",\n  {");
        first_ = false;
        const std::vector<std::string> values = rowValues(row);
        for (std::size_t index = 0; index < values.size(); ++index) {
            out_ << (index > 0 ? ", " : "");
            string(rowColumns[index]);
            out_ << ": ";
            string(values[index]);
        }
        out_ << '}';
    }

    void finish() override {
        out_ << (first_ ? "]\n" : "\n]\n");
        out_.flush();
    }

private:
    void string(const std::string& text) {
        out_ << '"';
        for (const char c : text) {
            switch (c) {
            case '"':
                out_ << "\\\"";
                break;
            case '\\':
                out_ << "\\\\";
                break;
            case '\r':
                out_ << "\\r";
                break;
            case '\n':
                out_ << "\\n";
                break;
            case '\t':
                out_ << "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x",
                                  static_cast<unsigned>(static_cast<unsigned char>(c)));
                    out_ << escaped;
                } else {
                    out_ << c;
                }
            }
        }
        out_ << '"';
    }

    std::ostream& out_;
    bool first_ = true;
};

} // namespace

std::unique_ptr<RowWriter> makeRowWriter(const std::string& format, std::ostream& out) {
    if (format == "json") {
        return std::make_unique<JsonWriter>(out);
    }
    return std::make_unique<CsvWriter>(out);
}

} // namespace drilbank::instructor
