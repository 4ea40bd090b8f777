#pragma once

#include <cstdint>
#include <string>

// Date and time in the formats of the user's locale (LC_TIME, LC_NUMERIC of the environment).
namespace torvane::platform {

// The short date ("%x" of the locale), e.g. "12/09/26" or "09.12.2026".
std::string FormatShortDate(std::int64_t secondsSinceEpoch);
// The long time ("%X" of the locale), e.g. "23:14:05".
std::string FormatLongTime(std::int64_t secondsSinceEpoch);
// Short date and long time separated by a blank.
std::string FormatDateTime(std::int64_t secondsSinceEpoch);
// The locale's decimal separator.
char LocaleDecimalSeparator();

}  // namespace torvane::platform
