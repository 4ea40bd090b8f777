// The export of compiled packages on the real windows: the compiled-packages list's "Export
// Package", the options dialog, the progress window, and the offer at start-up.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

#include "platform/file_ops.h"
#include "shell/app_windows.h"
#include "shell/command_ids.h"
#include "shell/tmain.h"
#include "support/qt_wait.h"
#include "support/sample_ide.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "workspace/texport_options.h"
#include "workspace/texport_package.h"
#include "workspace/tworkspace.h"

namespace torvane::workspace {
namespace {

// A click on a check box's indicator.
void ClickBox(QCheckBox* box) {
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

class PackageExportWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        options_ = testing::SampleGameOptions(dir_, prompter_, game_);
        platform::CopyFileOverwrite(testing::FixturesDir() + "/compiled/System/DecoTest.u", game_ + "/System/DecoTest.u");
    }
    void Start() {
        shell::TMainOptions options = options_;
        options.chooseOpenFile = [this](const std::string&, bool) { return openChoice_; };
        windows_ = std::make_unique<shell::AppWindows>(std::move(options));
        Workspace().SetDialogRunner([this](QDialog& dialog) { return dialogs_(dialog); });
        windows_->main().Timer1Timer();
    }
    TWorkspace& Workspace() { return *static_cast<TWorkspace*>(windows_->Window(QStringLiteral("TWorkspace"))); }
    TExportOptions& Options() { return *static_cast<TExportOptions*>(windows_->Window(QStringLiteral("TExportOptions"))); }
    TExportPackage& Progress() { return *static_cast<TExportPackage*>(windows_->Window(QStringLiteral("TExportPackage"))); }
    // The compiled-packages list's context menu entry.
    QAction* ExportEntry() {
        for (QAction* action : Workspace().AvailablePackages()->actions()) {
            if (action->text() == "Export Package") return action;
        }
        return nullptr;
    }
    QTreeWidgetItem* Compiled(const QString& name) {
        const auto items = Workspace().AvailablePackages()->findItems(name, Qt::MatchExactly);
        return items.isEmpty() ? nullptr : items.front();
    }
    // The options dialog as the user fills it: ticks what is asked, then presses OK or Cancel.
    void AnswerOptions(bool graphics, bool ok) {
        dialogs_ = [this, graphics, ok](QDialog& dialog) {
            ++dialogsShown_;
            dialog.show();
            auto& options = static_cast<TExportOptions&>(dialog);
            if (graphics != options.ExpGfx()->isChecked()) ClickBox(options.ExpGfx());
            QTest::mouseClick(ok ? options.Button1() : options.Button2(), Qt::LeftButton);
            return dialog.result();
        };
    }

