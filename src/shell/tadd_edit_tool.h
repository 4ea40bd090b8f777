#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <optional>

class QLineEdit;
class QPushButton;
class QToolButton;

namespace torvane::shell {

// "Add | Edit Tool...": one tool's description and command line, with a browse button that
// puts a chosen program into the command line.
class TAddEditTool final : public QDialog {
    Q_OBJECT

public:
    // Gets the directory to start in, returns the chosen file.
    using FileChooser = std::function<std::optional<QString>(const QString& directory)>;

    explicit TAddEditTool(QWidget* parent = nullptr);

    // Shows the dialog modally with the two texts; true on OK, with the texts as entered.
    bool Edit(QString& description, QString& commandLine);
    // Where the browse button's dialog starts (the game's System directory).
    void SetBrowseDirectory(const QString& directory) { browseDirectory_ = directory; }
    void SetFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }

    // The browse dialog's file type filters.
    static QStringList BrowseFilters();

    QLineEdit* DescriptionEdit() const { return description_; }
    QLineEdit* ExecuteEdit() const { return execute_; }
    QToolButton* BrowseButton() const { return browse_; }
    QPushButton* OkButton() const { return ok_; }

private:
    void BrowseClicked();
    void UpdateOk();

    FileChooser chooseFile_;
    QString browseDirectory_;
    QLineEdit* description_ = nullptr;
    QLineEdit* execute_ = nullptr;
    QToolButton* browse_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace torvane::shell
