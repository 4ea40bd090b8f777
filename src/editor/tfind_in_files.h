#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "editor/find_in_files.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace torvane::core {
class OutputLog;
class Prompter;
}
namespace torvane::shell {
class BusyState;
}

namespace torvane::editor {

// "Find in files...": the text, the location, "&GO" and "&Cancel", and a status line naming the
// file being searched. The hits go to the main window's output log. While a search runs the
// program is busy (no compile, script or rebuild starts), window messages go on, "&Cancel" stops
// the search before the next file, and the dialog cannot be closed otherwise.
class TFindInFiles final : public QDialog {
    Q_OBJECT

public:
    struct Services {
        core::Prompter* prompter = nullptr;
        core::OutputLog* log = nullptr;
        shell::BusyState* busy = nullptr;
        std::function<SearchScope()> scope;  // the trees, the project, the selections: asked at "&GO"
    };

    TFindInFiles(Services services, QWidget* parent = nullptr);

    QComboBox* FindText() const { return findText_; }
    SearchLocation Location() const;
    void SetLocation(SearchLocation location);
    QRadioButton* LocationButton(SearchLocation location) const { return locations_[static_cast<int>(location)]; }
    QPushButton* GoButton() const { return go_; }
    QPushButton* CancelButton() const { return cancel_; }
    QLabel* StatusLine() const { return status_; }
    bool Running() const { return running_; }

    // "&GO": searches the location's files for the text (nothing with an empty text), then closes.
    void Go();
    // The tool bar's Find in Files: the text (and the location, when given) set, the search
    // started at once; the dialog shows while it runs.
    void StartWith(const QString& text, const std::optional<SearchLocation>& location);

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Services services_;
    QComboBox* findText_ = nullptr;
    std::array<QRadioButton*, 5> locations_{};
    QPushButton* go_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QLabel* status_ = nullptr;
    bool running_ = false;
    bool stop_ = false;
};

}  // namespace torvane::editor
