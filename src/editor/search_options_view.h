#pragma once

#include <QWidget>

#include "editor/search_options.h"

class QCheckBox;
class QRadioButton;

namespace torvane::editor {

// The options and the direction of the find dialogs: "&Whole words", "&Case sensitive",
// "&Regular expressions" (and "&Prompt on Replace" in the replace dialog), "Forwar&d", "&Back".
class SearchOptionsView final : public QWidget {
    Q_OBJECT

public:
    SearchOptionsView(bool withPrompt, QWidget* parent = nullptr);

    SearchOptionBoxes Boxes() const;
    void SetBoxes(const SearchOptionBoxes& boxes);
    // The option bits of the boxes (without 0x08).
    int Options() const { return OptionsOfBoxes(Boxes()); }
    QCheckBox* PromptOnReplace() const { return prompt_; }

private:
    QCheckBox* wholeWords_ = nullptr;
    QCheckBox* caseSensitive_ = nullptr;
    QCheckBox* regularExpressions_ = nullptr;
    QCheckBox* prompt_ = nullptr;
    QRadioButton* forward_ = nullptr;
    QRadioButton* back_ = nullptr;
};

}  // namespace torvane::editor
