// What a class's work tells once read: its students in order, its assignments and
// questions, how many answered each, and which rows give a final answer.
#include "instructor/ClassWork.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace drilbank::instructor {

const AssignmentWork::Counts& AssignmentWork::counts() const {
    const auto most =
        std::max_element(byKind.begin(), byKind.end(), [](const auto& a, const auto& b) {
            return a.responses + a.notes < b.responses + b.notes;
        });
    return *most;
}

std::string Student::shownName() const {
    return initials.empty() ? name : name + " (" + initials + ")";
}

void ClassWork::findAlike() {
    std::map<std::string, std::vector<Student*>> byFolded;
    for (auto& [key, student] : students_) {
        byFolded[foldedName(student.name)].push_back(&student);
    }
    for (auto& [folded, alike] : byFolded) {
        for (Student* student : alike) {
            student->alike.clear();
            for (const Student* other : alike) {
                if (other != student && other->name != student->name) {
                    student->alike.push_back(other->name);
                }
            }
        }
    }
}

std::vector<const Student*> ClassWork::students() const {
    std::vector<const Student*> all;
    for (const auto& [key, student] : students_) {
        all.push_back(&student);
    }
    const auto byName = [](const Student* a, const Student* b) {
        const std::string foldedA = foldedName(a->name);
        const std::string foldedB = foldedName(b->name);
        return std::tie(foldedA, a->name, a->initials) < std::tie(foldedB, b->name, b->initials);
    };
    std::stable_sort(all.begin(), all.end(), byName);
    const ClassList* list = options_.grading.classList;
    if (list == nullptr) {
        return all;
    }
    std::vector<const Student*> ordered;
    for (const ListedStudent& listed : list->students()) {
        for (const Student* student : all) {
            if (student->listed == &listed) {
                ordered.push_back(student);
            }
        }
        for (const Student* student : all) {
            if (student->listed == nullptr && student->possibly == &listed) {
                ordered.push_back(student);
            }
        }
    }
    for (const Student* student : all) {
        if (student->listed == nullptr && student->possibly == nullptr) {
            ordered.push_back(student);
        }
    }
    return ordered;
}

std::vector<std::string> ClassWork::assignments() const {
    std::set<std::string> all;
    for (const auto& [key, student] : students_) {
        for (const auto& [assignment, work] : student.work) {
            all.insert(assignment);
        }
    }
    if (const DueTimes* due = options_.grading.due) {
        for (const auto& [assignment, moment] : due->named()) {
            bool known = false;
            for (const std::string& each : all) {
                known = known || paddedAssignment(each) == assignment;
            }
            if (!known) {
                all.insert(assignment);
            }
        }
    }
    std::vector<std::string> ordered(all.begin(), all.end());
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const std::string& a, const std::string& b) {
                         if (a.empty() != b.empty()) {
                             return b.empty();
                         }
                         const std::string paddedA = paddedAssignment(a);
                         const std::string paddedB = paddedAssignment(b);
                         return std::make_pair(paddedA.size(), paddedA) <
                                std::make_pair(paddedB.size(), paddedB);
                     });
    return ordered;
}

std::map<int, std::string> ClassWork::questions(const std::string& assignment) const {
    std::map<int, std::string> questions;
    int number = 0;
    for (const std::string& text : order_.scriptQuestions(assignment)) {
        questions.emplace(++number, text);
    }
    if (const auto met = questionTexts_.find(assignment); met != questionTexts_.end()) {
        for (const auto& [each, text] : met->second) {
            questions.emplace(each, text);
        }
    }
    return questions;
}

int ClassWork::lastQuestion(const std::string& assignment) const {
    const std::map<int, std::string> all = questions(assignment);
    return all.empty() ? 0 : all.rbegin()->first;
}

std::size_t ClassWork::classSize() const {
    if (const ClassList* list = options_.grading.classList) {
        return list->size();
    }
    return students_.size();
}

ClassWork::AnsweredBy ClassWork::answeredBy(const std::string& assignment, int question) const {
    AnsweredBy count;
    for (const auto& [key, student] : students_) {
        const auto work = student.work.find(assignment);
        if (work == student.work.end()) {
            continue;
        }
        const auto cell = work->second.cells.find(question);
        if (cell != work->second.cells.end() && cell->second.final) {
            ++(student.onList ? count.onList : count.notOnList);
        }
    }
    return count;
}

std::vector<std::vector<std::uint64_t>> ClassWork::finalRows() const {
    std::vector<std::vector<std::uint64_t>> rows(files_ == nullptr ? 0 : files_->size());
    for (const auto& [key, student] : students_) {
        for (const auto& [assignment, work] : student.work) {
            for (const auto& [question, cell] : work.cells) {
                for (const auto& [file, place] : cell.finalRows) {
                    rows[file].push_back(place);
                }
            }
        }
    }
    for (std::vector<std::uint64_t>& places : rows) {
        std::sort(places.begin(), places.end());
    }
    return rows;
}

} // namespace drilbank::instructor
