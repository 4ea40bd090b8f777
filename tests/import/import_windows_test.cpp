// The image and sound import dialogs and the image viewer, reached as a user reaches them: the
// editor's context menu, the project tree's double-click, clicks in the dialogs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "editor/teditor.h"
#include "editor/tsyntax_memo.h"
#include "import/timage_import.h"
#include "import/tsound_import.h"
#include "import/ttext_viewer.h"
#include "platform/file_ops.h"
#include "platform/game_paths.h"
#include "shell/app_windows.h"
#include "shell/command_ids.h"
#include "shell/tmain.h"
#include "support/image_files.h"
#include "support/qt_wait.h"
#include "support/sample_ide.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "widgets/image_buffer.h"
#include "workspace/tworkspace.h"

namespace torvane::imports {
namespace {

using editor::TEditor;
using testing::BmpBytes;
using testing::PcxBytes;

// A double-click as the mouse makes it: a press and release, then the second press.
void DoubleClick(QAbstractItemView* view, QPoint at) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

QRgb Expected(int x, int y) { return 0xFF000000u | testing::PaletteColour(testing::PixelIndex(x, y)); }

class ImportWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        windows_ = std::make_unique<shell::AppWindows>(testing::SampleGameOptions(dir_, prompter_, game_));
        main().Timer1Timer();
        ASSERT_TRUE(main().Started());
        main().show();
        main().activateWindow();
        ASSERT_TRUE(testing::WaitUntil([this] { return QApplication::activeWindow() == &main(); }));
    }
    shell::TMain& main() { return windows_->main(); }
    workspace::TWorkspace& workspace() {
        return *static_cast<workspace::TWorkspace*>(windows_->Window(QStringLiteral("TWorkspace")));
    }
    template <class T>
    T& Window(const char* name) {
        return *static_cast<T*>(windows_->Window(QString::fromLatin1(name)));
    }
    void OpenDemoProject() {
        const std::string project = dir_.Write("prog/Demo.tvx", "[Project]\r\nName=Demo\r\n[Packages]\r\nPackage0=DemoMod\r\n");
        workspace().LoadProject(project);
        ASSERT_TRUE(workspace().ProjectOpen());
    }
    TEditor* OpenDemoClass() {
        TEditor* editor = main().OpenSourceFile(game_ + "/DemoMod/Classes/DemoMutator.uc", "DemoMod", "DemoMutator");
        editor->Memo1()->setCursorPosition(1, 0);  // the caret at the start of the second line
        return editor;
    }
    // Opens the editor's context menu as a right click does and chooses the entry; what the
    // entry opens is handled by inDialog while it is shown.
    void ChooseFromContextMenu(TEditor* editor, const QString& caption, std::function<void()> inDialog) {
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            QAction* entry = nullptr;
            for (QAction* action : menu->actions()) {
                if (action->text() == caption) entry = action;
            }
            ASSERT_NE(entry, nullptr) << caption.toStdString();
            EXPECT_TRUE(entry->isEnabled());
            QTimer::singleShot(0, [&] {
                QWidget* dialog = QApplication::activeModalWidget();
                ASSERT_NE(dialog, nullptr);
                inDialog();
                if (dialog->isVisible()) static_cast<QDialog*>(dialog)->reject();
            });
            menu->setActiveAction(entry);
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QWidget* area = editor->Memo1()->viewport();
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20), area->mapToGlobal(QPoint(20, 20)));
        QApplication::sendEvent(area, &event);
    }
    std::vector<std::string> Shown() const {
        std::vector<std::string> texts;
        for (const auto& m : prompter_.shown()) texts.push_back(m.text);
        return texts;
    }
    QTreeWidgetItem* ProjectNode(std::initializer_list<const char*> path) {
        QTreeWidgetItem* node = workspace().ProjectTree()->topLevelItem(0);
        for (const char* caption : path) {
            QTreeWidgetItem* next = nullptr;
            for (int i = 0; node && i < node->childCount(); ++i) {
                if (node->child(i)->text(0) == caption) next = node->child(i);
            }
            node = next;
        }
        return node;
    }

    testing::TempDir dir_;
    std::string game_;
    testing::ScriptedPrompter prompter_;
    std::unique_ptr<shell::AppWindows> windows_;
};

