#pragma once

#include <QDialog>

class QComboBox;

namespace torvane::editor {
class TParserRepository;
}

namespace torvane::shell {

// "Editor Preferences...": choose a file kind, then edit its parser's colours and fonts or load
// the built-in defaults.
class TSelEditOptions final : public QDialog {
    Q_OBJECT

public:
    TSelEditOptions(editor::TParserRepository& parsers, QWidget* parent = nullptr);
    QComboBox* Kinds() const { return kinds_; }
    void EditClicked();
    void LoadDefaultsClicked();

private:
    editor::TParserRepository& parsers_;
    QComboBox* kinds_ = nullptr;
};

}  // namespace torvane::shell
