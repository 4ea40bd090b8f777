// The class commands as a user reaches them: the Class menu and its key, the workspace trees'
// context menus, the editor's context menu, a drop in the object tree and the default-properties
// window, on a copy of the sample game.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "editor/teditor.h"
#include "editor/tsyntax_memo.h"
#include "platform/file_ops.h"
#include "shell/app_windows.h"
#include "shell/command_ids.h"
#include "shell/tmain.h"
#include "support/qt_wait.h"
#include "support/sample_ide.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "support/tree_drop.h"
#include "workspace/class_commands_controller.h"
#include "workspace/tdefault_props.h"
#include "workspace/tnewclsdlg.h"
#include "workspace/tworkspace.h"

namespace torvane::workspace {
namespace {

using shell::AppWindows;
using testing::ShownMessage;

class ClassCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        windows_ = std::make_unique<AppWindows>(testing::SampleGameOptions(dir_, prompter_, game_));
        main().Timer1Timer();
        ASSERT_TRUE(main().Started());
        windows_->classCommands().SetDialogRunner([this](QDialog& dialog) { return answerDialog_(dialog); });
    }
    shell::TMain& main() { return windows_->main(); }
    TWorkspace& workspace() { return *static_cast<TWorkspace*>(windows_->Window(QStringLiteral("TWorkspace"))); }
    TDefaultProps& properties() {
        return *static_cast<TDefaultProps*>(windows_->Window(QStringLiteral("TDefaultProps")));
    }
    QAction* Command(const char* id) { return main().Commands().Command(id); }
    // An entry of a widget's context menu by its caption.
    static QAction* MenuEntry(QWidget* widget, const QString& caption) {
        for (QAction* action : widget->actions()) {
            if (action->text() == caption) return action;
        }
        return nullptr;
    }
    // The object tree's item of a class, selected on the "Object" page.
    QTreeWidgetItem* SelectClass(const QString& caption) {
        workspace().Pages()->setCurrentIndex(1);
        const auto found = workspace().ClassTree()->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
        EXPECT_EQ(found.size(), 1) << caption.toStdString();
        if (found.isEmpty()) return nullptr;
        workspace().ClassTree()->setCurrentItem(found.first());
        return found.first();
    }
    // The new-class dialog as a user fills it: the name typed, the package typed, OK clicked.
    void AnswerNewClass(const std::string& name, const std::optional<std::string>& package = std::nullopt) {
        answerDialog_ = [this, name, package](QDialog& dialog) {
            auto& newClass = static_cast<TNewClsDlg&>(dialog);
            shownForm_ = {newClass.windowTitle(), newClass.ParentClass()->text(), newClass.Package()->currentText(),
                          QString::number(newClass.Package()->count())};
            dialog.show();
            QTest::keyClicks(newClass.ChildName(), QString::fromStdString(name));
            if (package) {
                newClass.Package()->lineEdit()->selectAll();
                QTest::keyClicks(newClass.Package()->lineEdit(), QString::fromStdString(*package));
            }
            QTest::mouseClick(newClass.OkButton(), Qt::LeftButton);
            const int result = dialog.isVisible() ? QDialog::Rejected : dialog.result();
            dialog.hide();
            return result;
        };
    }
    std::vector<std::string> Shown() const {
        std::vector<std::string> texts;
        for (const ShownMessage& message : prompter_.shown()) texts.push_back(message.text);
        return texts;
    }
    // A drag of the selected class of the object tree dropped on an item (nullptr: empty space).
    void DropOn(QTreeWidgetItem* target) {
        workspace().show();
        testing::DropCurrentItemOn(workspace().ClassTree(), target);
    }
    static QStringList Captions(QTreeWidget* tree) {
        QStringList captions;
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            QString indent;
            for (QTreeWidgetItem* up = (*it)->parent(); up; up = up->parent()) indent += QStringLiteral("  ");
            captions << indent + (*it)->text(0);
        }
        return captions;
    }

    testing::TempDir dir_;
    std::string game_;
    testing::ScriptedPrompter prompter_;
    std::unique_ptr<AppWindows> windows_;
    std::function<int(QDialog&)> answerDialog_ = [](QDialog&) { return static_cast<int>(QDialog::Rejected); };
    QStringList shownForm_;
};

