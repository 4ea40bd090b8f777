#include "shell/command_icons.h"

#include <QAction>

#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "shell/icons.h"

namespace torvane::shell {

namespace {

struct CommandIcon {
    const char* id;
    const char* icon;  // a freedesktop icon name, or a bundled "torvane-*" picture
};

// clang-format off
constexpr CommandIcon kCommandIcons[] = {
    {cmd::kNewFile, "document-new"},
    {cmd::kNewPackage, "package-x-generic"},
    {cmd::kNewProject, "torvane-project"},
    {cmd::kOpen, "document-open"},
    {cmd::kOpenProject, "torvane-project"},
    {cmd::kSave, "document-save"},
    {cmd::kSaveAs, "document-save-as"},
    {cmd::kRevert, "document-revert"},
    {cmd::kExit, "system-log-out"},
    {cmd::kUndo, "edit-undo"},
    {cmd::kRedo, "edit-redo"},
    {cmd::kCut, "edit-cut"},
    {cmd::kCopy, "edit-copy"},
    {cmd::kPaste, "edit-paste"},
    {cmd::kSelectAll, "edit-select-all"},
    {cmd::kFind, "edit-find"},
    {cmd::kFindReplace, "edit-find-replace"},
    {cmd::kSearchAgain, "go-down"},
    {cmd::kFindInFiles, "system-search"},
    {cmd::kGotoLine, "go-jump"},
    {cmd::kQuickFind, "edit-find"},
    {cmd::kQuickFindInFiles, "system-search"},
    {cmd::kCompile, "torvane-compile"},
    {cmd::kCompileAndRun, "torvane-compile-run"},
    {cmd::kRun, "media-playback-start"},
    {cmd::kProjectSettings, "document-properties"},
    {cmd::kCreateSubClass, "torvane-class"},
    {cmd::kDeleteClass, "edit-delete"},
    {cmd::kRebuildClassTree, "view-refresh"},
    {cmd::kDefaultProperties, "document-properties"},
    {cmd::kEditorDefaultProperties, "document-properties"},
    {cmd::kEditorPreferences, "preferences-desktop-font"},
    {cmd::kEnvironmentOptions, "preferences-system"},
    {cmd::kCascade, "torvane-window-cascade"},
    {cmd::kTileHorizontally, "torvane-window-tile-horizontal"},
    {cmd::kTileVertically, "torvane-window-tile-vertical"},
    {cmd::kAbout, "help-browser"},
    {cmd::kImportPackageIntoProject, "list-add"},
    {cmd::kRemovePackageFromProject, "list-remove"},
    {cmd::kExportPackage, "document-save-as"},
};
// clang-format on

}  // namespace

void GiveCommandIcons(CommandRegistry& commands) {
    for (const CommandIcon& entry : kCommandIcons) {
        if (!commands.Has(entry.id)) continue;
        QAction* action = commands.Command(entry.id);
        if (action->icon().isNull()) action->setIcon(ThemeIcon(entry.icon));
    }
}

}  // namespace torvane::shell
