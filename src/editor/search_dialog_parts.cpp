#include "editor/search_dialog_parts.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "editor/search_options.h"
#include "widgets/text_codec.h"

namespace torvane::editor {

using widgets::FromQString;
using widgets::ToQString;

QComboBox* NewHistoryCombo(QWidget* parent, const char* objectName) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(objectName));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumWidth(260);
    return combo;
}

std::vector<std::string> ComboItems(const QComboBox& combo) {
    std::vector<std::string> items;
    for (int i = 0; i < combo.count(); ++i) items.push_back(FromQString(combo.itemText(i)));
    return items;
}

void SetComboItems(QComboBox& combo, const std::vector<std::string>& items) {
    const QString text = combo.currentText();
    combo.clear();
    for (const std::string& item : items) combo.addItem(ToQString(item));
    combo.setEditText(text);
}

void FillHistoryCombo(QComboBox& combo, std::vector<std::string> history, const QString& initialText) {
    if (!initialText.isEmpty()) AppendWhenMissing(history, FromQString(initialText));
    SetComboItems(combo, history);
    combo.setEditText(initialText);
}

void PutEditTextOnTop(QComboBox& combo) {
    if (combo.currentText().isEmpty()) return;
    std::vector<std::string> items = ComboItems(combo);
    PutOnTopWhenMissing(items, FromQString(combo.currentText()));
    SetComboItems(combo, items);
}

QPushButton* AddNamedButton(QDialogButtonBox& box, const char* caption, QDialogButtonBox::ButtonRole role,
                            const char* objectName) {
    QPushButton* button = box.addButton(QString::fromLatin1(caption), role);
    button->setObjectName(QString::fromLatin1(objectName));
    return button;
}

void KeepOnTopModeless(QDialog& dialog) {
    dialog.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    dialog.setModal(false);
}

void ShowInFront(QDialog& dialog, QComboBox& focus) {
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    focus.setFocus();
    focus.lineEdit()->selectAll();
}

}  // namespace torvane::editor