TEST_F(ClassCommandsTest, CreateSubClassFromTheClassMenu) {
    SelectClass("Mutator");
    AnswerNewClass("DemoRules");
    Command(shell::cmd::kCreateSubClass)->trigger();
    EXPECT_EQ(shownForm_, (QStringList{"Create Sub-Class of Mutator", "Engine.Mutator", "Engine", "4"}));
    // Engine is offered, and the class goes where the user left it.
    EXPECT_TRUE(Shown().empty()) << Shown().front();
    const std::string file = game_ + "/Engine/Classes/DemoRules.uc";
    ASSERT_TRUE(platform::FileExists(file));
    EXPECT_NE(dir_.Read("game/Engine/Classes/DemoRules.uc").find("class DemoRules extends Mutator;\r\n"),
              std::string::npos);
    // Opened in an editor, selected below its parent, and in the caches.
    ASSERT_EQ(main().Editors().size(), 1u);
    EXPECT_EQ(main().Editors()[0]->Caption(), file);
    QTreeWidgetItem* current = workspace().ClassTree()->currentItem();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->text(0), "DemoRules");
    EXPECT_EQ(current->parent()->text(0), "Mutator");
    EXPECT_NE(dir_.Read("prog/Classes.ucd").find("DemoRules"), std::string::npos);
}

TEST_F(ClassCommandsTest, CreateSubClassWithCtrlNIntoANewPackage) {
    main().show();
    main().activateWindow();
    ASSERT_TRUE(testing::WaitUntil([this] { return QApplication::activeWindow() == &main(); }));
    SelectClass("Inventory")->treeWidget()->setFocus();
    AnswerNewClass("Gem", "GemMod");
    prompter_.QueueAnswer(core::Answer::Yes);
    QTest::keyClick(workspace().ClassTree(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"The package you have chosen doesn't exist!  Create it now?"}));
    EXPECT_TRUE(platform::FileExists(game_ + "/GemMod/Classes/Gem.uc"));
    EXPECT_NE(dir_.Read("game/System/UnrealTournament.ini").find("EditPackages=DemoMod\r\nEditPackages=GemMod\r\n"),
              std::string::npos);
    ASSERT_EQ(workspace().EditPackages()->topLevelItemCount(), 5);
    EXPECT_EQ(workspace().EditPackages()->topLevelItem(4)->text(0), "GemMod");
    // Adding the package collapsed the trees; the new class is still shown, selected.
    QTreeWidgetItem* gem = workspace().ClassTree()->currentItem();
    ASSERT_NE(gem, nullptr);
    EXPECT_EQ(gem->text(0), "Gem");
    for (QTreeWidgetItem* up = gem->parent(); up; up = up->parent()) EXPECT_TRUE(up->isExpanded()) << up->text(0).toStdString();
}

TEST_F(ClassCommandsTest, TheDialogStaysOpenForABadNameAndNeedsASelectedClass) {
    workspace().Pages()->setCurrentIndex(4);  // "System": no class
    Command(shell::cmd::kCreateSubClass)->trigger();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"You need to select a class before you can create a sub-class!"}));

    SelectClass("Info");
    AnswerNewClass("Bad Name");
    Command(shell::cmd::kCreateSubClass)->trigger();
    EXPECT_EQ(Shown().back(), "\"Bad Name\" is not a valid class name: use letters, digits and underscores.");
    EXPECT_TRUE(main().Editors().empty());
    EXPECT_FALSE(platform::FileExists(game_ + "/Engine/Classes/Bad Name.uc"));
}

