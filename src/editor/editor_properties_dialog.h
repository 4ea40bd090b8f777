#pragma once

#include <QDialog>

class QListWidget;

namespace torvane::editor {

class TorvaneLexer;

// The editor control's properties for one parser: colour and font of every token kind.
class EditorPropertiesDialog final : public QDialog {
    Q_OBJECT

public:
    EditorPropertiesDialog(TorvaneLexer& lexer, QWidget* parent = nullptr);
    QListWidget* Styles() const { return styles_; }
    // Sets the colour / font of the selected kind (the buttons ask the user for them).
    void SetColour(const QColor& colour);
    void SetFont(const QFont& font);

private:
    void ShowSample();

    TorvaneLexer& lexer_;
    QListWidget* styles_ = nullptr;
};

}  // namespace torvane::editor