TEST_F(ImportWindowsTest, ImagesImportedThroughTheEditorsContextMenu) {
    OpenDemoProject();
    testing::WriteFile(game_ + "/DemoMod/Art/wall.pcx", PcxBytes(256, 128));
    testing::WriteFile(game_ + "/DemoMod/Art/Bad.bmp", BmpBytes(100, 100));
    testing::WriteFile(game_ + "/DemoMod/Art/sky.BMP", BmpBytes(64, 64));
    TEditor* editor = OpenDemoClass();
    auto& dialog = Window<TImageImport>("TImageImport");
    bool closedByImport = false;
    ChooseFromContextMenu(editor, "Import .PCX/.BMP", [&] {
        EXPECT_EQ(QApplication::activeModalWidget(), &dialog);
        // It opens in the project's first package, with no file chosen.
        EXPECT_EQ(dialog.Directory(), game_ + "/DemoMod");
        EXPECT_EQ(dialog.FileList()->count(), 0);
        EXPECT_TRUE(dialog.Dims()->text().isEmpty());
        EXPECT_FALSE(dialog.ImportButton()->isEnabled());  // nothing chosen yet
        const auto art = dialog.DirList()->findItems(QStringLiteral("Art"), Qt::MatchEndsWith);
        ASSERT_EQ(art.size(), 1);
        QListWidget* dirs = dialog.DirList();
        DoubleClick(dirs, dirs->visualItemRect(art[0]).center());
        EXPECT_EQ(dialog.Directory(), game_ + "/DemoMod/Art");
        QListWidget* files = dialog.FileList();
        ASSERT_EQ(files->count(), 3);
        EXPECT_EQ(files->item(0)->text(), "Bad.bmp");
        EXPECT_EQ(files->item(1)->text(), "sky.BMP");
        EXPECT_EQ(files->item(2)->text(), "wall.pcx");

        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(2)).center());
        EXPECT_EQ(dialog.Dims()->text(), "(256x128x256c)");
        EXPECT_TRUE(dialog.ImportButton()->isEnabled());
        EXPECT_EQ(dialog.Preview().Image().pixel(10, 5), Expected(10, 5));
        EXPECT_EQ(dialog.Preview().Image().pixel(200, 127), Expected(200, 127));
        EXPECT_EQ(dialog.Preview().Image().pixelIndex(100, 200), 0);  // below the image: colour 0
        QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::ControlModifier, files->visualItemRect(files->item(0)).center());
        QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::ControlModifier, files->visualItemRect(files->item(1)).center());
        EXPECT_EQ(dialog.Dims()->text(), "(64x64x256c)");
        EXPECT_EQ(files->selectedItems().size(), 3);

        dialog.Edit2()->setText("Walls");
        QTest::mouseClick(dialog.CheckBox2(), Qt::LeftButton, {}, QPoint(6, dialog.CheckBox2()->height() / 2));
        EXPECT_TRUE(dialog.CheckBox2()->isChecked());
        prompter_.QueueAnswer(core::Answer::Yes);  // create the Textures directory
        QTest::mouseClick(dialog.ImportButton(), Qt::LeftButton);
        closedByImport = !dialog.isVisible();
    });
    EXPECT_TRUE(closedByImport);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Shown(), (std::vector<std::string>{"The File Bad.bmp is an invalid image file and can't be imported.",
                                                 "The package DemoMod does not have a texture directory.  Create it now?"}));
    EXPECT_EQ(platform::ReadWholeFile(game_ + "/DemoMod/Textures/wall.pcx"), PcxBytes(256, 128));
    EXPECT_TRUE(platform::FileExists(game_ + "/DemoMod/Textures/sky.BMP"));
    EXPECT_FALSE(platform::FileExists(game_ + "/DemoMod/Textures/Bad.bmp"));
    // The directives went to the caret, one line each.
    const QStringList lines = editor->Memo1()->text().split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[1].toStdString(), "#exec Texture Import File=Textures\\sky.BMP Name=imgsky Group=Walls Mips=Off");
    EXPECT_EQ(lines[2].toStdString(), "#exec Texture Import File=Textures\\wall.pcx Name=imgwall Group=Walls Mips=Off");
    EXPECT_TRUE(editor->Modified());
    EXPECT_EQ(QApplication::clipboard()->text(), lines[2] + "\r\n");
    // And the files are listed in the project.
    QTreeWidgetItem* textures = ProjectNode({"DemoMod", "Textures"});
    ASSERT_NE(textures, nullptr);
    ASSERT_EQ(textures->childCount(), 2);
    EXPECT_EQ(textures->child(0)->text(0), "sky.BMP");
    EXPECT_EQ(textures->child(1)->text(0), "wall.pcx");
}

