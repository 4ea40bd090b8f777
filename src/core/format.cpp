#include "core/format.h"

#include <charconv>
#include <cstdio>
#include <vector>

namespace torvane::core {
namespace {

struct Spec {
    int index = -1;
    bool leftJustify = false;
    int width = -1;
    int precision = -1;
    char type = 0;
};

// Parses digits at format[pos]; returns -1 when there are none.
int ParseNumber(std::string_view format, std::size_t& pos) {
    if (pos >= format.size() || format[pos] < '0' || format[pos] > '9') return -1;
    int value = 0;
    while (pos < format.size() && format[pos] >= '0' && format[pos] <= '9') {
        value = value * 10 + (format[pos] - '0');
        if (value > 100000) value = 100000;
        ++pos;
    }
    return value;
}

std::string Pad(std::string text, const Spec& spec) {
    if (spec.width > 0 && static_cast<int>(text.size()) < spec.width) {
        const std::string fill(static_cast<std::size_t>(spec.width) - text.size(), ' ');
        text = spec.leftJustify ? text + fill : fill + text;
    }
    return text;
}

std::string ZeroPadDigits(std::string digits, int precision) {
    if (precision > 0 && static_cast<int>(digits.size()) < precision) {
        digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), '0');
    }
    return digits;
}

std::string FormatOne(const Spec& spec, const FormatArg& arg, const FormatOptions& options,
                      std::string_view format) {
    const auto& value = arg.value();
    switch (spec.type) {
        case 'd':
        case 'u': {
            const auto* number = std::get_if<std::int64_t>(&value);
            if (!number) throw FormatError(format);
            if (spec.type == 'u') {
                const auto unsignedValue = static_cast<std::uint32_t>(*number);
                return Pad(ZeroPadDigits(std::to_string(unsignedValue), spec.precision), spec);
            }
            const bool negative = *number < 0;
            const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(*number)
                                                     : static_cast<std::uint64_t>(*number);
            std::string digits = ZeroPadDigits(std::to_string(magnitude), spec.precision);
            return Pad(negative ? "-" + digits : digits, spec);
        }
        case 'x': {
            const auto* number = std::get_if<std::int64_t>(&value);
            if (!number) throw FormatError(format);
            char buffer[32];
            const auto bits = *number < 0 && *number >= INT32_MIN
                                  ? static_cast<std::uint64_t>(static_cast<std::uint32_t>(*number))
                                  : static_cast<std::uint64_t>(*number);
            std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(bits));
            return Pad(ZeroPadDigits(buffer, spec.precision), spec);
        }
        case 'f': {
            double number = 0;
            if (const auto* d = std::get_if<double>(&value)) {
                number = *d;
            } else if (const auto* i = std::get_if<std::int64_t>(&value)) {
                number = static_cast<double>(*i);
            } else {
                throw FormatError(format);
            }
            const int precision = spec.precision >= 0 ? std::min(spec.precision, 18) : 2;
            // to_chars ignores the C locale, so the separator is always ours to choose.
            char buffer[512];
            const auto result = std::to_chars(buffer, buffer + sizeof buffer, number,
                                              std::chars_format::fixed, precision);
            std::string text = result.ec == std::errc() ? std::string(buffer, result.ptr) : "0";
            if (options.decimalSeparator != '.') {
                for (char& c : text) {
                    if (c == '.') c = options.decimalSeparator;
                }
            }
            return Pad(std::move(text), spec);
        }
        case 's': {
            const auto* text = std::get_if<std::string>(&value);
            if (!text) throw FormatError(format);
            std::string result = *text;
            if (spec.precision >= 0 && static_cast<int>(result.size()) > spec.precision) {
                result.resize(static_cast<std::size_t>(spec.precision));
            }
            return Pad(std::move(result), spec);
        }
        default:
            throw FormatError(format);
    }
}

}  // namespace

FormatError::FormatError(std::string_view format)
    : std::runtime_error("Format '" + std::string(format) +
                         "' invalid or incompatible with argument") {}

std::string Format(std::string_view format, std::initializer_list<FormatArg> args,
                   const FormatOptions& options) {
    const std::vector<FormatArg> arguments(args);
    std::string result;
    std::size_t next = 0;
    std::size_t pos = 0;
    while (pos < format.size()) {
        const char c = format[pos++];
        if (c != '%') {
            result += c;
            continue;
        }
        if (pos < format.size() && format[pos] == '%') {
            result += '%';
            ++pos;
            continue;
        }
        Spec spec;
        const std::size_t numberStart = pos;
        const int first = ParseNumber(format, pos);
        if (first >= 0 && pos < format.size() && format[pos] == ':') {
            spec.index = first;
            ++pos;
        } else {
            pos = numberStart;
        }
        if (pos < format.size() && format[pos] == '-') {
            spec.leftJustify = true;
            ++pos;
        }
        spec.width = ParseNumber(format, pos);
        if (pos < format.size() && format[pos] == '.') {
            ++pos;
            spec.precision = ParseNumber(format, pos);
            if (spec.precision < 0) spec.precision = 0;
        }
        if (pos >= format.size()) throw FormatError(format);
        spec.type = static_cast<char>(format[pos] | 0x20);  // letters in either case
        ++pos;
        if (spec.index >= 0) next = static_cast<std::size_t>(spec.index);
        if (next >= arguments.size()) throw FormatError(format);
        result += FormatOne(spec, arguments[next], options, format);
        ++next;
    }
    return result;
}

}  // namespace torvane::core
