#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "shell/preferences.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace torvane::core {
class Prompter;
}

namespace torvane::shell {

class SettingsFile;

// The preferences dialog: its controls are the live preference values other windows read.
class TPrefs final : public QDialog {
    Q_OBJECT

public:
    using FolderChooser = std::function<std::optional<QString>()>;

    TPrefs(core::Prompter& prompter, QWidget* parent = nullptr);

    void LoadPreferences(const SettingsFile& settings, const std::string& templatePath);
    void SavePreferences(SettingsFile& settings, const std::string& templatePath) const;
    // The dialog's values as they stand.
    Preferences Current() const;
    void Apply(const Preferences& preferences);

    // An information box unless "Limit Popup message boxes" is checked.
    void ShowInfoMessage(const std::string& text);

    // Replaces the folder browser of the browse button (tests).
    void SetFolderChooser(FolderChooser chooser) { chooseFolder_ = std::move(chooser); }
    // What the association button runs (the program path is given by the caller).
    void SetAssociateAction(std::function<void()> action) { associate_ = std::move(action); }

    QLineEdit* UTPath() const { return utPath_; }
    QCheckBox* LimitPopups() const { return limitPopups_; }
    QLineEdit* TokenNameEdit() const { return tokenName_; }
    QLineEdit* TokenValueEdit() const { return tokenValue_; }
    QTreeWidget* TokenList() const { return tokenList_; }
    QPushButton* AddUpdateButton() const { return addUpdate_; }
    QPushButton* ClearButton() const { return clear_; }
    QPlainTextEdit* HeaderTemplate() const { return headerTemplate_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildGeneralPage();
    QWidget* BuildNewClassPage();
    QWidget* BuildTokensPage();
    void AddOrUpdateClicked();
    void ClearClicked();
    void RowClicked();
    std::vector<Token> Tokens() const;
    void ShowTokens(const std::vector<Token>& tokens);

    core::Prompter& prompter_;
    FolderChooser chooseFolder_;
    std::function<void()> associate_;
    QLineEdit* utPath_ = nullptr;
    QCheckBox* autoSave_ = nullptr;
    QCheckBox* minimizeOnRun_ = nullptr;
    QCheckBox* limitPopups_ = nullptr;
    QCheckBox* autoLoadProject_ = nullptr;
    QCheckBox* autoCloseCompile_ = nullptr;
    QCheckBox* autoExpand_ = nullptr;
    QPlainTextEdit* headerTemplate_ = nullptr;
    QLineEdit* tokenName_ = nullptr;
    QLineEdit* tokenValue_ = nullptr;
    QTreeWidget* tokenList_ = nullptr;
    QPushButton* addUpdate_ = nullptr;
    QPushButton* clear_ = nullptr;
};

}  // namespace torvane::shell
