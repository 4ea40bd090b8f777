#pragma once

#include <QObject>

namespace torvane::shell {
class TMain;
}
namespace torvane::workspace {
class TWorkspace;
}

namespace torvane::editor {

class TEdFindDlg;
class TEdReplDlg;
class TFindInFiles;
class TGotoLineDialog;

// The Search commands of the main window, whichever way they come (menu, tool bar, key): Find,
// Find && Replace, Search Again, Find in Files, Goto Line #, and the Find tool bar's box and
// buttons. Each acts on the active editor; Search Again on the workspace's by-package tree when
// that has the focus (its find box's next hit).
class SearchController final : public QObject {
    Q_OBJECT

public:
    SearchController(shell::TMain& main, workspace::TWorkspace& workspace, TEdFindDlg& find,
                     TEdReplDlg& replace, TGotoLineDialog& gotoLine, TFindInFiles& findInFiles);

    void Find();
    void FindAndReplace();
    void SearchAgain();
    void GotoLine();
    void QuickFind();
    void FindInFiles();
    void QuickFindInFiles();

private:
    shell::TMain& main_;
    workspace::TWorkspace& workspace_;
    TEdFindDlg& find_;
    TEdReplDlg& replace_;
    TGotoLineDialog& gotoLine_;
    TFindInFiles& findInFiles_;
};

}  // namespace torvane::editor
