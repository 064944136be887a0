#include "instructor/ClassList.h"

#include "encoding/Cp1252.h"
#include "encoding/Utf8.h"

#include <fstream>
#include <set>
#include <sstream>

namespace drilbank::instructor {
namespace {

bool wellFormedUtf8(std::string_view bytes) {
    for (std::size_t index = 0; index < bytes.size();) {
        const std::size_t at = index;
        if (utf8CodePointAt(bytes, index) == 0xFFFD && bytes.substr(at, 3) != "\xEF\xBF\xBD") {
            return false;
        }
    }
    return true;
}

std::string trimmed(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        return "";
    }
    return std::string(text.substr(start, text.find_last_not_of(" \t") - start + 1));
}

// A line's fields, split at `separator` outside quotes, a "#" outside quotes ending the line;
// false when a quote is left open.
bool splitLine(std::string_view line, char separator, std::vector<std::string>& fields) {
    fields.assign(1, "");
    bool quoted = false;
    bool wasQuoted = false;
    std::string raw; // the field's text outside quotes, to be trimmed
    const auto endField = [&] {
        fields.back() = wasQuoted ? fields.back() + trimmed(raw) : trimmed(raw);
        raw.clear();
        wasQuoted = false;
    };
    for (std::size_t at = 0; at < line.size(); ++at) {
        const char c = line[at];
        if (quoted) {
            if (c == '"' && at + 1 < line.size() && line[at + 1] == '"') {
                fields.back() += '"';
                ++at;
            } else if (c == '"') {
                quoted = false;
            } else {
                fields.back() += c;
            }
        } else if (c == '"' && trimmed(raw).empty()) {
            quoted = true;
            wasQuoted = true;
            raw.clear();
        } else if (c == separator) {
            endField();
            fields.emplace_back();
        } else if (c == '#') {
            break;
        } else {
            raw += c;
        }
    }
    if (quoted) {
        return false;
    }
    endField();
    return true;
}

bool isWord(std::string_view field, std::string_view word) {
    return foldedName(field) == word;
}

} // namespace

std::optional<ClassList> ClassList::read(const std::filesystem::path& file, std::string& error,
                                         std::vector<std::string>& warnings) {
    const std::string shown = "--class-list " + file.generic_string();
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = shown + ": cannot be read";
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) {
        error = shown + ": cannot be read";
        return std::nullopt;
    }
    return parse(bytes.str(), shown, error, warnings);
}

std::optional<ClassList> ClassList::parse(std::string_view bytes, const std::string& shownName,
                                          std::string& error, std::vector<std::string>& warnings) {
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    std::string text;
    if (wellFormedUtf8(bytes)) {
        text = bytes;
    } else {
        // Not UTF-8: a spreadsheet's "CSV" in the Windows code page, the record files' own.
        text = cp1252ToUtf8(bytes);
    }
    // The separator: a comma, or a semicolon in a file that holds no comma.
    const char separator =
        text.find(',') == std::string::npos && text.find(';') != std::string::npos ? ';' : ',';
    ClassList list;
    std::set<std::pair<std::string, std::string>> seen;
    std::vector<std::string> fields;
    bool first = true;
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string_view line = std::string_view(text).substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        const std::string where = shownName + ", line " + std::to_string(lineNumber);
        if (!splitLine(line, separator, fields)) {
            error = where + ": a quote is opened and not closed";
            return std::nullopt;
        }
        if (fields.size() == 1 && fields[0].empty()) {
            continue; // blank, or a comment
        }
        if (first && isWord(fields[0], "name") &&
            (fields.size() == 1 || (fields.size() == 2 && isWord(fields[1], "initials")))) {
            first = false;
            continue; // the header
        }
        first = false;
        if (fields.size() > 2) {
            error = where + ": " + std::to_string(fields.size()) +
                    " fields; a line holds a student's full name and, after a comma, the "
                    "initials";
            return std::nullopt;
        }
        if (fields[0].empty()) {
            error = where + ": no name before the comma";
            return std::nullopt;
        }
        ListedStudent student{fields[0], fields.size() == 2 ? fields[1] : "", lineNumber};
        if (!seen.emplace(student.name, student.initials).second) {
            warnings.push_back(where + ": " + student.name + " is listed twice; counted once");
            continue;
        }
        const std::size_t index = list.students_.size();
        list.byName_.emplace(student.name, index);
        list.byFolded_.emplace(foldedName(student.name), index);
        list.students_.push_back(std::move(student));
    }
    if (list.students_.empty()) {
        error = shownName + ": lists no student";
        return std::nullopt;
    }
    return list;
}

ListMatch ClassList::match(std::string_view name, std::string_view initials) const {
    ListMatch match;
    const auto [from, to] = byName_.equal_range(name);
    for (auto each = from; each != to; ++each) {
        const ListedStudent& student = students_[each->second];
        if (student.initials.empty() || student.initials == initials || initials.empty()) {
            match.listed = &student;
            return match;
        }
        if (match.possibly == nullptr) {
            match.possibly = &student; // the name as listed, other initials
        }
    }
    if (match.possibly == nullptr) {
        const auto folded = byFolded_.find(foldedName(name));
        if (folded != byFolded_.end()) {
            match.possibly = &students_[folded->second];
        }
    }
    return match;
}

} // namespace drilbank::instructor
