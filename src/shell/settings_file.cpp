#include "shell/settings_file.h"

#include <charconv>
#include <limits>

#include "core/ini_file.h"
#include "core/text.h"

namespace torvane::shell {

int StrToInt(std::string_view text) {
    const std::string_view trimmed = core::Trim(text);
    auto fail = [&]() -> int {
        throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
    };
    if (trimmed.empty()) return fail();
    std::size_t pos = 0;
    bool negative = false;
    if (trimmed[pos] == '+' || trimmed[pos] == '-') negative = trimmed[pos++] == '-';
    int base = 10;
    if (pos < trimmed.size() && trimmed[pos] == '$') {
        base = 16;
        ++pos;
    } else if (pos + 1 < trimmed.size() && trimmed[pos] == '0' &&
               (trimmed[pos + 1] == 'x' || trimmed[pos + 1] == 'X')) {
        base = 16;
        pos += 2;
    }
    if (pos >= trimmed.size()) return fail();
    long long value = 0;
    const char* begin = trimmed.data() + pos;
    const char* end = trimmed.data() + trimmed.size();
    const auto result = std::from_chars(begin, end, value, base);
    if (result.ec != std::errc() || result.ptr != end) return fail();
    if (negative) value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
        return fail();
    }
    return static_cast<int>(value);
}

std::string SettingsFile::ReadIniString(std::string_view section, std::string_view key,
                                        std::string_view defaultValue) const {
    return core::GetPrivateProfileString(section, key, defaultValue, path_);
}

int SettingsFile::ReadIniInteger(std::string_view section, std::string_view key,
                                 int defaultValue) const {
    return StrToInt(ReadIniString(section, key, std::to_string(defaultValue)));
}

bool SettingsFile::ReadIniBool(std::string_view section, std::string_view key,
                               bool defaultValue) const {
    return core::UpperCase(ReadIniString(section, key, defaultValue ? "true" : "false")) == "TRUE";
}

void SettingsFile::WriteIniString(std::string_view section, std::string_view key,
                                  std::string_view value) {
    core::WritePrivateProfileString(section, key, value, path_);
}

void SettingsFile::WriteIniInteger(std::string_view section, std::string_view key, int value) {
    WriteIniString(section, key, std::to_string(value));
}

void SettingsFile::WriteIniBool(std::string_view section, std::string_view key, bool value) {
    WriteIniString(section, key, value ? "true" : "false");
}

}  // namespace torvane::shell
