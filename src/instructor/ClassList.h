#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drilbank::instructor {

// One student of the class list: the full name as typed at start-up and, where the list
// gives them, the initials.
struct ListedStudent {
    std::string name;
    std::string initials;
    std::size_t line = 0; // of the list, from 1
};

// How the name and initials of a record stand to the class list.
struct ListMatch {
    // The listed student they are; null when they are none (or there is no list).
    const ListedStudent* listed = nullptr;
    // Not listed, but differing from this listed student only in capitals, accents or blanks
    // of the name, or in the initials: possibly the same person, never taken for them.
    const ListedStudent* possibly = nullptr;
};

// The class list of --class-list: a UTF-8 text or CSV file (one saved by a spreadsheet in
// Windows-1252 is read as such), one student a line, the name, optionally a comma (or, in a
// file without a comma, a semicolon) and the initials; a field may be quoted as in CSV. A
// first line `name` or `name,initials` is a header; `#` starts a comment, blank lines are
// passed over. A record is a listed student's when its name is the listed name exactly and,
// where the list gives initials, its initials are the listed ones exactly.
class ClassList {
public:
    // Nothing, with the reason in `error`, when the file cannot be read or a line is not one
    // of a class list; what is odd but readable (a student listed twice) is in `warnings`.
    static std::optional<ClassList> read(const std::filesystem::path& file, std::string& error,
                                         std::vector<std::string>& warnings);
    // The same from the file's bytes, `shownName` naming it in messages.
    static std::optional<ClassList> parse(std::string_view bytes, const std::string& shownName,
                                          std::string& error, std::vector<std::string>& warnings);

    const std::vector<ListedStudent>& students() const { return students_; }
    std::size_t size() const { return students_.size(); }

    // A record whose initials are not known (notes read without their master file) is the
    // listed student of its name.
    ListMatch match(std::string_view name, std::string_view initials) const;
    // Whether more than one listed student bears this name (told apart by their initials).
    bool nameShared(std::string_view name) const { return byName_.count(name) > 1; }

private:
    std::vector<ListedStudent> students_;
    std::multimap<std::string, std::size_t, std::less<>> byName_;
    std::multimap<std::string, std::size_t, std::less<>> byFolded_;
};

// A name as it is compared for "possibly": lower case, without accents, without blanks (and
// without the "_" that stands for a blank in a file name).
std::string foldedName(std::string_view utf8);

// How a name differs from a listed one it folds the same as: "blanks", "capitals", "capitals
// and blanks" or "accents"; "" when they are the same.
std::string howNamesDiffer(std::string_view name, std::string_view listed);

} // namespace drilbank::instructor
