#include "platform/desktop_association.h"

#include <cstdlib>

#include "platform/file_ops.h"
#include "platform/process.h"

namespace torvane::platform {
namespace {

std::string DataHome(const std::string& given) {
    if (!given.empty()) return given;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) return xdg;
    if (const char* home = std::getenv("HOME"); home && *home) return std::string(home) + "/.local/share";
    return {};
}

bool WriteQuietly(const std::string& path, const std::string& text) {
    try {
        WriteFileAtomic(path, text);
        return true;
    } catch (const FileError&) {
        return false;
    }
}

void RunQuietly(const char* tool, const std::string& argument) {
    const std::string program = FindInPath(tool);
    if (program.empty()) return;
    ProcessSpec spec;
    spec.argv = {program, argument};
    spec.nullStderr = true;
    const pid_t pid = StartProcess(spec);
    if (pid > 0) WaitForProcess(pid, 10000);
}

// Desktop entries quote arguments with double quotes; backslashes and quotes are escaped.
std::string QuoteExec(const std::string& path) {
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '\\' || c == '`' || c == '$') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

AssociationResult AssociateUnrealScriptFiles(const std::string& programPath,
                                             const std::string& dataHome,
                                             const std::vector<IconPicture>& icons) {
    AssociationResult result;
    const std::string base = DataHome(dataHome);
    if (base.empty()) return result;
    for (const IconPicture& icon : icons) {
        const std::string size = std::to_string(icon.size);
        const std::string directory = base + "/icons/hicolor/" + size + "x" + size + "/apps";
        if (icon.size > 0 && CreateDirectories(directory) && WriteQuietly(directory + "/torvane.png", icon.png)) {
            ++result.iconsWritten;
        }
    }
    const std::string applications = base + "/applications";
    const std::string mimePackages = base + "/mime/packages";
    if (CreateDirectories(mimePackages)) {
        result.mimeTypeWritten = WriteQuietly(
            mimePackages + "/torvane-unrealscript.xml",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
            "  <mime-type type=\"text/x-unrealscript\">\n"
            "    <comment>Torvane Source File</comment>\n"
            "    <sub-class-of type=\"text/plain\"/>\n"
            "    <glob pattern=\"*.uc\" case-sensitive=\"false\"/>\n"
            "  </mime-type>\n"
            "</mime-info>\n");
        if (result.mimeTypeWritten) RunQuietly("update-mime-database", base + "/mime");
    }
    if (CreateDirectories(applications)) {
        result.desktopEntryWritten = WriteQuietly(
            applications + "/torvane.desktop",
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Torvane\n"
            "GenericName=UnrealScript IDE\n"
            "Comment=Edit this Torvane Source File\n"
            "Exec=" + QuoteExec(programPath) + " %f\n"
            "Icon=torvane\n"
            "MimeType=text/x-unrealscript;\n"
            "Terminal=false\n"
            "Categories=Development;IDE;\n");
        if (result.desktopEntryWritten) RunQuietly("update-desktop-database", applications);
    }
    return result;
}

}  // namespace torvane::platform
