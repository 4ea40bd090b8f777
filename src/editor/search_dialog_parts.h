#pragma once

#include <QDialogButtonBox>
#include <QString>
#include <string>
#include <vector>

class QComboBox;
class QDialog;
class QPushButton;
class QWidget;

// The pieces the find, replace and find-in-files dialogs share: drop-down edits that keep a
// history, their buttons, and showing a modeless dialog over the main window.
namespace torvane::editor {

// An editable drop-down whose list only changes when the program changes it.
QComboBox* NewHistoryCombo(QWidget* parent, const char* objectName);

// The items of a history drop-down, newest first, and the same put back (the edit keeps its text).
std::vector<std::string> ComboItems(const QComboBox& combo);
void SetComboItems(QComboBox& combo, const std::vector<std::string>& items);

// On showing: the history as the list, the initial text appended when it is not in it, and the
// initial text in the edit.
void FillHistoryCombo(QComboBox& combo, std::vector<std::string> history, const QString& initialText);

// After a search: the edit's text goes to the top of the list when it is not in it. An empty
// text (a replacement by nothing) is not kept: in the history file an empty line ends the list.
void PutEditTextOnTop(QComboBox& combo);

// A push button of the box, named for the tests and the look-ups.
QPushButton* AddNamedButton(QDialogButtonBox& box, const char* caption, QDialogButtonBox::ButtonRole role,
                            const char* objectName);

// A find dialog's window: modeless, above the main window, a title and a close button only.
void KeepOnTopModeless(QDialog& dialog);

// Shows a modeless dialog in front, the focus in the drop-down with its text selected.
void ShowInFront(QDialog& dialog, QComboBox& focus);

}  // namespace torvane::editor