// "Create a Subclass..." of the project tree: the class file selected there is the parent, the
// project's first package is offered, and the project tree gets the new file.
TEST_F(ClassCommandsTest, CreateSubClassFromTheProjectTree) {
    dir_.Write("prog/Demo.tvx", "[Project]\r\nName=Demo\r\nBackupSrc=True\r\n[Packages]\r\nPackage0=DemoMod\r\n");
    workspace().LoadProject(dir_.Path("prog/Demo.tvx"));
    ASSERT_TRUE(workspace().ProjectOpen());
    workspace().Pages()->setCurrentIndex(0);
    const auto found = workspace().ProjectTree()->findItems("DemoPickup.uc", Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    workspace().ProjectTree()->setCurrentItem(found.first());
    AnswerNewClass("SuperPickup");
    QAction* create = MenuEntry(workspace().ProjectTree(), "Create a SubClass");
    ASSERT_EQ(create, Command(shell::cmd::kCreateSubClass));
    create->trigger();
    EXPECT_EQ(shownForm_[1], "DemoMod.DemoPickup");
    EXPECT_EQ(shownForm_[2], "DemoMod");
    EXPECT_TRUE(platform::FileExists(game_ + "/DemoMod/Classes/SuperPickup.uc"));
    EXPECT_TRUE(workspace().ProjectModified());
    EXPECT_EQ(workspace().ProjectTree()->findItems("SuperPickup.uc", Qt::MatchExactly | Qt::MatchRecursive).size(), 1);
}

TEST_F(ClassCommandsTest, DeleteALeafFromTheTreeMenuClosesItsEditorWithoutAsking) {
    QTreeWidgetItem* pickup = SelectClass("DemoPickup");
    workspace().ClassTreeDblClick(pickup);
    ASSERT_EQ(main().Editors().size(), 1u);
    QTest::keyClicks(main().Editors()[0]->Memo1(), "unsaved ");
    ASSERT_TRUE(main().Editors()[0]->Modified());
    const std::string source = dir_.Read("game/DemoMod/Classes/DemoPickup.uc");

    prompter_.QueueAnswer(core::Answer::Yes);
    QAction* remove = MenuEntry(workspace().ClassTree(), "Delete Class");
    ASSERT_NE(remove, nullptr);
    remove->trigger();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Delete DemoMod.DemoPickup?  Are you sure?", "Class deleted!"}));
    EXPECT_TRUE(testing::WaitUntil([this] { return main().Editors().empty(); }));
    EXPECT_FALSE(platform::FileExists(game_ + "/DemoMod/Classes/DemoPickup.uc"));
    EXPECT_EQ(dir_.Read("game/DemoMod/Classes/DemoPickup.~uc"), source);
    EXPECT_TRUE(workspace().ClassTree()->findItems("DemoPickup", Qt::MatchExactly | Qt::MatchRecursive).isEmpty());
    EXPECT_TRUE(workspace().ActorTree()->findItems("DemoPickup", Qt::MatchExactly | Qt::MatchRecursive).isEmpty());
    EXPECT_EQ(dir_.Read("prog/Classes.ucd").find("DemoPickup"), std::string::npos);

    // The game's classes and classes with children stay.
    SelectClass("Inventory");
    Command(shell::cmd::kDeleteClass)->trigger();
    EXPECT_EQ(Shown().back(), "You can not delete native Epic classes");
    EXPECT_TRUE(platform::FileExists(game_ + "/Engine/Classes/Inventory.uc"));
}

TEST_F(ClassCommandsTest, DropOnAnotherClassAsksAndChangesNothing) {
    const QStringList before = Captions(workspace().ClassTree());
    const std::string ini = dir_.Read("game/System/UnrealTournament.ini");
    const std::string source = dir_.Read("game/DemoMod/Classes/DemoMutator.uc");
    QTreeWidgetItem* mutator = SelectClass("DemoMutator");
    DropOn(mutator);  // onto itself
    DropOn(nullptr);  // onto no class
    EXPECT_TRUE(Shown().empty());
    for (core::Answer answer : {core::Answer::Yes, core::Answer::No}) {
        prompter_.QueueAnswer(answer);
        DropOn(workspace().ClassTree()->findItems("Info", Qt::MatchExactly | Qt::MatchRecursive).first());
        EXPECT_EQ(Shown().back(), "Make \"Info\" DemoMutator's Parent? (This may screw up stuff)");
    }
    SelectClass("Info");
    DropOn(mutator);
    EXPECT_EQ(Shown().back(), "You can not change the parent of an Epic Class");
    EXPECT_EQ(Captions(workspace().ClassTree()), before);
    EXPECT_EQ(dir_.Read("game/DemoMod/Classes/DemoMutator.uc"), source);
    EXPECT_EQ(dir_.Read("game/System/UnrealTournament.ini"), ini);
    EXPECT_EQ(prompter_.unusedAnswers(), 0u);
}

TEST_F(ClassCommandsTest, DefaultPropertiesWindowAndItsJumps) {
    SelectClass("DemoPickup");
    QAction* show = MenuEntry(workspace().ClassTree(), "Default Properties");
    ASSERT_EQ(show, Command(shell::cmd::kDefaultProperties));
    show->trigger();
    TDefaultProps& window = properties();
    ASSERT_TRUE(window.isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowTitle(), "Default Properties (DemoPickup)");
    QTreeWidget* tree = window.DefPropTree();
    QStringList rows;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        rows << ((*it)->parent() ? QStringLiteral("  ") : QString()) + (*it)->text(0) + "=" + (*it)->text(1);
    }
    EXPECT_EQ(rows, (QStringList{"Advanced=", "  bHidden=False", "DemoPickup=", "  BonusCharge=25", "Display=",
                                 "  DrawScale=1.000000", "Inventory=", "  Charge=0",
                                 "  PickupMessage=\"You picked up a demo pickup\""}));
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());  // Auto-Expand is on by default
    // The first time the window shows, the names are shown whole, and the values beside them.
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const int indent = tree->indentation() * ((*it)->parent() ? 2 : 1);
        EXPECT_GE(tree->columnWidth(0), indent + tree->fontMetrics().horizontalAdvance((*it)->text(0)))
            << (*it)->text(0).toStdString();
    }
    EXPECT_GT(tree->viewport()->width() - tree->columnWidth(0), tree->fontMetrics().horizontalAdvance("False"));

    // A double-click opens the declaring class at its line; "Look Up Value" the setting line.
    QTreeWidgetItem* message = tree->topLevelItem(3)->child(1);
    // The events of a double-click: press, release, double-click, release.
    const QPoint at = tree->visualItemRect(message).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, at);
    editor::TEditor* editor = main().ActiveEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Caption(), game_ + "/Engine/Classes/Inventory.uc");
    int line = 0, index = 0;
    editor->Memo1()->getCursorPosition(&line, &index);
    EXPECT_EQ(line + 1, 8);  // var() localized string PickupMessage;
    tree->setCurrentItem(message);
    window.DefPropTree()->actions().last()->trigger();  // "Look Up Value"
    ASSERT_EQ(window.DefPropTree()->actions().last(), Command(shell::cmd::kPropertiesLookUpValue));
    editor = main().ActiveEditor();
    EXPECT_EQ(editor->Caption(), game_ + "/DemoMod/Classes/DemoPickup.uc");
    editor->Memo1()->getCursorPosition(&line, &index);
    EXPECT_EQ(line + 1, 16);  // PickupMessage="You picked up a demo pickup"

    // A category opens nothing; Contract All and Expand All.
    const std::size_t editors = main().Editors().size();
    window.OpenDeclaration(tree->topLevelItem(0));
    EXPECT_EQ(main().Editors().size(), editors);
    Command(shell::cmd::kPropertiesContractAll)->trigger();
    EXPECT_FALSE(tree->topLevelItem(0)->isExpanded());
    Command(shell::cmd::kPropertiesExpandAll)->trigger();
    EXPECT_TRUE(tree->topLevelItem(3)->isExpanded());
}

