#pragma once

#include "record/RecordFormat.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace drilbank {

// The record files' date (MM-DD-YYYY) and time (HH:MM:SS, 24-hour clock) texts, read back.
std::optional<std::chrono::year_month_day> readDateText(std::string_view text);
std::optional<int> readTimeText(std::string_view text); // seconds since midnight

// YYYY-MM-DD, the form a spreadsheet sorts.
std::string isoDate(std::chrono::year_month_day date);

} // namespace drilbank