// What the preview shows for each kind of file, damaged ones included.
TEST_F(ImportWindowsTest, PreviewSizesColoursAndDamagedFiles) {
    std::string rle = BmpBytes(4, 4);
    rle[18] = rle[22] = '\x60';  // 60000 x 60000 pixels coded in a few bytes
    rle[19] = rle[23] = '\xEA';
    rle[30] = 1;
    rle[34] = rle[35] = 0;
    const struct {
        const char* name;
        std::string bytes;
        const char* dims;  // empty: the header cannot be read
        bool red;
        const char* error;
    } cases[] = {
        {"a256.pcx", PcxBytes(300, 40), "(300x40x256c)", false, nullptr},
        {"b16.pcx", PcxBytes(64, 64, 4, 1), "(64x64x16c)", true, nullptr},
        {"c16M.bmp", BmpBytes(32, 32, 24), "(32x32x16M)", true, nullptr},
        {"d2.bmp", BmpBytes(16, 8, 1), "(16x8x2c)", true, nullptr},
        {"e.pcx", PcxBytes(64, 64).substr(0, 400), "", false, "PCX Error"},
        {"f.bmp", "BM and nothing else", "", false, "BMP Error"},
        {"g.bmp", rle, "(60000x60000x256c)", false, "BMP Error"},
    };
    for (const auto& c : cases) testing::WriteFile(game_ + "/Art/" + c.name, c.bytes);
    auto& dialog = Window<TImageImport>("TImageImport");
    dialog.Prepare(game_ + "/Art", game_, "DemoMod", {});
    dialog.show();
    QListWidget* files = dialog.FileList();
    ASSERT_EQ(files->count(), 7);
    for (int i = 0; i < files->count(); ++i) {
        const auto& c = cases[i];
        const std::size_t before = prompter_.shown().size();
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(i)).center());
        EXPECT_EQ(dialog.Dims()->text().toStdString(), c.dims) << c.name;
        if (*c.dims) {
            EXPECT_EQ(dialog.Dims()->palette().color(QPalette::WindowText) == QColor(Qt::red), c.red) << c.name;
        }
        if (c.error) {
            ASSERT_EQ(prompter_.shown().size(), before + 1) << c.name;
            EXPECT_EQ(prompter_.shown().back().text, c.error) << c.name;
            EXPECT_EQ(dialog.Preview().Image().pixelIndex(0, 0), 0) << c.name;
        } else {
            EXPECT_EQ(prompter_.shown().size(), before) << c.name;
        }
        // The same file again is not drawn again.
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(i)).center());
        EXPECT_EQ(prompter_.shown().size(), before + (c.error ? 1 : 0)) << c.name;
    }
    // The 256-colour image shows its top-left 256 x 256 pixels in its own colours.
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(0)).center());
    EXPECT_EQ(dialog.Preview().Image().pixel(255, 39), Expected(255, 39));

    // Enter in the directory list opens the directory chosen; it does not import.
    QListWidget* dirs = dialog.DirList();
    const auto up = dirs->findItems(QString::fromStdString(platform::FileNamePart(game_)), Qt::MatchEndsWith);
    ASSERT_EQ(up.size(), 1);
    dirs->setCurrentItem(up[0]);
    dirs->setFocus();
    QTest::keyClick(dirs, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.Directory(), game_);
    EXPECT_EQ(files->count(), 0);
    dialog.reject();
}

