#pragma once

#include <QObject>
#include <functional>

class QDialog;
class QTreeWidgetItem;

namespace torvane::shell {
class TMain;
class TPrefs;
}

namespace torvane::workspace {

class TDefaultProps;
class TNewClsDlg;
class TWorkspace;
struct ClassLine;
struct ClassOperationsContext;

// The class commands as the windows offer them: "Create a Subclass...", "Delete Class" and
// "Default Properties" of the workspace menus, the Class menu and the editor's context menu, the
// drop of a class on another in the object tree, and the default-properties window's jumps.
class ClassCommandsController final : public QObject {
    Q_OBJECT

public:
    ClassCommandsController(shell::TMain& main, TWorkspace& workspace, shell::TPrefs& prefs, TNewClsDlg& newClass,
                            TDefaultProps& properties);

    void CreateSubClass();
    void DeleteClass();
    // The workspace's chosen class.
    void ShowDefaultProperties();
    // The active editor's class, selected in the object tree first.
    void ShowEditorDefaultProperties();
    void ShowDefaultPropertiesAt(int position);
    void ClassDropped(QTreeWidgetItem* target);

    // Runs a modal dialog (tests answer for the user).
    void SetDialogRunner(std::function<int(QDialog&)> runner) { runDialog_ = std::move(runner); }

private:
    ClassOperationsContext Context();
    void Open(const ClassLine& line);
    int RunDialog(QDialog& dialog);

    shell::TMain& main_;
    TWorkspace& workspace_;
    shell::TPrefs& prefs_;
    TNewClsDlg& newClass_;
    TDefaultProps& properties_;
    std::function<int(QDialog&)> runDialog_;
};

}  // namespace torvane::workspace
