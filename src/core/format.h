#pragma once

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

// The program's format rules: "%d" signed decimal, "%u" unsigned decimal, "%s" text, "%f"
// fixed-point (two decimals unless a precision is given), "%x" upper-case hexadecimal, "%%" a
// percent sign. A specifier may carry an argument index ("%0:s"), a "-" (left-justify within the
// width), a width and a precision ("%-4.4x": at least four digits, zero padded). The precision
// pads integers with zeros and cuts texts. After an indexed specifier the next plain one takes
// the following argument.
namespace torvane::core {

class FormatError final : public std::runtime_error {
public:
    explicit FormatError(std::string_view format);
};

class FormatArg {
public:
    template <typename T>
        requires std::is_integral_v<T>
    FormatArg(T value) : value_(static_cast<std::int64_t>(value)) {}  // NOLINT: implicit by design
    FormatArg(double value) : value_(value) {}                       // NOLINT
    FormatArg(std::string_view value) : value_(std::string(value)) {}  // NOLINT
    FormatArg(const std::string& value) : value_(value) {}             // NOLINT
    FormatArg(const char* value) : value_(std::string(value)) {}       // NOLINT

    const std::variant<std::int64_t, double, std::string>& value() const { return value_; }

private:
    std::variant<std::int64_t, double, std::string> value_;
};

struct FormatOptions {
    char decimalSeparator = '.';
};

std::string Format(std::string_view format, std::initializer_list<FormatArg> args,
                   const FormatOptions& options = {});

}  // namespace torvane::core
