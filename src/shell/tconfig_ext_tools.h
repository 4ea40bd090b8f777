#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "shell/external_tools.h"

class QAction;
class QTreeWidget;

namespace torvane::core {
class Prompter;
}

namespace torvane::shell {

class SettingsFile;
class TAddEditTool;

// "Configure External Tools...": the stored tools as rows (description, command line), edited
// through the list's context menu. OK writes the rows back as the Tools section and reports it;
// Cancel drops the edits (the next opening reads the file again).
class TConfigExtTools final : public QDialog {
    Q_OBJECT

public:
    TConfigExtTools(core::Prompter& prompter, TAddEditTool& addEdit, QWidget* parent = nullptr);

    // Empties the list and reads the stored tools; OK writes them back to the same file.
    void LoadTools(const SettingsFile& settings);
    // Called after OK has saved the rows.
    void SetSaved(std::function<void()> saved) { saved_ = std::move(saved); }

    // The rows as they stand.
    std::vector<ExternalTool> Rows() const;
    QTreeWidget* ToolList() const { return list_; }
    QAction* AddAction() const { return add_; }
    QAction* EditAction() const { return edit_; }
    QAction* RemoveAction() const { return remove_; }

    // OK: saves the rows and closes; when the file cannot be written, the error is shown and
    // the dialog stays open with the rows.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AddNewTool();
    void EditTool();
    void RemoveTool();
    void AddRow(const ExternalTool& tool);
    void SizeColumns();
    void UpdateActions();

    core::Prompter& prompter_;
    TAddEditTool& addEdit_;
    std::string settingsPath_;
    std::function<void()> saved_;
    QTreeWidget* list_ = nullptr;
    QAction* add_ = nullptr;
    QAction* edit_ = nullptr;
    QAction* remove_ = nullptr;
};

}  // namespace torvane::shell
