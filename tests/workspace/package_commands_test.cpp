// The package commands as a user reaches them on a copy of the sample game: the File menu's
// "New Package", the System page's context menus, a drop in the EditPackages list, and the
// dialogs filled in with clicks and keys.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "shell/app_windows.h"
#include "shell/tmain.h"
#include "support/package_builder.h"
#include "support/sample_ide.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "support/tree_drop.h"
#include "unrealpkg/ut_packages.h"
#include "workspace/class_browser.h"
#include "workspace/edit_packages.h"
#include "workspace/package_commands_controller.h"
#include "workspace/tadd_package.h"
#include "workspace/tcreate_package.h"
#include "workspace/tpackage_flags.h"
#include "workspace/tworkspace.h"

namespace torvane::workspace {
namespace {

constexpr int kSystemPage = 4;

QAction* Entry(const QWidget* widget, const QString& caption) {
    for (QAction* action : widget->actions()) {
        if (action->text() == caption) return action;
    }
    return nullptr;
}

QStringList Captions(const QTreeWidget* list) {
    QStringList captions;
    for (int row = 0; row < list->topLevelItemCount(); ++row) captions << list->topLevelItem(row)->text(0);
    return captions;
}

// A click on a check box's indicator.
void ClickBox(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); }

class PackageCommandsTest : public ::testing::Test {
protected:
    void SetUp() override { options_ = testing::SampleGameOptions(dir_, prompter_, game_); }
    void Start() {
        windows_ = std::make_unique<shell::AppWindows>(options_);
        main().Timer1Timer();
        ASSERT_TRUE(main().Started());
        windows_->packageCommands().SetDialogRunner([this](QDialog& dialog) {
            dialog.show();
            answerDialog_(dialog);
            const int result = dialog.isVisible() ? QDialog::Rejected : dialog.result();
            dialog.hide();
            return result;
        });
        workspace().show();
        workspace().Pages()->setCurrentIndex(kSystemPage);
    }
    shell::TMain& main() { return windows_->main(); }
    TWorkspace& workspace() { return *static_cast<TWorkspace*>(windows_->Window(QStringLiteral("TWorkspace"))); }
    QTreeWidget* EditPackages() { return workspace().EditPackages(); }
    QTreeWidget* Compiled() { return workspace().AvailablePackages(); }
    void Select(QTreeWidget* list, const QString& name) {
        const auto found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        list->setCurrentItem(found.first());
    }
    std::string Ini() const { return dir_.Read("game/System/UnrealTournament.ini"); }
    std::vector<std::string> Shown() const {
        std::vector<std::string> texts;
        for (const testing::ShownMessage& message : prompter_.shown()) texts.push_back(message.text);
        return texts;
    }
    bool InObjectTree(const QString& caption) {
        return !workspace().ClassTree()->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive).isEmpty();
    }

    testing::TempDir dir_;
    std::string game_;
    testing::ScriptedPrompter prompter_;
    shell::TMainOptions options_;
    std::unique_ptr<shell::AppWindows> windows_;
    // What the user does in the dialog shown (it is visible); closing it is the answer.
    std::function<void(QDialog&)> answerDialog_ = [](QDialog& dialog) { dialog.reject(); };
};

TEST_F(PackageCommandsTest, RemovePackagesFromTheEditPackagesMenu) {
    Start();
    QAction* remove = Entry(EditPackages(), "Remove Packages");
    ASSERT_NE(remove, nullptr);
    EXPECT_FALSE(remove->isEnabled());  // nothing selected
    Select(EditPackages(), "Core");
    ASSERT_TRUE(remove->isEnabled());
    remove->trigger();
    EXPECT_EQ(Shown(), (std::vector<std::string>{
                           "Other packages rely on the package you are trying to remove.  Please remove them first"}));
    EXPECT_EQ(Captions(EditPackages()), (QStringList{"Core", "Engine", "DemoLib", "DemoMod"}));
    ASSERT_EQ(EditPackages()->selectedItems().size(), 1);
    EXPECT_EQ(EditPackages()->selectedItems().first()->text(0), "Core");

    const std::string before = Ini();
    Select(EditPackages(), "DemoMod");
    remove->trigger();
    EXPECT_EQ(Captions(EditPackages()), (QStringList{"Core", "Engine", "DemoLib"}));
    EXPECT_EQ(Ini().find("EditPackages=DemoMod"), std::string::npos);
    EXPECT_EQ(dir_.Read("game/System/UnrealTournament.~ini"), before);
    EXPECT_FALSE(InObjectTree("DemoMutator"));
    EXPECT_TRUE(InObjectTree("DemoMath"));
    EXPECT_EQ(prompter_.shown().size(), 1u);
}