    testing::TempDir dir_;
    std::string game_;
    testing::ScriptedPrompter prompter_;
    shell::TMainOptions options_;
    std::unique_ptr<shell::AppWindows> windows_;
    std::function<int(QDialog&)> dialogs_ = [](QDialog&) { return QDialog::Rejected; };
    int dialogsShown_ = 0;
    std::optional<std::string> openChoice_;
};

TEST_F(PackageExportWindowTest, ExportPackageFromTheCompiledPackagesMenu) {
    Start();
    QAction* entry = ExportEntry();
    ASSERT_NE(entry, nullptr);
    QTreeWidgetItem* deco = Compiled("DecoTest");
    ASSERT_NE(deco, nullptr);
    EXPECT_EQ(deco->text(1), "   ");
    EXPECT_FALSE(entry->isEnabled());  // nothing selected
    EXPECT_EQ(entry->statusTip(), "Select the compiled packages to export.");
    deco->setSelected(true);
    EXPECT_TRUE(entry->isEnabled());

    AnswerOptions(true, true);
    QListWidget* log = windows_->main().OutputLogWidget();
    bool progressShown = false;  // while the files are written
    QObject::connect(log->model(), &QAbstractItemModel::rowsInserted, [&] { progressShown = Progress().isVisible(); });
    entry->trigger();
    EXPECT_EQ(dialogsShown_, 1);
    EXPECT_TRUE(platform::FileExists(game_ + "/DecoTest/Classes/DecoFlow.uc"));
    EXPECT_TRUE(platform::FileExists(game_ + "/DecoTest/Classes/DecoStates.uc"));
    EXPECT_EQ(deco->text(1), "Yes");
    EXPECT_TRUE(progressShown);
    EXPECT_FALSE(Progress().isVisible());
    EXPECT_EQ(Progress().windowTitle(), "Exporting");
    EXPECT_EQ(Progress().Edit1()->text(), "DecoTest");
    EXPECT_EQ(Progress().Edit2()->text(), "Exporting DecoStates.uc");
    EXPECT_TRUE(Progress().StatusBar1()->currentMessage().startsWith("Memory: "));
    ASSERT_EQ(log->count(), 3);  // the log was cleared for the export
    EXPECT_EQ(log->item(2)->text().toStdString(), "Exporting " + game_ + "/DecoTest/Classes/DecoStates.uc");
    // The options dialog keeps its boxes.
    EXPECT_TRUE(Options().ExpGfx()->isChecked());
    EXPECT_TRUE(prompter_.shown().empty());
}

TEST_F(PackageExportWindowTest, CancelledOptionsAndDeclinedOverwriteWriteNothing) {
    Start();
    Compiled("DecoTest")->setSelected(true);
    AnswerOptions(false, false);
    ExportEntry()->trigger();
    EXPECT_FALSE(platform::DirectoryExists(game_ + "/DecoTest"));

    dir_.Write("game/DecoTest/Readme.txt", "mine");
    AnswerOptions(false, true);
    prompter_.QueueAnswer(core::Answer::No);
    ExportEntry()->trigger();
    ASSERT_EQ(prompter_.shown().size(), 1u);
    EXPECT_EQ(prompter_.shown()[0].text.rfind("The package you are attempting to export (DecoTest) already exists.", 0), 0u);
    EXPECT_FALSE(platform::DirectoryExists(game_ + "/DecoTest/Classes"));
    EXPECT_EQ(Compiled("DecoTest")->text(1), "   ");
    EXPECT_FALSE(Progress().isVisible());
}

TEST_F(PackageExportWindowTest, ClassesCannotBeUncheckedAndModelsHasThreeStates) {
    Start();
    TExportOptions& options = Options();
    EXPECT_EQ(options.windowTitle(), "Export Options...");
    options.show();
    ClickBox(options.ExpClasses());
    EXPECT_TRUE(options.ExpClasses()->isChecked());
    EXPECT_TRUE(options.ExpModels()->isTristate());
    EXPECT_FALSE(options.Graphics());
    EXPECT_FALSE(options.Sounds());
    options.ExpModels()->setCheckState(Qt::PartiallyChecked);
    EXPECT_TRUE(options.Models());
    EXPECT_TRUE(options.Button1()->isDefault());
    options.hide();
}

TEST_F(PackageExportWindowTest, ListedPackagesWithoutSourcesAreOfferedAtStartUp) {
    const std::string ini = dir_.Read("game/System/UnrealTournament.ini");
    dir_.Write("game/System/UnrealTournament.ini", ini + "EditPackages=DecoTest\r\n");
    prompter_.QueueAnswer(core::Answer::Yes);  // export them now
    prompter_.QueueAnswer(core::Answer::Yes);  // the class trees: the package list changed
    Start();
    ASSERT_GE(prompter_.shown().size(), 2u);
    EXPECT_EQ(prompter_.shown()[0].text,
              "One or more packages need to be exported before you can continue.  Export them now?");
    EXPECT_EQ(prompter_.shown()[1].text,
              "All .UC files have been exported.  You may however need to export the resources (sound/gfx/models) as well.");
    EXPECT_TRUE(platform::FileExists(game_ + "/DecoTest/Classes/DecoChild.uc"));
    EXPECT_EQ(Compiled("DecoTest")->text(1), "Yes");
    EXPECT_FALSE(Progress().isVisible());
    EXPECT_EQ(Progress().Edit1()->text(), "DecoTest");
}

TEST_F(PackageExportWindowTest, OpeningAProjectOffersToExportItsPackage) {
    const std::string ini = dir_.Read("game/System/UnrealTournament.ini");
    dir_.Write("game/System/UnrealTournament.ini", ini + "EditPackages=DecoTest\r\n");
    prompter_.QueueAnswer(core::Answer::No);   // not at start-up
    prompter_.QueueAnswer(core::Answer::Yes);  // the class trees: the package list changed
    Start();
    openChoice_ = dir_.Write("prog/Deco.tvx", "[Project]\r\nName=Deco\r\n[Packages]\r\nPackage0=DecoTest\r\n");
    prompter_.QueueAnswer(core::Answer::Yes);  // export now
    windows_->main().Commands().Command(shell::cmd::kOpenProject)->trigger();
    EXPECT_EQ(prompter_.shown().back().text, "The package DecoTest is installed, but not exported.  Export now?");
    EXPECT_TRUE(platform::FileExists(game_ + "/DecoTest/Classes/DecoFlow.uc"));
    QTreeWidgetItem* root = Workspace().ProjectTree()->topLevelItem(0);
    ASSERT_EQ(root->childCount(), 1);
    EXPECT_EQ(root->child(0)->text(0), "DecoTest");
    EXPECT_EQ(root->child(0)->child(0)->childCount(), 3);  // Classes
    // The progress window stays a moment, then goes.
    EXPECT_TRUE(Progress().isVisible());
    EXPECT_TRUE(testing::WaitUntil([this] { return !Progress().isVisible(); }, 2000));
}

}  // namespace
}  // namespace torvane::workspace
