#pragma once

#include <QString>
#include <memory>
#include <vector>

class QWidget;

namespace torvane::editor {
class TParserRepository;
}

namespace torvane::build {
class CompileController;
class GameLaunchController;
}
namespace torvane::workspace {
class ClassCommandsController;
class PackageCommandsController;
}
namespace torvane::navigation {
class CodeIntelController;
class TOutline;
}

namespace torvane::shell {

class TAboutBox;
class TLoading;
class TMain;
class TPrefs;
class TSelEditOptions;
struct TMainOptions;

// The program's windows, created once at start-up in their fixed order and kept until the end.
// Windows whose parts have not been built yet are plain dialogs with their captions.
class AppWindows final {
public:
    explicit AppWindows(TMainOptions options);
    ~AppWindows();

    TMain& main() const { return *main_; }
    TLoading& loading() const { return *loading_; }
    TPrefs& prefs() const { return *prefs_; }
    editor::TParserRepository& parsers() const { return *parsers_; }
    // The class names of the windows in creation order.
    const std::vector<QString>& CreationOrder() const { return order_; }
    QWidget* Window(const QString& className) const;
    build::CompileController& compiles() const { return *compiles_; }
    workspace::ClassCommandsController& classCommands() const { return *classCommands_; }
    workspace::PackageCommandsController& packageCommands() const { return *packageCommands_; }
    build::GameLaunchController& launches() const { return *launches_; }
    navigation::CodeIntelController& codeIntel() const { return *codeIntel_; }
    // The outline window (no window of the start-up order: made with the code intelligence).
    navigation::TOutline& outline() const { return *outline_; }

private:
    // Records a window in creation order (nullptr for the parsers, which are no window).
    void Keep(const char* className, QWidget* window);

    std::unique_ptr<TMain> main_;
    TLoading* loading_ = nullptr;
    TPrefs* prefs_ = nullptr;
    editor::TParserRepository* parsers_ = nullptr;
    build::CompileController* compiles_ = nullptr;
    workspace::ClassCommandsController* classCommands_ = nullptr;
    workspace::PackageCommandsController* packageCommands_ = nullptr;
    build::GameLaunchController* launches_ = nullptr;
    navigation::CodeIntelController* codeIntel_ = nullptr;
    navigation::TOutline* outline_ = nullptr;
    std::vector<QString> order_;
    std::vector<QWidget*> windows_;
};

}  // namespace torvane::shell
