#include "unrealpkg/export_file_names.h"

namespace torvane::unrealpkg {

bool IsSafeExportName(std::string_view name) {
    if (name.empty() || name.find("..") != std::string_view::npos) return false;
    for (const char c : name) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || code < 0x20 || code == 0x7F) return false;
    }
    return true;
}

std::string RefusedNamesText(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        if (!text.empty()) text += ", ";
        text += '"';
        for (const char c : name) {
            const auto code = static_cast<unsigned char>(c);
            if (code < 0x20 || code == 0x7F) {
                text += "#" + std::to_string(code);
            } else {
                text += c;
            }
        }
        text += '"';
    }
    return text;
}

}  // namespace torvane::unrealpkg
