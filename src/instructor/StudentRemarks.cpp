// The words said of a student beside their work, and of a run's length.
#include "instructor/ClassList.h"
#include "instructor/ClassWork.h"

#include <algorithm>

namespace drilbank::instructor {

std::string durationText(Moment from, Moment to) {
    if (from == noMoment || to == noMoment) {
        return "";
    }
    const Moment seconds = std::max<Moment>(0, to - from);
    if (seconds < 60) {
        return std::to_string(seconds) + " s";
    }
    if (seconds < 3600) {
        return std::to_string(seconds / 60) + " min";
    }
    const Moment minutes = seconds / 60 % 60;
    return std::to_string(seconds / 3600) + " h " + (minutes < 10 ? "0" : "") +
           std::to_string(minutes) + " min";
}

std::string remarkOf(const Student& student, const Grading& grading) {
    std::vector<std::string> remarks;
    if (!student.hasRecords()) {
        remarks.emplace_back("no records");
    }
    if (grading.classList != nullptr && !student.onList) {
        remarks.emplace_back("not on the class list");
    }
    if (student.possibly != nullptr) {
        const ListedStudent& listed = *student.possibly;
        std::string possibly = "possibly " + listed.name;
        if (listed.name == student.name) {
            possibly += " (" + listed.initials + "): other initials";
        } else {
            possibly += ": the name differs only in " + howNamesDiffer(student.name, listed.name);
        }
        remarks.push_back(possibly);
    }
    for (const std::string& alike : student.alike) {
        if (student.possibly == nullptr || alike != student.possibly->name) {
            remarks.push_back("possibly the same person as " + alike +
                              ": the names differ only in " + howNamesDiffer(alike, student.name));
        }
    }
    if (student.initialsSeen.size() > 1) {
        std::string sets;
        for (const std::string& initials : student.initialsSeen) {
            sets += (sets.empty() ? "" : ", ") + initials;
        }
        remarks.push_back("initials typed: " + sets);
    }
    if (student.listed != nullptr && !student.listed->initials.empty() &&
        !student.initialsSeen.empty() &&
        (student.initialsSeen.size() > 1 || student.initialsSeen[0] != student.listed->initials)) {
        remarks.push_back("the list says " + student.listed->initials);
    }
    std::string text;
    for (const std::string& remark : remarks) {
        text += (text.empty() ? "" : "; ") + remark;
    }
    return text;
}

} // namespace drilbank::instructor
