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

// "Find and replace text...": modeless and on top; OK replaces the next hit, Replace All every
// hit from the start of the text as one undo step. Closing writes both drop-down lists as the
// find and replace histories.
class TEdReplDlg final : public QDialog {
    Q_OBJECT

public:
    TEdReplDlg(core::Prompter& prompter, QWidget* parent = nullptr);

    void ShowFor(const QString& initialText, int options, TEdPersistent& settings, TSyntaxMemo* memo);

    QComboBox* FindText() const { return findText_; }
    QComboBox* ReplaceText() const { return replaceText_; }
    SearchOptionsView* Options() const { return options_; }
    QPushButton* OkButton() const { return ok_; }
    QPushButton* ReplaceAllButton() const { return replaceAll_; }

    void done(int result) override;

private:
    void ReplaceNext();
    void ReplaceAll();
    void PutTextsOnTop();
    void EnableButtons();

    core::Prompter& prompter_;
    TEdPersistent* settings_ = nullptr;
    QPointer<TSyntaxMemo> memo_;
    QComboBox* findText_ = nullptr;
    QComboBox* replaceText_ = nullptr;
    SearchOptionsView* options_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* replaceAll_ = nullptr;
};

}  // namespace torvane::editor
