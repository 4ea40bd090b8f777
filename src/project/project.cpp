#include "project/project.h"

#include "core/ini_file.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "shell/settings_file.h"

namespace torvane::project {
namespace {

const char* Bool(bool value) { return value ? "True" : "False"; }

void WriteList(core::IniDocument& doc, const char* section, const char* key,
               const std::vector<std::string>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) doc.SetValue(section, key + std::to_string(i), values[i]);
}

std::vector<std::string> ReadList(const std::string& path, const char* section, const char* key,
                                  const char* sentinel) {
    std::vector<std::string> values;
    for (int i = 0;; ++i) {
        std::string value = core::GetPrivateProfileString(section, key + std::to_string(i), sentinel, path);
        if (value == sentinel) break;
        values.push_back(std::move(value));
    }
    return values;
}

bool IsMediaFile(const std::string& name) {
    for (const char* extension : {".BMP", ".PCX", ".A3D", ".3D", ".WAV"}) {
        if (core::EndsWithIgnoringCase(name, extension)) return true;
    }
    return false;
}

}  // namespace

std::string CompileModeName(int index) {
    static const char* const kModes[] = {"Release Mode", "Debug Mode", "Beta Mode"};
    return index >= 0 && index < 3 ? std::string(kModes[index]) : std::string();
}

std::string ProjectFilePath(const std::string& directory, const std::string& name) {
    std::string dir = directory;
    while (dir.size() > 1 && (dir.back() == '/' || dir.back() == '\\')) dir.pop_back();
    return dir + "/" + name + ".tvx";
}

void WriteProjectFile(const Project& p, const std::string& path) {
    core::IniDocument doc;
    doc.SetValue("Project", "Name", p.name);
    doc.SetValue("Project", "TestParams", p.testParams);
    doc.SetValue("Project", "UseUCC", Bool(p.useUCC));
    doc.SetValue("Project", "BackupSrc", Bool(p.backupSrc));
    doc.SetValue("Project", "BackupPkg", Bool(p.backupPkg));
    doc.SetValue("Project", "NoRevisions", std::to_string(p.noRevisions));
    doc.SetValue("Project", "BackupDir", p.backupDir);
    doc.SetValue("Project", "OpenLog", Bool(p.openLog));
    doc.SetValue("Project", "UserInclude", Bool(p.userInclude));
    doc.SetValue("Project", "DoPostBatch", Bool(p.doPostBatch));
    doc.SetValue("Project", "DoPreBatch", Bool(p.doPreBatch));
    doc.SetValue("Project", "CompileMode", std::to_string(p.compileMode));
    WriteList(doc, "IncludePacks", "UserInclude", p.includePacks);
    WriteList(doc, "PostBatch", "Command", p.postBatch);
    WriteList(doc, "PreBatch", "Command", p.preBatch);
    WriteList(doc, "Packages", "Package", p.packages);
    doc.Save(path);  // replaced atomically: a failed write keeps the old file
}

void ReadProjectFile(const std::string& path, const std::string& gameRoot, Project& p) {
    auto text = [&](const char* key, const std::string& fallback) {
        return core::GetPrivateProfileString("Project", key, fallback, path);
    };
    auto flag = [&](const char* key, bool fallback) { return text(key, Bool(fallback)) == "True"; };
    p.name = text("Name", "");
    p.testParams = text("TestParams", "");
    p.useUCC = flag("UseUCC", false);
    p.backupSrc = flag("BackupSrc", true);
    p.backupPkg = flag("BackupPkg", true);
    p.noRevisions = shell::StrToInt(text("NoRevisions", "1"));
    p.backupDir = text("BackupDir", platform::JoinPath(gameRoot, "\\System\\PkgBackup"));
    p.openLog = flag("OpenLog", false);
    p.userInclude = flag("UserInclude", false);
    p.doPostBatch = flag("DoPostBatch", false);
    p.doPreBatch = flag("DoPreBatch", false);
    p.compileMode = shell::StrToInt(text("CompileMode", "0"));
    p.includePacks = ReadList(path, "IncludePacks", "UserInclude", "<none>");
    p.postBatch = ReadList(path, "PostBatch", "Command", "<none>");
    p.preBatch = ReadList(path, "PreBatch", "Command", "<none>");
    p.packages = ReadList(path, "Packages", "Package", "<<<NONE>>>");
}

PackageNodeContents FillPackageNode(const std::string& gameRoot, const std::string& package) {
    PackageNodeContents contents;
    PackageGroup classes{"Classes", {}};
    for (const auto& file : platform::ListDirectory(platform::ResolveGamePath(gameRoot, "\\" + package + "\\Classes"), "*.uc")) {
        classes.files.push_back(file.name);
    }
    contents.groups.push_back(std::move(classes));
    for (const char* group : {"Models", "Sounds", "Textures"}) {
        PackageGroup media{group, {}};
        for (const auto& file : platform::ListDirectory(
                 platform::ResolveGamePath(gameRoot, "\\" + package + "\\" + group), "*.*")) {
            if (IsMediaFile(file.name)) media.files.push_back(file.name);
        }
        if (!media.files.empty()) contents.groups.push_back(std::move(media));
    }
    if (platform::FileExists(platform::ResolveGamePath(gameRoot, "\\System\\" + package + ".int"))) {
        contents.intFile = package + ".int";
    }
    return contents;
}

ProjectNodeAction ProjectNodeActionFor(const std::string& gameRoot, const std::string& caption,
                                       const std::string& parent, const std::string& grandparent) {
    ProjectNodeAction action;
    if (core::EndsWithIgnoringCase(caption, ".INT")) {
        action.kind = ProjectNodeAction::Kind::OpenFile;
        action.path = platform::ResolveGamePath(gameRoot, "\\System\\" + caption);
        return action;
    }
    if (parent == "Classes") {
        action.kind = ProjectNodeAction::Kind::OpenClass;
        action.className = caption.size() >= 3 ? caption.substr(0, caption.size() - 3) : caption;
        action.package = grandparent;
        action.path = platform::ResolveGamePath(gameRoot, "\\" + grandparent + "\\Classes\\" + action.className + ".uc");
        return action;
    }
    const std::string upper = core::UpperCase(caption);
    const std::string path = platform::ResolveGamePath(gameRoot, "\\" + grandparent + "\\" + parent + "\\" + caption);
    if (upper.find(".WAV") != std::string::npos) {
        action.kind = ProjectNodeAction::Kind::PlaySound;
        action.path = path;
    } else if (upper.find(".PCX") != std::string::npos || upper.find(".BMP") != std::string::npos) {
        action.kind = ProjectNodeAction::Kind::ViewImage;
        action.path = path;
    }
    return action;
}

}  // namespace torvane::project