TEST_F(PackageCommandsTest, InstallPackagesFromTheCompiledPackagesMenu) {
    dir_.Write("game/System/Extra.u", testing::BuildPackage({}));
    dir_.Write("game/System/Bonus.u", testing::BuildPackage({}));
    Start();
    QAction* install = Entry(Compiled(), "Install Package(s)");
    ASSERT_NE(install, nullptr);
    EXPECT_FALSE(install->isEnabled());
    for (const char* name : {"Extra", "Bonus"}) Compiled()->findItems(name, Qt::MatchExactly).first()->setSelected(true);
    ASSERT_TRUE(install->isEnabled());
    install->trigger();
    EXPECT_EQ(Captions(EditPackages()), (QStringList{"Core", "Engine", "DemoLib", "DemoMod", "Bonus", "Extra"}));
    EXPECT_NE(Ini().find("EditPackages=DemoMod\r\nEditPackages=Bonus\r\nEditPackages=Extra\r\n"), std::string::npos);
    EXPECT_TRUE(prompter_.shown().empty());
}

TEST_F(PackageCommandsTest, DropInTheEditPackagesListReorders) {
    Start();
    const std::string before = Ini();
    Select(EditPackages(), "DemoMod");
    prompter_.QueueAnswer(core::Answer::No);
    testing::DropCurrentItemOn(EditPackages(), EditPackages()->topLevelItem(0));
    EXPECT_EQ(Ini(), before);
    EXPECT_EQ(Captions(EditPackages()), (QStringList{"Core", "Engine", "DemoLib", "DemoMod"}));

    prompter_.QueueAnswer(core::Answer::Yes);
    testing::DropCurrentItemOn(EditPackages(), EditPackages()->topLevelItem(2));  // onto DemoLib
    EXPECT_EQ(Captions(EditPackages()), (QStringList{"Core", "Engine", "DemoMod", "DemoLib"}));
    EXPECT_EQ(EditPackages()->currentItem()->text(0), "DemoMod");
    std::string expected = before;
    expected.replace(expected.find("EditPackages=DemoLib\r\nEditPackages=DemoMod\r\n"), 44,
                     "EditPackages=DemoMod\r\nEditPackages=DemoLib\r\n");
    EXPECT_EQ(Ini(), expected);

    prompter_.QueueAnswer(core::Answer::Yes);
    testing::DropCurrentItemOn(EditPackages(), nullptr);  // below the last entry: nothing moves
    EXPECT_EQ(Ini(), expected);
    EXPECT_EQ(prompter_.shown().size(), 3u);
}

