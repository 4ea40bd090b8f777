#pragma once

// The id of every command of the IDE. Each id names one action object, created once by
// CommandRegistry::Register and found with CommandRegistry::Command; menus, tool bars and context
// menus all show that object. See docs/architecture.md, "Commands".
namespace torvane::shell::cmd {

// File
inline constexpr char kNewFile[] = "File.New";  // the tool bar's New: an empty editor
inline constexpr char kNewPackage[] = "File.NewPackage";
inline constexpr char kNewProject[] = "File.NewProject";
inline constexpr char kOpen[] = "File.Open";
inline constexpr char kOpenProject[] = "File.OpenProject";
inline constexpr char kSave[] = "File.Save";
inline constexpr char kSaveAs[] = "File.SaveAs";
inline constexpr char kSaveProject[] = "File.SaveProject";
inline constexpr char kSaveAll[] = "File.SaveAll";
inline constexpr char kClose[] = "File.Close";
inline constexpr char kCloseAll[] = "File.CloseAll";
inline constexpr char kCloseProject[] = "File.CloseProject";
inline constexpr char kRevert[] = "File.Revert";
inline constexpr char kExit[] = "File.Exit";

// Edit (on the active editor)
inline constexpr char kUndo[] = "Edit.Undo";
inline constexpr char kRedo[] = "Edit.Redo";
inline constexpr char kCut[] = "Edit.Cut";
inline constexpr char kCopy[] = "Edit.Copy";
inline constexpr char kPaste[] = "Edit.Paste";
inline constexpr char kSelectAll[] = "Edit.SelectAll";

// Search
inline constexpr char kFind[] = "Search.Find";
inline constexpr char kFindReplace[] = "Search.FindReplace";
inline constexpr char kSearchAgain[] = "Search.SearchAgain";
inline constexpr char kFindInFiles[] = "Search.FindInFiles";
inline constexpr char kGotoLine[] = "Search.GotoLine";
inline constexpr char kQuickFind[] = "Search.QuickFind";              // the Find tool bar's Find
inline constexpr char kQuickFindInFiles[] = "Search.QuickFindInFiles";  // its Find in Files

// Navigate (code intelligence on the active source)
inline constexpr char kGoToDefinition[] = "Navigate.GoToDefinition";
inline constexpr char kFindReferences[] = "Navigate.FindReferences";
inline constexpr char kCompleteCode[] = "Navigate.CompleteCode";
inline constexpr char kParameterHint[] = "Navigate.ParameterHint";
inline constexpr char kOutline[] = "Navigate.Outline";
inline constexpr char kNavigateBack[] = "Navigate.Back";
inline constexpr char kNavigateForward[] = "Navigate.Forward";

// Project
inline constexpr char kCompile[] = "Project.Compile";
inline constexpr char kCompileAndRun[] = "Project.CompileAndRun";
inline constexpr char kRun[] = "Project.Run";
inline constexpr char kProjectSettings[] = "Project.Settings";
inline constexpr char kDoPreBatch[] = "Project.DoPreBatch";
inline constexpr char kPostBatchSuccess[] = "Project.PostBatchSuccess";
inline constexpr char kPostBatchFailure[] = "Project.PostBatchFailure";
inline constexpr char kImportPackageIntoProject[] = "Project.ImportPackage";  // project tree
inline constexpr char kRemovePackageFromProject[] = "Project.RemovePackage";  // project tree

// Class
inline constexpr char kCreateSubClass[] = "Class.CreateSubClass";
inline constexpr char kDeleteClass[] = "Class.Delete";
inline constexpr char kRebuildClassTree[] = "Class.RebuildTree";
inline constexpr char kDefaultProperties[] = "Class.DefaultProperties";  // the workspace's chosen class
inline constexpr char kEditorDefaultProperties[] = "Editor.DefaultProperties";  // the editor's own class

// The default-properties window's context menu
inline constexpr char kPropertiesExpandAll[] = "DefaultProperties.ExpandAll";
inline constexpr char kPropertiesContractAll[] = "DefaultProperties.ContractAll";
inline constexpr char kPropertiesLookUpValue[] = "DefaultProperties.LookUpValue";

// Packages (the workspace's System page)
inline constexpr char kImportPackageFromDir[] = "Package.ImportFromDir";
inline constexpr char kRemovePackages[] = "Package.Remove";
inline constexpr char kInstallPackages[] = "Package.Install";
inline constexpr char kExportPackage[] = "Package.Export";
inline constexpr char kPackageFlags[] = "Package.Flags";

// Import into the active source (the editor's context menu)
inline constexpr char kImportImage[] = "Import.Image";
inline constexpr char kImportModel[] = "Import.Model";
inline constexpr char kImportSound[] = "Import.Sound";

// Tools
inline constexpr char kEditorPreferences[] = "Tools.EditorPreferences";
inline constexpr char kEnvironmentOptions[] = "Tools.EnvironmentOptions";
inline constexpr char kConfigureTools[] = "Tools.ConfigureExternalTools";

// View
inline constexpr char kViewWorkspace[] = "View.Workspace";
inline constexpr char kViewOutputLog[] = "View.OutputLog";
inline constexpr char kTabsTop[] = "View.TabsTop";
inline constexpr char kTabsBottom[] = "View.TabsBottom";
inline constexpr char kTabsLeft[] = "View.TabsLeft";
inline constexpr char kTabsRight[] = "View.TabsRight";
inline constexpr char kViewGameLog[] = "View.GameLog";
inline constexpr char kViewGameIni[] = "View.GameIni";
inline constexpr char kViewToolLog[] = "View.ToolLog";
inline constexpr char kViewServerLog[] = "View.ServerLog";

// Window
inline constexpr char kCascade[] = "Window.Cascade";
inline constexpr char kTileHorizontally[] = "Window.TileHorizontally";
inline constexpr char kTileVertically[] = "Window.TileVertically";
inline constexpr char kMinimizeAll[] = "Window.MinimizeAll";
inline constexpr char kArrangeAll[] = "Window.ArrangeAll";

// Help
inline constexpr char kAbout[] = "Help.About";

}  // namespace torvane::shell::cmd
