#include "platform/locale_formats.h"

#include <langinfo.h>
#include <locale.h>
#include <time.h>

namespace torvane::platform {
namespace {

// The environment's locale for one category; falls back to "C" when the environment names a
// locale that is not installed.
locale_t EnvironmentLocale(int mask) {
    locale_t locale = ::newlocale(mask, "", static_cast<locale_t>(0));
    if (!locale) locale = ::newlocale(mask, "C", static_cast<locale_t>(0));
    return locale;
}

std::string FormatTime(std::int64_t seconds, const char* format) {
    const time_t t = static_cast<time_t>(seconds);
    struct tm local {};
    ::localtime_r(&t, &local);
    locale_t locale = EnvironmentLocale(LC_TIME_MASK);
    char buffer[128] = {};
    const std::size_t n = ::strftime_l(buffer, sizeof buffer, format, &local, locale);
    if (locale) ::freelocale(locale);
    return std::string(buffer, n);
}

}  // namespace

std::string FormatShortDate(std::int64_t secondsSinceEpoch) {
    return FormatTime(secondsSinceEpoch, "%x");
}

std::string FormatLongTime(std::int64_t secondsSinceEpoch) {
    return FormatTime(secondsSinceEpoch, "%X");
}

std::string FormatDateTime(std::int64_t secondsSinceEpoch) {
    return FormatShortDate(secondsSinceEpoch) + " " + FormatLongTime(secondsSinceEpoch);
}

char LocaleDecimalSeparator() {
    locale_t locale = EnvironmentLocale(LC_NUMERIC_MASK);
    const char* point = locale ? ::nl_langinfo_l(RADIXCHAR, locale) : ".";
    const char separator = point && *point ? *point : '.';
    if (locale) ::freelocale(locale);
    return separator;
}

}  // namespace torvane::platform