TEST_F(ImportWindowsTest, ImportEntriesFollowTheActiveEditor) {
    QAction* images = main().Commands().Command(shell::cmd::kImportImage);
    QAction* sounds = main().Commands().Command(shell::cmd::kImportSound);
    EXPECT_FALSE(images->isEnabled());
    EXPECT_EQ(images->statusTip(), "Open the source to import into first.");
    TEditor* writable = OpenDemoClass();
    EXPECT_TRUE(images->isEnabled());
    EXPECT_TRUE(sounds->isEnabled());
    EXPECT_TRUE(writable->Memo1()->actions().contains(images));
    EXPECT_TRUE(writable->Memo1()->actions().contains(sounds));
    main().OpenSourceFile(game_ + "/Engine/Classes/Actor.uc", "Engine", "Actor");  // a protected package
    EXPECT_FALSE(images->isEnabled());
    EXPECT_FALSE(sounds->isEnabled());
    EXPECT_EQ(sounds->statusTip(), "The source is read-only.");
    main().CloseAll();
    EXPECT_FALSE(images->isEnabled());

    // A file of no package: the dialog shows images, but there is nothing to import into.
    main().OpenSourceFile(dir_.Write("notes.txt", "notes\r\n"), "", "");
    ASSERT_TRUE(images->isEnabled());
    auto& dialog = Window<TImageImport>("TImageImport");
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.Directory(), game_);  // no project: the game root
        EXPECT_FALSE(dialog.ImportButton()->isEnabled());
        EXPECT_EQ(dialog.ImportButton()->toolTip(), "The file being edited belongs to no package.");
        dialog.reject();
    });
    images->trigger();
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ImportWindowsTest, SoundBrowsedPlayedAndImported) {
    OpenDemoProject();
    const std::string wav = dir_.Write("noise/Boom.wav", "RIFF....WAVEfmt ");
    TEditor* editor = OpenDemoClass();
    auto& dialog = Window<TSoundImport>("TSoundImport");
    std::string startedIn;
    dialog.SetFileChooser([&](const std::string& directory) {
        startedIn = directory;
        return std::optional<std::string>(wav);
    });
    std::vector<std::string> played;
    dialog.SetPlayer([&](const std::string& path) {
        played.push_back(path);
        return true;
    });
    dialog.Edit1()->setText("stale");
    ChooseFromContextMenu(editor, "Import .WAV", [&] {
        EXPECT_TRUE(dialog.Edit1()->text().isEmpty());  // emptied when opened
        EXPECT_FALSE(dialog.ImportButton()->isEnabled());
        EXPECT_FALSE(dialog.PlayButton()->isEnabled());
        QTest::mouseClick(dialog.BrowseButton(), Qt::LeftButton);
        EXPECT_EQ(startedIn, game_);
        EXPECT_EQ(dialog.Edit1()->text().toStdString(), wav);
        EXPECT_EQ(dialog.Edit2()->text(), "sndBoom");
        QTest::mouseClick(dialog.PlayButton(), Qt::LeftButton);
        QTest::keyClicks(dialog.Edit3(), "Weapons");
        prompter_.QueueAnswer(core::Answer::Yes);  // create the Sounds directory
        QTest::mouseClick(dialog.ImportButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(played, std::vector<std::string>{wav});
    EXPECT_EQ(Shown(), std::vector<std::string>{"The package DemoMod does not have a sounds directory.  Create it now?"});
    EXPECT_EQ(platform::ReadWholeFile(game_ + "/DemoMod/Sounds/Boom.wav"), "RIFF....WAVEfmt ");
    EXPECT_EQ(editor->Memo1()->text().split(QStringLiteral("\r\n"))[1],
              "#exec Audio Import File=Sounds\\Boom.wav Name=sndBoom Group=Weapons");
    QTreeWidgetItem* sounds = ProjectNode({"DemoMod", "Sounds"});
    ASSERT_NE(sounds, nullptr);
    EXPECT_EQ(sounds->child(0)->text(0), "Boom.wav");

    // A name typed by the user is kept when browsing.
    ChooseFromContextMenu(editor, "Import .WAV", [&] {
        dialog.Edit2()->setText("Bang");
        QTest::mouseClick(dialog.BrowseButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.Edit2()->text(), "Bang");
        prompter_.QueueAnswer(core::Answer::No);  // the WAV is there already: do not go on
        QTest::mouseClick(dialog.ImportButton(), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_EQ(prompter_.shown().back().text, "The WAV Boom.wav already exists in this package.  Continue");
}

TEST_F(ImportWindowsTest, ProjectTreeShowsImagesInTheViewer) {
    testing::WriteFile(game_ + "/DemoMod/Textures/small.pcx", PcxBytes(64, 32));
    testing::WriteFile(game_ + "/DemoMod/Textures/tall.bmp", BmpBytes(16, 512));
    testing::WriteFile(game_ + "/DemoMod/Textures/broken.bmp", BmpBytes(64, 64).substr(0, 300));
    OpenDemoProject();
    if (!workspace().isVisible()) {
        main().Commands().Command(shell::cmd::kViewWorkspace)->trigger();
    }
    ASSERT_TRUE(workspace().isVisible());
    workspace().Pages()->setCurrentIndex(0);
    QTreeWidget* tree = workspace().ProjectTree();
    ProjectNode({"DemoMod"})->setExpanded(true);
    ProjectNode({"DemoMod", "Textures"})->setExpanded(true);
    auto doubleClick = [&](const char* file) {
        QTreeWidgetItem* item = ProjectNode({"DemoMod", "Textures", file});
        ASSERT_NE(item, nullptr) << file;
        tree->scrollToItem(item);
        DoubleClick(tree, tree->visualItemRect(item).center());
    };
    auto& viewer = Window<TTextViewer>("TTextViewer");
    const struct {
        const char* file;
        int width, height;
        const char* error;
    } cases[] = {{"small.pcx", 256, 256, nullptr}, {"tall.bmp", 256, 512, nullptr}, {"broken.bmp", 256, 256, "BMP Error"}};
    for (const auto& c : cases) {
        const std::size_t before = prompter_.shown().size();
        doubleClick(c.file);
        ASSERT_TRUE(testing::WaitUntil([&] { return viewer.isVisible(); })) << c.file;
        EXPECT_TRUE(workspace().isVisible()) << c.file;
        EXPECT_EQ(viewer.windowTitle(), c.file);
        EXPECT_EQ(viewer.ClientArea()->size(), QSize(c.width, c.height)) << c.file;
        const std::string path = game_ + "/DemoMod/Textures/" + c.file;
        EXPECT_EQ(viewer.toolTip().toStdString(),
                  path + " (" + std::to_string(c.width) + " x " + std::to_string(c.height) + ")");
        EXPECT_EQ(prompter_.shown().size(), before + (c.error ? 1 : 0)) << c.file;
        if (c.error) {
            EXPECT_EQ(prompter_.shown().back().text, c.error);
        }
    }
    doubleClick("small.pcx");
    EXPECT_EQ(viewer.Buffer().Image().pixel(63, 31), Expected(63, 31));
    EXPECT_EQ(viewer.Buffer().Image().pixelIndex(100, 100), 0);
}

}  // namespace
}  // namespace torvane::imports