// The editor's "Default Properties" shows the editor's own class, whatever page the workspace
// shows, and selects it in the object tree.
TEST_F(ClassCommandsTest, EditorMenuShowsTheEditorsClass) {
    workspace().ClassTreeDblClick(SelectClass("DemoMutator"));
    ASSERT_EQ(main().Editors().size(), 1u);
    workspace().Pages()->setCurrentIndex(2);  // "Actor", with Actor selected
    workspace().ActorTree()->setCurrentItem(workspace().ActorTree()->topLevelItem(0));
    workspace().ClassTree()->setCurrentItem(workspace().ClassTree()->topLevelItem(0));
    QAction* command = Command(shell::cmd::kEditorDefaultProperties);
    ASSERT_TRUE(main().Editors()[0]->Memo1()->actions().contains(command));
    EXPECT_FALSE(main().Editors()[0]->Memo1()->actions().contains(Command(shell::cmd::kDefaultProperties)));
    command->trigger();
    EXPECT_EQ(properties().windowTitle(), "Default Properties (DemoMutator)");
    EXPECT_EQ(workspace().ClassTree()->currentItem()->text(0), "DemoMutator");
    EXPECT_EQ(main().Editors().size(), 1u);  // selected, not opened again
}

TEST_F(ClassCommandsTest, ClassCommandsWaitWhileBusy) {
    const char* ids[] = {shell::cmd::kCreateSubClass, shell::cmd::kDeleteClass, shell::cmd::kDefaultProperties,
                         shell::cmd::kEditorDefaultProperties};
    for (const char* id : ids) EXPECT_TRUE(Command(id)->isEnabled()) << id;
    {
        const shell::BusyState::Scope busy(main().Busy());
        for (const char* id : ids) EXPECT_FALSE(Command(id)->isEnabled()) << id;
        SelectClass("DemoPickup");
        windows_->classCommands().DeleteClass();  // reached without the action: refused all the same
        EXPECT_TRUE(Shown().empty());
    }
    for (const char* id : ids) EXPECT_TRUE(Command(id)->isEnabled()) << id;
}

}  // namespace
}  // namespace torvane::workspace
