#include "reading/RecordDates.h"

namespace drilbank {
std::string isoDate(std::chrono::year_month_day date) {
    // Written out by hand: a class has millions of rows, and a formatted print is slow.
    std::string text = "0000-00-00";
    const auto put = [&](std::size_t end, unsigned value, int digits) {
        for (int digit = 0; digit < digits; ++digit, value /= 10) {
            text[end - static_cast<std::size_t>(digit)] = static_cast<char>('0' + value % 10);
        }
    };
    put(3, static_cast<unsigned>(static_cast<int>(date.year())), 4);
    put(6, static_cast<unsigned>(date.month()), 2);
    put(9, static_cast<unsigned>(date.day()), 2);
    return text;
}

} // namespace drilbank
