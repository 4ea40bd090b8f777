#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

#include "import/resource_import.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace torvane::core {
class Prompter;
}
namespace torvane::widgets {
class ImageBuffer;
class ImageBufferView;
}

namespace torvane::imports {

// "Image Import": choose PCX and BMP files of a directory, see each in a 256 by 256 preview
// with its size and colours, and import the selected ones into the package of the source being
// edited.
class TImageImport final : public QDialog {
    Q_OBJECT

public:
    TImageImport(core::Prompter& prompter, QWidget* parent = nullptr);
    ~TImageImport() override;

    // Before showing: the directory to list, the game root and package to import into (an empty
    // package disables "&Import"), and how the import reaches the editor and the project.
    void Prepare(const std::string& directory, const std::string& gameRoot, const std::string& package,
                 ImportHost host);
    // The directory DirList shows; FileList lists its images.
    void ShowDirectory(const std::string& directory);
    const std::string& Directory() const { return directory_; }

    QListWidget* FileList() const { return fileList_; }
    QListWidget* DirList() const { return dirList_; }
    QComboBox* DriveList() const { return driveList_; }
    QLabel* Dims() const { return dims_; }
    QLineEdit* Edit1() const { return edit1_; }
    QLineEdit* Edit2() const { return edit2_; }
    QCheckBox* CheckBox1() const { return checkBox1_; }
    QCheckBox* CheckBox2() const { return checkBox2_; }
    QPushButton* ImportButton() const { return import_; }
    const widgets::ImageBuffer& Preview() const { return *buffer_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PreviewFile(QListWidgetItem* item);
    void UpdateImportButton();
    void ImportClicked();
    void FillDriveList();

    core::Prompter& prompter_;
    std::unique_ptr<widgets::ImageBuffer> buffer_;
    std::string directory_;
    std::string gameRoot_;
    std::string package_;
    ImportHost host_;
    std::string lastPreviewed_;
    QListWidget* fileList_ = nullptr;
    QListWidget* dirList_ = nullptr;
    QComboBox* driveList_ = nullptr;
    QLabel* dims_ = nullptr;
    widgets::ImageBufferView* view_ = nullptr;
    QLineEdit* edit1_ = nullptr;
    QLineEdit* edit2_ = nullptr;
    QCheckBox* checkBox1_ = nullptr;
    QCheckBox* checkBox2_ = nullptr;
    QPushButton* import_ = nullptr;
};

}  // namespace torvane::imports
