#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

// "Torvane.ini": the six accessors every part of the program reads and writes settings through.
// Booleans are written "true"/"false" and read as true exactly when the text upper-cased is
// "TRUE"; integers are decimal, and a value that is not one fails the read.
namespace torvane::shell {

// The standard string-to-integer conversion error ("'abc' is not a valid integer value").
class ConversionError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Decimal text to an integer, as the standard conversion does (blanks, signs and "$" hex are
// accepted; anything else throws ConversionError).
int StrToInt(std::string_view text);

class SettingsFile final {
public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }

    std::string ReadIniString(std::string_view section, std::string_view key,
                              std::string_view defaultValue) const;
    int ReadIniInteger(std::string_view section, std::string_view key, int defaultValue) const;
    bool ReadIniBool(std::string_view section, std::string_view key, bool defaultValue) const;

    void WriteIniString(std::string_view section, std::string_view key, std::string_view value);
    void WriteIniInteger(std::string_view section, std::string_view key, int value);
    void WriteIniBool(std::string_view section, std::string_view key, bool value);

private:
    std::string path_;
};

}  // namespace torvane::shell
