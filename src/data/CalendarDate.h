#pragma once

#include <string>
#include <string_view>

namespace hk {

// A day of the calendar, as the system's clock gives it in local time.
struct CalendarDate {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
};

// "YYYY-MM-DD", the form of a money category's DATE key.
std::string DateText(const CalendarDate& date);
// Whether the text has that form, with a month and a day that can be.
bool IsDateText(std::string_view text);

}  // namespace hk
