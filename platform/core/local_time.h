#pragma once
// Dates and times as the user's locale writes them.
#include <ctime>
#include <string>

namespace core {

// The local date and time of `when` in the date and time formats of the
// locale named `locale` ("" is the user's own, from LC_ALL, LC_TIME or
// LANG). A locale that is not installed gives "YYYY-MM-DD hh:mm:ss".
std::string LocalDateTimeText(std::time_t when, const std::string& locale = "");

}  // namespace core
