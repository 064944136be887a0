// How a class's clicks are kept: each once however many of the student's files it is in,
// the latest response of a question its final answer, within the budget for texts.
#include "instructor/ClassWork.h"

#include <algorithm>
#include <bit>

namespace drilbank::instructor {

std::size_t utf8CharacterEnd(std::string_view text, std::size_t limit) {
    std::size_t end = std::min(limit, text.size());
    while (end < text.size() && end > 0 && (text[end] & 0xC0) == 0x80) {
        --end;
    }
    return end;
}

namespace {

constexpr std::size_t filesPerClick = 8;

bool withinASecond(Moment a, Moment b) {
    if (a == noMoment || b == noMoment) {
        return a == b;
    }
    return a - b <= 1 && b - a <= 1;
}

// Whether a row's time may be that of a copy of the click: within a second of the click's
// or of a copy's (three files written one after the other may span two seconds).
bool mayBeCopy(Moment row, const Click& click) {
    return withinASecond(row, click.moment) ||
           (click.copiedUntil != noMoment && withinASecond(row, click.copiedUntil));
}

// Widens the span of times a cell's others hold to take in `moment`.
void spanOthers(Cell& cell, Moment moment) {
    if (moment == noMoment) {
        return;
    }
    cell.othersFrom = cell.othersFrom == noMoment ? moment : std::min(cell.othersFrom, moment);
    cell.othersUntil = std::max(cell.othersUntil, moment);
}

void noteCopy(Click& click, Moment moment) {
    if (moment != noMoment && moment > click.moment) {
        click.copiedUntil = std::max(click.copiedUntil, moment);
    }
}

bool holds(const std::vector<std::uint32_t>& files, std::uint32_t file) {
    return std::find(files.begin(), files.end(), file) != files.end();
}

// A key for a click kept among a cell's others: the cell, the kind, the answer and the second.
std::uint64_t othersKey(const Cell* cell, bool note, std::uint64_t answer, Moment moment) {
    constexpr std::uint64_t multiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t key = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(cell));
    key = (std::rotl(key, 29) ^ answer) * multiplier;
    key = (std::rotl(key, 29) ^ static_cast<std::uint64_t>(moment)) * multiplier;
    return (key ^ (key >> 31)) + (note ? 1 : 0);
}

// The kept cost of a text: its memory, which a string keeps after it shrinks.
std::size_t costOf(const Click& click) {
    return sizeof(Click) + click.text.capacity() + click.question.capacity();
}

void setFrom(Click& click, const RowClick& row) {
    click.moment = row.moment;
    click.note = row.note;
    click.late = row.late;
    click.answer = row.answer;
    click.answerSize = row.answerSize;
    click.copiedUntil = noMoment;
    click.textKept = false;
    click.text.clear();
    click.cut = 0;
    click.question.clear();
    click.files.assign(1, row.file);
}

} // namespace

bool ClassWork::fits(const RowClick& row, bool final) const {
    const std::size_t text = std::min(row.text.size(), entryLimit);
    const std::size_t question = std::min(row.question.size(), titleLimit);
    return textKept_ + sizeof(Click) + text + question < (final ? textBudget : textBudget / 4 * 3);
}

bool ClassWork::keepText(Click& click, const RowClick& row, bool final) {
    if (!fits(row, final)) {
        return false;
    }
    const std::size_t end = utf8CharacterEnd(row.text, entryLimit);
    const std::size_t question = utf8CharacterEnd(row.question, titleLimit);
    click.text.assign(row.text.substr(0, end));
    click.question.assign(row.question.substr(0, question));
    if (click.text.capacity() > 2 * click.text.size() + 64) {
        click.text.shrink_to_fit();
    }
    click.cut = row.text.size() - end;
    click.textKept = true;
    textKept_ += costOf(click);
    return true;
}

void ClassWork::release(Click& click) {
    if (click.textKept) {
        textKept_ -= std::min(textKept_, costOf(click));
        click.textKept = false;
    }
}

