#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>

#include "import/resource_import.h"

class QLineEdit;
class QPushButton;

namespace torvane::core {
class Prompter;
}

namespace torvane::imports {

// "Sound Import": choose a WAV file, listen to it, name it and import it into the package of the
// source being edited.
class TSoundImport final : public QDialog {
    Q_OBJECT

public:
    // The file dialog: gets the directory to start in, returns the chosen file.
    using FileChooser = std::function<std::optional<std::string>(const std::string& directory)>;
    // Plays a wave file without waiting; false when it cannot.
    using Player = std::function<bool(const std::string& path)>;

    TSoundImport(core::Prompter& prompter, QWidget* parent = nullptr);

    // Before showing: the three fields emptied, the import's target and host.
    void Prepare(const std::string& gameRoot, const std::string& package, ImportHost host);
    void SetFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
    void SetPlayer(Player player) { play_ = std::move(player); }

    QLineEdit* Edit1() const { return edit1_; }
    QLineEdit* Edit2() const { return edit2_; }
    QLineEdit* Edit3() const { return edit3_; }
    QPushButton* BrowseButton() const { return browse_; }
    QPushButton* PlayButton() const { return playButton_; }
    QPushButton* ImportButton() const { return import_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BrowseClicked();
    void PlayClicked();
    void ImportClicked();
    void FileChanged();

    core::Prompter& prompter_;
    FileChooser chooseFile_;
    Player play_;
    std::string gameRoot_;
    std::string package_;
    ImportHost host_;
    QLineEdit* edit1_ = nullptr;
    QLineEdit* edit2_ = nullptr;
    QLineEdit* edit3_ = nullptr;
    QPushButton* browse_ = nullptr;
    QPushButton* playButton_ = nullptr;
    QPushButton* import_ = nullptr;
};

}  // namespace torvane::imports
