#pragma once

#include <QDialog>
#include <QPointer>

#include "editor/tsyntax_memo.h"

class QComboBox;
class QPushButton;

namespace torvane::core {
class Prompter;
}

namespace torvane::editor {

class SearchOptionsView;
class TEdPersistent;

// "Find text...": modeless and on top of the main window; it searches the editor control it was
// opened for, and writes its drop-down list as the find history when it closes.
class TEdFindDlg final : public QDialog {
    Q_OBJECT

public:
    TEdFindDlg(core::Prompter& prompter, QWidget* parent = nullptr);

    void ShowFor(const QString& initialText, int options, TEdPersistent& settings, TSyntaxMemo* memo);

    QComboBox* FindText() const { return findText_; }
    SearchOptionsView* Options() const { return options_; }
    QPushButton* OkButton() const { return ok_; }
    TSyntaxMemo* Memo() const { return memo_; }

    void done(int result) override;

private:
    void Find();

    core::Prompter& prompter_;
    TEdPersistent* settings_ = nullptr;
    QPointer<TSyntaxMemo> memo_;
    QComboBox* findText_ = nullptr;
    SearchOptionsView* options_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace torvane::editor
