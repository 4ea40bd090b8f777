// The main window's Tools menu: the user's own tools below the five fixed items, running them,
// and the dialog that edits them.
#include <QAction>
#include <QMenu>

#include "platform/game_paths.h"
#include "shell/external_tools.h"
#include "shell/minimize_while_running.h"
#include "shell/tadd_edit_tool.h"
#include "shell/tconfig_ext_tools.h"
#include "shell/tmain.h"
#include "shell/tprefs.h"
#include "widgets/text_codec.h"

namespace torvane::shell {

namespace {

// "Editor Preferences...", "Enviroment Options...", a separator, "Configure External Tools...",
// a separator.
constexpr int kFixedToolsItems = 5;

constexpr char kToolIndexProperty[] = "toolIndex";

// A description shows as written: an ampersand is no mnemonic.
QString MenuCaption(const std::string& description) {
    return widgets::ToQString(description).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

void TMain::AttachToolDialogs(TConfigExtTools* configTools, TAddEditTool* addEditTool) {
    configTools_ = configTools;
    addEditTool_ = addEditTool;
    if (configTools_) configTools_->SetSaved([this] { RebuildToolsMenu(); });
}

void TMain::RebuildToolsMenu() {
    const QList<QAction*> items = toolsMenu_->actions();
    for (qsizetype i = kFixedToolsItems; i < items.size(); ++i) delete items[i];
    const std::vector<std::string> descriptions = ReadToolDescriptions(settings_);
    for (std::size_t n = 0; n < descriptions.size(); ++n) {
        auto* item = new QAction(MenuCaption(descriptions[n]), toolsMenu_);
        const int index = static_cast<int>(n);
        item->setProperty(kToolIndexProperty, index);
        item->setStatusTip(widgets::ToQString(ReadToolCommandLine(settings_, index)));
        connect(item, &QAction::triggered, this, Guarded(*prompter_, [this, index] { ToolLaunch(index); }));
        toolsMenu_->addAction(item);
    }
    UpdateToolItems();
}

// While a compile or script runs, the tools wait: a program or macro started then would work
// on files the run is changing.
void TMain::UpdateToolItems() {
    const QList<QAction*> items = toolsMenu_->actions();
    for (qsizetype i = kFixedToolsItems; i < items.size(); ++i) items[i]->setEnabled(!busy_.Busy());
}

void TMain::ToolLaunch(int index) {
    if (busy_.Busy()) return;
    const ToolLaunchPlan plan = PlanToolLaunch(ReadToolCommandLine(settings_, index));
    switch (plan.kind) {
        case ToolLaunchPlan::Kind::Nothing: return;
        case ToolLaunchPlan::Kind::Macro:
            if (runMacro_) runMacro_(plan.parameters);
            return;
        case ToolLaunchPlan::Kind::Program: {
            // The wait lets no window message through; the busy state keeps the tools refused
            // should one arrive meanwhile.
            const BusyState::Scope busy(busy_);
            const MinimizeWhileRunning minimized(*this, prefs_ && prefs_->Current().minimizeOnRun);
            StartToolAndWait(plan.program, plan.parameters);  // a failure is not reported
            return;
        }
    }
}

void TMain::ConfigureExternalTools() {
    if (!configTools_) return;
    if (addEditTool_) {
        addEditTool_->SetBrowseDirectory(widgets::ToQString(platform::ResolveGamePath(gameRoot_, "\\System")));
    }
    configTools_->LoadTools(settings_);
    configTools_->exec();
}

}  // namespace torvane::shell
