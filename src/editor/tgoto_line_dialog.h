#pragma once

#include <QDialog>

class QLineEdit;

namespace torvane::core {
class Prompter;
}

namespace torvane::editor {

// "Go to line number": the line typed must lie from the minimum to the maximum, otherwise a
// warning names the range and the dialog stays open.
class TGotoLineDialog final : public QDialog {
    Q_OBJECT

public:
    TGotoLineDialog(core::Prompter& prompter, QWidget* parent = nullptr);

    void SetRange(int minimum, int maximum);
    void SetCurrentLine(int line) { current_ = line; }
    int CurrentLine() const { return current_; }
    // Shows the dialog modally; true for OK, with the chosen line in CurrentLine().
    bool Execute();

    QLineEdit* Edit() const { return edit_; }

public slots:
    void accept() override;

private:
    core::Prompter& prompter_;
    QLineEdit* edit_ = nullptr;
    int minimum_ = 1;
    int maximum_ = 1;
    int current_ = 1;
};

}  // namespace torvane::editor
