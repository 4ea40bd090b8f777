#include "shell/app_windows.h"

#include <QCoreApplication>
#include <QWidget>

#include "editor/search_controller.h"
#include "editor/ted_find_dlg.h"
#include "editor/ted_repl_dlg.h"
#include "editor/tfind_in_files.h"
#include "editor/tgoto_line_dialog.h"
#include "editor/tparser_repository.h"
#include "platform/desktop_association.h"
#include "shell/icons.h"
#include "shell/tabout_box.h"
#include "shell/tadd_edit_tool.h"
#include "shell/tconfig_ext_tools.h"
#include "shell/tloading.h"
#include "shell/tmain.h"
#include "shell/tprefs.h"
#include "shell/tseleditoptions.h"
#include "widgets/text_codec.h"
#include "build/compile_controller.h"
#include "build/game_launch_controller.h"
#include "build/task.h"
#include "build/tcompile.h"
#include "import/import_controller.h"
#include "import/timage_import.h"
#include "import/tsound_import.h"
#include "import/ttext_viewer.h"
#include "navigation/code_intel_controller.h"
#include "navigation/toutline.h"
#include "project/tnewproj.h"
#include "workspace/class_commands_controller.h"
#include "workspace/package_commands_controller.h"
#include "workspace/tadd_package.h"
#include "workspace/tcreate_package.h"
#include "workspace/tpackage_flags.h"
#include "workspace/tdefault_props.h"
#include "workspace/tnewclsdlg.h"
#include "workspace/texport_options.h"
#include "workspace/texport_package.h"
#include "workspace/tworkspace.h"

namespace torvane::shell {

AppWindows::AppWindows(TMainOptions options) {
    const std::string editorSettings = options.paths.File("Torvane.editor.ini");
    main_ = std::make_unique<TMain>(std::move(options));
    TMain& main = *main_;
    Keep("TMain", main_.get());

    loading_ = new TLoading(&main);
    loading_->setWindowFlag(Qt::Window);
    Keep("TLoading", loading_);

    auto* workspace = new workspace::TWorkspace(main, loading_);
    Keep("TWorkspace", workspace);
    auto* compile = new build::TCompile(&main);
    Keep("TCompile", compile);
    auto* createPackage = new workspace::TCreatePackage(&main);
    Keep("TCreatePackage", createPackage);
    auto* exportOptions = new workspace::TExportOptions(&main);
    Keep("TExportOptions", exportOptions);
    auto* exportPackage = new workspace::TExportPackage(&main);
    Keep("TExportPackage", exportPackage);
    editor::TFindInFiles::Services findInFilesServices;
    findInFilesServices.prompter = &main.Prompter();
    findInFilesServices.log = &main.Log();
    findInFilesServices.busy = &main.Busy();
    findInFilesServices.scope = [workspace] { return workspace->FindInFilesScope(); };
    auto* findInFiles = new editor::TFindInFiles(std::move(findInFilesServices), &main);
    Keep("TFindInFiles", findInFiles);
    auto* newClass = new workspace::TNewClsDlg(&main);
    Keep("TNewClsDlg", newClass);
    auto* newProj = new project::TNewProj(&main);
    Keep("TNewProj", newProj);
    prefs_ = new TPrefs(main.Prompter(), &main);
    prefs_->SetAssociateAction([] {
        const QString program = QCoreApplication::applicationFilePath();
        std::vector<platform::IconPicture> icons;
        for (int size : {16, 32, 48, 64, 128, 256}) {
            const QByteArray png = ProgramIconPng(size);
            icons.push_back({size, std::string(png.constData(), static_cast<std::size_t>(png.size()))});
        }
        platform::AssociateUnrealScriptFiles(widgets::FromQString(program), {}, icons);
    });
    Keep("TPrefs", prefs_);
    auto* projAdd = new project::TProjAdd(&main);
    Keep("TProjAdd", projAdd);
    auto* rebuild = new build::Trebuild(&main);
    Keep("Trebuild", rebuild);
    auto* soundImport = new imports::TSoundImport(main.Prompter(), &main);
    Keep("TSoundImport", soundImport);
    auto* about = new TAboutBox(&main);
    Keep("TAboutBox", about);
    auto* find = new editor::TEdFindDlg(main.Prompter(), &main);
    Keep("TEdFindDlg", find);
    auto* gotoLine = new editor::TGotoLineDialog(main.Prompter(), &main);
    Keep("TGotoLineDialog", gotoLine);
    parsers_ = new editor::TParserRepository(QString::fromStdString(editorSettings), &main);
    Keep("TParserRepository", nullptr);
    auto* replace = new editor::TEdReplDlg(main.Prompter(), &main);
    Keep("TEdReplDlg", replace);
    auto* addPackage = new workspace::TAddPackage(&main);
    Keep("TAddPackage", addPackage);
    auto* packageFlags = new workspace::TPackageFlags(&main);
    Keep("TPackageFlags", packageFlags);
    auto* defaultProps = new workspace::TDefaultProps(main.Commands(), &main);
    Keep("TDefaultProps", defaultProps);
    // The tools dialog uses the add dialog, created right after it.
    auto* addEditTool = new TAddEditTool(&main);
    auto* configTools = new TConfigExtTools(main.Prompter(), *addEditTool, &main);
    Keep("TConfigExtTools", configTools);
    Keep("TAddEditTool", addEditTool);
    auto* ask = new build::TAsk(&main);
    Keep("TAsk", ask);
    auto* textViewer = new imports::TTextViewer(main.Prompter(), &main);
    Keep("TTextViewer", textViewer);
    auto* imageImport = new imports::TImageImport(main.Prompter(), &main);
    Keep("TImageImport", imageImport);
    auto* selEditOptions = new TSelEditOptions(*parsers_, &main);
    Keep("TSelEditOptions", selEditOptions);

    main.AttachWindows(loading_, prefs_, about, selEditOptions, workspace);
    main.SetParsers(parsers_);
    main.AttachToolDialogs(configTools, addEditTool);
    main.SetWorkspaceServices(workspace);
    workspace->AttachProjectDialogs(newProj, projAdd);
    workspace->AttachExportWindows(exportOptions, exportPackage);
    compiles_ = new build::CompileController(main, *workspace, *compile, *rebuild, *prefs_, *ask);
    classCommands_ = new workspace::ClassCommandsController(main, *workspace, *prefs_, *newClass, *defaultProps);
    packageCommands_ = new workspace::PackageCommandsController(main, *workspace, *createPackage, *addPackage, *packageFlags);
    launches_ = new build::GameLaunchController(main, *workspace, *compiles_, *prefs_);
    new imports::ImportController(main, *workspace, *prefs_, *imageImport, *soundImport, *textViewer);
    main.SetMacroRunner([compiles = compiles_](const std::string& scriptLine) { compiles->RunMacro(scriptLine); });
    outline_ = new navigation::TOutline(&main);
    codeIntel_ = new navigation::CodeIntelController(main, *outline_);
    new editor::SearchController(main, *workspace, *find, *replace, *gotoLine, *findInFiles);
    loading_->show();
}

AppWindows::~AppWindows() = default;

void AppWindows::Keep(const char* className, QWidget* window) {
    order_.push_back(QString::fromLatin1(className));
    windows_.push_back(window);
}

QWidget* AppWindows::Window(const QString& className) const {
    for (std::size_t i = 0; i < order_.size(); ++i) {
        if (order_[i] == className) return windows_[i];
    }
    return nullptr;
}

}  // namespace torvane::shell
