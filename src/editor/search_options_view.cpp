#include "editor/search_options_view.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace torvane::editor {

SearchOptionsView::SearchOptionsView(bool withPrompt, QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    auto* options = new QGroupBox(QStringLiteral("Options"), this);
    auto* optionColumn = new QVBoxLayout(options);
    wholeWords_ = new QCheckBox(QStringLiteral("&Whole words"), options);
    caseSensitive_ = new QCheckBox(QStringLiteral("&Case sensitive"), options);
    regularExpressions_ = new QCheckBox(QStringLiteral("&Regular expressions"), options);
    wholeWords_->setObjectName(QStringLiteral("WholeWords"));
    caseSensitive_->setObjectName(QStringLiteral("CaseSensitive"));
    regularExpressions_->setObjectName(QStringLiteral("RegularExpressions"));
    regularExpressions_->setToolTip(
        QStringLiteral("ECMAScript syntax; in the replacement \\0 to \\9 stand for the match and its groups"));
    for (QCheckBox* box : {wholeWords_, caseSensitive_, regularExpressions_}) optionColumn->addWidget(box);
    if (withPrompt) {
        prompt_ = new QCheckBox(QStringLiteral("&Prompt on Replace"), options);
        prompt_->setObjectName(QStringLiteral("PromptOnReplace"));
        optionColumn->addWidget(prompt_);
    }
    optionColumn->addStretch(1);
    row->addWidget(options);

    auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
    auto* directionColumn = new QVBoxLayout(direction);
    forward_ = new QRadioButton(QStringLiteral("Forwar&d"), direction);
    back_ = new QRadioButton(QStringLiteral("&Back"), direction);
    forward_->setObjectName(QStringLiteral("Forward"));
    back_->setObjectName(QStringLiteral("Back"));
    forward_->setChecked(true);
    directionColumn->addWidget(forward_);
    directionColumn->addWidget(back_);
    directionColumn->addStretch(1);
    row->addWidget(direction);
}

SearchOptionBoxes SearchOptionsView::Boxes() const {
    SearchOptionBoxes boxes;
    boxes.wholeWords = wholeWords_->isChecked();
    boxes.caseSensitive = caseSensitive_->isChecked();
    boxes.regularExpression = regularExpressions_->isChecked();
    boxes.backwards = back_->isChecked();
    return boxes;
}

void SearchOptionsView::SetBoxes(const SearchOptionBoxes& boxes) {
    wholeWords_->setChecked(boxes.wholeWords);
    caseSensitive_->setChecked(boxes.caseSensitive);
    regularExpressions_->setChecked(boxes.regularExpression);
    (boxes.backwards ? back_ : forward_)->setChecked(true);
}

}  // namespace torvane::editor