void ClassWork::addResponse(Cell& cell, const RowClick& row, std::uint64_t ordinal) {
    const bool mark = options_.markFinalRows;
    if (cell.final) {
        Click& final = *cell.final;
        if (mayBeCopy(row.moment, final) && row.answer == final.answer &&
            row.answerSize == final.answerSize) {
            if (!holds(final.files, row.file)) {
                // The same click in another of the student's files.
                if (final.files.size() < filesPerClick) {
                    final.files.push_back(row.file);
                }
                noteCopy(final, row.moment);
                if (mark) {
                    cell.finalRows.emplace_back(row.file, ordinal);
                }
            } else if (mark) {
                // The same answer again within the second: the later click is the final one.
                for (auto& [file, place] : cell.finalRows) {
                    place = file == row.file ? ordinal : place;
                }
            }
            return;
        }
        if (row.moment < final.moment ||
            (row.moment == final.moment && !holds(final.files, row.file))) {
            addOther(cell, row);
            return;
        }
        // A later response: the final one until now is an earlier one.
        if (options_.keepTexts && final.textKept) {
            const std::size_t index = cell.others.size();
            cell.others.push_back(std::move(final));
            const Click& moved = cell.others.back();
            othersIndex_.try_emplace(othersKey(&cell, false, moved.answer, moved.moment),
                                     std::make_pair(&cell, index));
            spanOthers(cell, moved.moment);
            spanOthers(cell, moved.copiedUntil);
            if (moved.copiedUntil != noMoment) {
                othersIndex_.try_emplace(othersKey(&cell, false, moved.answer, moved.copiedUntil),
                                         std::make_pair(&cell, index));
            }
            final = Click();
        } else {
            release(final);
            if (options_.keepTexts) {
                ++cell.notShown;
                ++clicksNotShown_;
            }
        }
    } else {
        cell.final.emplace();
    }
    Click& final = *cell.final;
    setFrom(final, row);
    if (options_.keepTexts || options_.keepFinalTexts) {
        keepText(final, row, true);
    }
    if (mark) {
        cell.finalRows.assign(1, {row.file, ordinal});
    }
}

void ClassWork::addOther(Cell& cell, const RowClick& row) {
    if (!options_.keepTexts) {
        return; // only counted
    }
    if (row.moment != noMoment && cell.othersFrom != noMoment &&
        row.moment >= cell.othersFrom - 2 && row.moment <= cell.othersUntil + 2) {
        for (const Moment moment : {row.moment - 1, row.moment, row.moment + 1}) {
            const auto found = othersIndex_.find(othersKey(&cell, row.note, row.answer, moment));
            if (found == othersIndex_.end() || found->second.first != &cell) {
                continue;
            }
            const std::size_t index = found->second.second;
            Click& kept = cell.others[index];
            if (kept.note == row.note && kept.answer == row.answer &&
                kept.answerSize == row.answerSize && mayBeCopy(row.moment, kept) &&
                !holds(kept.files, row.file)) {
                if (kept.files.size() < filesPerClick) {
                    kept.files.push_back(row.file);
                }
                noteCopy(kept, row.moment);
                spanOthers(cell, row.moment);
                // A copy in a third file may be a second later still.
                othersIndex_.try_emplace(othersKey(&cell, row.note, row.answer, row.moment),
                                         std::make_pair(&cell, index));
                return; // the same click in another of the student's files
            }
        }
    }
    if (!fits(row, false)) {
        ++cell.notShown;
        ++clicksNotShown_;
        return; // told before a click is made: past the budget, most rows are
    }
    Click click;
    setFrom(click, row);
    keepText(click, row, false);
    const std::size_t index = cell.others.size();
    cell.others.push_back(std::move(click));
    othersIndex_.try_emplace(othersKey(&cell, row.note, row.answer, row.moment),
                             std::make_pair(&cell, index));
    spanOthers(cell, row.moment);
}

} // namespace drilbank::instructor
