#include "editor/editor_rules.h"

#include "core/format.h"
#include "core/text.h"
#include "shell/settings_file.h"

namespace torvane::editor {

bool IsProtectedPackage(std::string_view package) {
    static constexpr const char* kProtected[] = {
        "CORE",      "ENGINE",     "EDITOR",   "UWINDOW",       "FIRE",   "IPDRV",   "UWEB",
        "UBROWSER",  "UNREALSHARE", "UNREALI", "UMENU",         "IPSERVER", "BOTPACK",
        "UTSERVERADMIN", "UTMENU", "UTBROWSER", "MULTIMESH",   "RELICS", "EPICCUSTOMMODELS"};
    const std::string upper = core::UpperCase(package);
    for (const char* name : kProtected) {
        if (upper == name) return true;
    }
    return false;
}

std::array<std::string, 4> EditorStatusPanels(const EditorStatusInput& in) {
    std::array<std::string, 4> panels;
    panels[0] = core::Format("%6d:%4d", {in.line, in.column});
    if (!in.package.empty()) {
        panels[3] = in.package + "    ";
    } else if (core::EndsWithIgnoringCase(in.caption, ".uc")) {
        panels[3] = "Rogue UC File   ";
    } else {
        panels[3] = "Misc. File    ";
    }
    panels[1] = in.modified ? "Modified" : "";
    if (in.readOnly) {
        panels[3] = "Epic Protected Class -- " + panels[3];
        panels[2] = "Read Only";
    } else {
        panels[2] = in.overwrite ? " Overwrite" : " Insert";
    }
    return panels;
}

LineEnd DetectLineEnd(std::string_view text) {
    int crlf = 0, lf = 0, cr = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++crlf;
                ++i;
            } else {
                ++cr;
            }
        } else if (text[i] == '\n') {
            ++lf;
        }
    }
    if (lf > crlf && lf >= cr) return LineEnd::Lf;
    if (cr > crlf && cr > lf) return LineEnd::Cr;
    return LineEnd::CrLf;
}

std::string NewFileName(int openEditors) { return "NONAME" + std::to_string(openEditors + 1); }

std::string CutTo100(std::string_view text) {
    return std::string(text.substr(0, std::min<std::size_t>(text.size(), 100)));
}

std::optional<int> BookmarkOfCaption(std::string_view caption) {
    if (caption.empty()) return std::nullopt;
    const char last = caption.back();
    if (last < '0' || last > '9') return std::nullopt;
    return last - '0';
}

std::optional<int> LineNumberInRange(std::string_view text, int minimum, int maximum) {
    int value = 0;
    try {
        value = shell::StrToInt(text);
    } catch (const shell::ConversionError&) {
        return std::nullopt;
    }
    if (value < minimum || value > maximum) return std::nullopt;
    return value;
}

std::string LineRangeWarning(int minimum, int maximum) {
    return "Value must be between " + std::to_string(minimum) + " and " + std::to_string(maximum);
}

}  // namespace torvane::editor