TEST_F(PackageCommandsTest, NewPackageFromTheFileMenu) {
    Start();
    QMenu* file = nullptr;
    for (QAction* action : main().menuBar()->actions()) {
        if (action->text() == "&File") file = action->menu();
    }
    ASSERT_NE(file, nullptr);
    QAction* newPackage = Entry(file, "New Package");
    ASSERT_NE(newPackage, nullptr);
    ASSERT_TRUE(newPackage->isEnabled());
    EXPECT_EQ(Entry(EditPackages(), "New Package"), newPackage);
    EXPECT_EQ(Entry(workspace().ProjectTree(), "New Package"), newPackage);

    int shown = 0;
    answerDialog_ = [&](QDialog& dialog) {
        auto& create = static_cast<TCreatePackage&>(dialog);
        ++shown;
        EXPECT_TRUE(create.PackageName()->text().isEmpty());
        EXPECT_TRUE(create.Classes()->isChecked());
        EXPECT_FALSE(create.Classes()->isEnabled());
        EXPECT_FALSE(create.Textures()->isChecked());
        EXPECT_TRUE(create.OtherDirs()->toPlainText().isEmpty());
        QTest::keyClicks(create.PackageName(), "demolib");  // listed already, in another letter case
        QTest::mouseClick(create.OkButton(), Qt::LeftButton);
        EXPECT_TRUE(create.isVisible());  // refused: the name can be changed
        create.PackageName()->clear();
        QTest::keyClicks(create.PackageName(), "Fresh");
        ClickBox(create.Textures());
        ClickBox(create.Others());
        QTest::keyClicks(create.OtherDirs(), "Maps");
        QTest::keyClick(create.OtherDirs(), Qt::Key_Return);
        QTest::keyClick(create.OtherDirs(), Qt::Key_Return);
        QTest::mouseClick(create.OkButton(), Qt::LeftButton);
    };
    newPackage->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Sorry, but that package already exists."}));
    const auto directories = platform::ListDirectory(game_ + "/Fresh", "*", {false, true});
    std::vector<std::string> names;
    for (const auto& entry : directories) names.push_back(entry.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Classes", "Maps", "Textures"}));
    EXPECT_EQ(Captions(EditPackages()).last(), "Fresh");
    EXPECT_NE(Ini().find("EditPackages=DemoMod\r\nEditPackages=Fresh\r\n"), std::string::npos);
    EXPECT_TRUE(workspace().Status()->text().isEmpty());

    answerDialog_ = [&](QDialog& dialog) {  // opened again: empty, only Classes ticked
        auto& create = static_cast<TCreatePackage&>(dialog);
        EXPECT_TRUE(create.PackageName()->text().isEmpty());
        EXPECT_FALSE(create.Textures()->isChecked());
        EXPECT_FALSE(create.Others()->isChecked());
        EXPECT_TRUE(create.OtherDirs()->toPlainText().isEmpty());
        QTest::mouseClick(create.CancelButton(), Qt::LeftButton);
    };
    newPackage->trigger();
    EXPECT_EQ(prompter_.shown().size(), 1u);
}

// "New Package" of the project tree's menu: the package joins the open project, collapsed, with
// the groups of the directories made; removing a package of the project is refused.
TEST_F(PackageCommandsTest, NewPackageFromTheProjectTreeJoinsTheProject) {
    dir_.Write("prog/Demo.tvx", "[Project]\r\nName=Demo\r\n[Packages]\r\nPackage0=DemoMod\r\n");
    Start();
    workspace().LoadProject(dir_.Path("prog/Demo.tvx"));
    ASSERT_TRUE(workspace().ProjectOpen());
    ASSERT_FALSE(workspace().ProjectModified());
    workspace().Pages()->setCurrentIndex(0);
    QAction* newPackage = Entry(workspace().ProjectTree(), "New Package");
    ASSERT_NE(newPackage, nullptr);
    answerDialog_ = [](QDialog& dialog) {
        auto& create = static_cast<TCreatePackage&>(dialog);
        QTest::keyClicks(create.PackageName(), "Fresh");
        ClickBox(create.Sounds());
        ClickBox(create.Models());
        QTest::keyClick(create.PackageName(), Qt::Key_Return);  // Ok is the default button
    };
    newPackage->trigger();
    EXPECT_TRUE(prompter_.shown().empty());
    QTreeWidget* tree = workspace().ProjectTree();
    const auto found = tree->findItems("Fresh", Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    QTreeWidgetItem* node = found.first();
    EXPECT_EQ(node->parent(), tree->topLevelItem(0));
    QStringList children;
    for (int i = 0; i < node->childCount(); ++i) children << node->child(i)->text(0);
    EXPECT_EQ(children, (QStringList{"Classes", "Models", "Sounds"}));
    EXPECT_FALSE(node->isExpanded());
    EXPECT_TRUE(workspace().ProjectModified());

    workspace().Pages()->setCurrentIndex(kSystemPage);
    Select(EditPackages(), "DemoMod");
    Entry(EditPackages(), "Remove Packages")->trigger();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Your current project relies on DemoMod.  Please close the project first"}));
    EXPECT_EQ(Captions(EditPackages()), (QStringList{"Core", "Engine", "DemoLib", "DemoMod", "Fresh"}));
}

TEST_F(PackageCommandsTest, ImportPackageFromDirRebuildsTheTrees) {
    dir_.Write("game/Found/Classes/FoundThing.uc", "class FoundThing extends Actor;\r\n");
    dir_.Write("game/Other/Classes/OtherThing.uc", "class OtherThing extends Actor;\r\n");
    platform::CreateDirectories(game_ + "/NoSources/Textures");
    Start();
    QAction* import = Entry(EditPackages(), "Import Package from Dir...");
    ASSERT_NE(import, nullptr);
    QStringList offered;
    answerDialog_ = [&](QDialog& dialog) {
        auto& add = static_cast<TAddPackage&>(dialog);
        for (int row = 0; row < add.PkgList()->count(); ++row) offered << add.PkgList()->item(row)->text();
        EXPECT_EQ(add.PkgList()->currentRow(), 0);
        QTest::keyClick(add.PkgList(), Qt::Key_Space);  // ticks the current entry, "Found"
        ASSERT_EQ(add.CheckedNames(), (std::vector<std::string>{"Found"}));
        QTest::mouseClick(add.AddButton(), Qt::LeftButton);
    };
    import->trigger();
    EXPECT_EQ(offered, (QStringList{"Found", "Other"}));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Packages add.  Torvane must rebuild it's class tree!"}));
    EXPECT_EQ(Captions(EditPackages()).last(), "Found");
    EXPECT_TRUE(InObjectTree("FoundThing"));
    EXPECT_FALSE(InObjectTree("OtherThing"));
    EXPECT_FALSE(main().Busy().Busy());
}

TEST_F(PackageCommandsTest, PackageFlagsSetThroughTheGameTool) {
    testing::PackageSpec spec;
    spec.flags = 0x1 | 0x400;
    spec.names = {"None"};
    dir_.Write("game/System/DemoLib.u", testing::BuildPackage(spec));
    const std::filesystem::path packageFile = game_ + "/System/DemoLib.u";
    std::filesystem::last_write_time(packageFile,
                                     std::filesystem::last_write_time(packageFile) - std::chrono::hours(24 * 400));
    Start();
    const QString listedBefore = EditPackages()->findItems("DemoLib", Qt::MatchExactly).first()->text(1);
    QAction* flags = Entry(Compiled(), "Package Flags...");
    ASSERT_NE(flags, nullptr);
    EXPECT_FALSE(flags->isEnabled());
    Select(Compiled(), "DemoLib");
    ASSERT_TRUE(flags->isEnabled());
    QStringList ticked;
    answerDialog_ = [&](QDialog& dialog) {
        auto& window = static_cast<TPackageFlags&>(dialog);
        EXPECT_EQ(window.windowTitle(), "Package Flags for...");
        EXPECT_EQ(window.Package()->text(), "DemoLib");
        EXPECT_TRUE(window.Package()->isReadOnly());
        for (int bit = 0; bit < 5; ++bit) {
            if (window.FlagBox(bit)->isChecked()) ticked << window.FlagBox(bit)->text();
        }
        ClickBox(window.FlagBox(0));  // Allow Download off
        ClickBox(window.FlagBox(2));  // Server Side Only on
        QTest::mouseClick(window.SetButton(), Qt::LeftButton);
    };
    main().OutputLogWidget()->clear();
    flags->trigger();
    EXPECT_EQ(ticked, (QStringList{"Allow Download"}));
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Done"}));
    EXPECT_EQ(unrealpkg::TUTPackage(game_ + "/System/DemoLib.u").PackageFlags, 0x4u | 0x400u);
    EXPECT_EQ(unrealpkg::TUTPackage(game_ + "/System/DemoLib.v").PackageFlags, 0x1u | 0x400u);
    QListWidget* log = main().OutputLogWidget();
    ASSERT_GT(log->count(), 0);
    EXPECT_EQ(log->item(log->count() - 1)->text(), "Package DemoLib.u written with flags 1028");
    EXPECT_FALSE(main().Busy().Busy());
    // The lists show the new package's time; it stays selected for the next change.
    const QString listedAfter = EditPackages()->findItems("DemoLib", Qt::MatchExactly).first()->text(1);
    EXPECT_NE(listedAfter, listedBefore);
    EXPECT_EQ(listedAfter.toStdString(), LastModifiedText(workspace().Browser()->context().install, "DemoLib"));
    ASSERT_NE(Compiled()->currentItem(), nullptr);
    EXPECT_EQ(Compiled()->currentItem()->text(0), "DemoLib");

    answerDialog_ = [](QDialog& dialog) {  // Cancel: the tool does not run
        QTest::mouseClick(static_cast<TPackageFlags&>(dialog).CancelButton(), Qt::LeftButton);
    };
    flags->trigger();
    EXPECT_EQ(unrealpkg::TUTPackage(game_ + "/System/DemoLib.u").PackageFlags, 0x4u | 0x400u);
    EXPECT_EQ(prompter_.shown().size(), 1u);
}

}  // namespace
}  // namespace torvane::workspace
