#include "shell/tprefs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/interaction.h"
#include "core/text.h"
#include "shell/command_boundary.h"
#include "platform/game_install_locator.h"
#include "shell/settings_file.h"
#include "widgets/folder_browser.h"
#include "widgets/text_codec.h"

namespace torvane::shell {

using widgets::FromQString;
using widgets::ToQString;

TPrefs::TPrefs(core::Prompter& prompter, QWidget* parent) : QDialog(parent), prompter_(prompter) {
    setObjectName(QStringLiteral("TPrefs"));
    setWindowTitle(QStringLiteral("Preferences"));
    setModal(true);
    chooseFolder_ = [this]() -> std::optional<QString> {
        const QString folder = widgets::BrowseForFolder(
            this, QStringLiteral("Unreal Tournament..."), utPath_->text(),
            [](const QString& f) { return platform::HasSystemDirectory(FromQString(f)); });
        if (folder.isEmpty()) return std::nullopt;
        return folder;
    };
    auto* layout = new QVBoxLayout(this);
    auto* pages = new QTabWidget(this);
    pages->addTab(BuildGeneralPage(), QStringLiteral("General"));
    pages->addTab(BuildNewClassPage(), QStringLiteral("New Class"));
    pages->addTab(BuildTokensPage(), QStringLiteral("Tokens"));
    layout->addWidget(pages);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* associate = buttons->addButton(QStringLiteral("Associate Torvane with the extension .UC"),
                                         QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(associate, &QPushButton::clicked, this, Guarded(prompter_, [this] {
        if (associate_) associate_();
    }));
    layout->addWidget(buttons);
    resize(520, 420);
}

QWidget* TPrefs::BuildGeneralPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("Path to Unreal Tournament"), page));
    auto* pathRow = new QHBoxLayout;
    utPath_ = new QLineEdit(page);
    utPath_->setObjectName(QStringLiteral("UTPath"));
    pathRow->addWidget(utPath_, 1);
    auto* browse = new QPushButton(QStringLiteral("..."), page);
    connect(browse, &QPushButton::clicked, this, [this] {
        if (const auto folder = chooseFolder_()) utPath_->setText(*folder);
    });
    pathRow->addWidget(browse);
    layout->addLayout(pathRow);
    auto* group = new QGroupBox(QStringLiteral(" Settings "), page);
    auto* checks = new QVBoxLayout(group);
    auto add = [&](QCheckBox*& box, const char* name, const char* caption) {
        box = new QCheckBox(QString::fromLatin1(caption), group);
        box->setObjectName(QString::fromLatin1(name));
        checks->addWidget(box);
    };
    add(autoSave_, "AutoSave", "Auto-Save workspace and project");
    add(minimizeOnRun_, "MinimizeOnRun", "Minimize Editor when running UT");
    add(limitPopups_, "LimitPopups", "Limit Popup message boxes");
    add(autoLoadProject_, "AutoLoadProject", "Auto Load Last Opened Project");
    add(autoCloseCompile_, "AutoCloseCompile", "Auto Close Compile Window on Successful Compile");
    add(autoExpand_, "AutoExpand", "Auto-Expand Properties List");
    layout->addWidget(group);
    layout->addStretch(1);
    return page;
}

QWidget* TPrefs::BuildNewClassPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("New Class header template..."), page));
    headerTemplate_ = new QPlainTextEdit(page);
    headerTemplate_->setObjectName(QStringLiteral("HeaderTemplate"));
    headerTemplate_->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(headerTemplate_, 1);
    layout->addWidget(new QLabel(QStringLiteral("Available Variables:"), page));
    layout->addWidget(new QLabel(QStringLiteral("<@CLASS> is replaced with the class name"), page));
    layout->addWidget(new QLabel(
        QStringLiteral("<@PARENT> is replaced with the name of a classes parent"), page));
    layout->addWidget(new QLabel(
        QStringLiteral("<@PACK> is replaced with the package a class is created in to"), page));
    return page;
}

QWidget* TPrefs::BuildTokensPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* edits = new QHBoxLayout;
    tokenName_ = new QLineEdit(page);
    tokenName_->setPlaceholderText(QStringLiteral("Token"));
    connect(tokenName_, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int cursor = tokenName_->cursorPosition();
        tokenName_->setText(text.toUpper());
        tokenName_->setCursorPosition(cursor);
    });
    tokenValue_ = new QLineEdit(page);
    tokenValue_->setPlaceholderText(QStringLiteral("Value"));
    // Enter adds the token and goes no further: it must not press the dialog's OK.
    tokenValue_->installEventFilter(this);
    edits->addWidget(tokenName_);
    edits->addWidget(tokenValue_, 1);
    layout->addLayout(edits);
    tokenList_ = new QTreeWidget(page);
    tokenList_->setColumnCount(2);
    tokenList_->setHeaderLabels({QStringLiteral("Token"), QStringLiteral("Value")});
    tokenList_->setRootIsDecorated(false);
    connect(tokenList_, &QTreeWidget::itemClicked, this, &TPrefs::RowClicked);
    layout->addWidget(tokenList_, 1);
    auto* buttons = new QHBoxLayout;
    addUpdate_ = new QPushButton(QStringLiteral("&Add / Update"), page);
    addUpdate_->setAutoDefault(false);
    auto* remove = new QPushButton(QStringLiteral("&Remove"), page);
    remove->setAutoDefault(false);
    clear_ = new QPushButton(QStringLiteral("&Clear"), page);
    clear_->setAutoDefault(false);
    connect(addUpdate_, &QPushButton::clicked, this, &TPrefs::AddOrUpdateClicked);
    connect(remove, &QPushButton::clicked, this, [this] { delete tokenList_->currentItem(); });
    connect(clear_, &QPushButton::clicked, this, &TPrefs::ClearClicked);
    buttons->addWidget(addUpdate_);
    buttons->addWidget(remove);
    buttons->addWidget(clear_);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    auto* note = new QLabel(QStringLiteral(
        "All tokens are defined as %TOKEN% when using them in scripts.  Do not include the %'s here!"),
        page);
    note->setWordWrap(true);
    layout->addWidget(note);
    return page;
}

std::vector<Token> TPrefs::Tokens() const {
    std::vector<Token> tokens;
    for (int i = 0; i < tokenList_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = tokenList_->topLevelItem(i);
        tokens.push_back({FromQString(row->text(0)), FromQString(row->text(1))});
    }
    return tokens;
}

void TPrefs::ShowTokens(const std::vector<Token>& tokens) {
    tokenList_->clear();
    for (const auto& token : tokens) {
        new QTreeWidgetItem(tokenList_, {ToQString(token.name), ToQString(token.value)});
    }
}

void TPrefs::AddOrUpdateClicked() {
    std::vector<Token> tokens = Tokens();
    const std::size_t before = tokens.size();
    AddOrUpdateToken(tokens, FromQString(tokenName_->text()), FromQString(tokenValue_->text()));
    ShowTokens(tokens);
    if (tokens.size() > before) tokenName_->setFocus();
}

bool TPrefs::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tokenValue_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            AddOrUpdateClicked();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TPrefs::ClearClicked() {
    if (prompter_.Confirm("Clear the tokens... are you sure", core::Buttons::YesNo) ==
        core::Answer::Yes) {
        tokenList_->clear();
    }
}

void TPrefs::RowClicked() {
    if (const QTreeWidgetItem* row = tokenList_->currentItem()) {
        tokenName_->setText(row->text(0));
        tokenValue_->setText(row->text(1));
    }
}

Preferences TPrefs::Current() const {
    Preferences p;
    p.utPath = FromQString(utPath_->text());
    p.autoSave = autoSave_->isChecked();
    p.minimizeOnRun = minimizeOnRun_->isChecked();
    p.limitPopups = limitPopups_->isChecked();
    p.autoLoadProject = autoLoadProject_->isChecked();
    p.autoCloseCompile = autoCloseCompile_->isChecked();
    p.autoExpand = autoExpand_->isChecked();
    p.tokens = Tokens();
    p.headerTemplate = core::SplitLines(FromQString(headerTemplate_->toPlainText()));
    return p;
}

void TPrefs::Apply(const Preferences& p) {
    utPath_->setText(ToQString(p.utPath));
    autoSave_->setChecked(p.autoSave);
    minimizeOnRun_->setChecked(p.minimizeOnRun);
    limitPopups_->setChecked(p.limitPopups);
    autoLoadProject_->setChecked(p.autoLoadProject);
    autoCloseCompile_->setChecked(p.autoCloseCompile);
    autoExpand_->setChecked(p.autoExpand);
    tokenName_->clear();
    tokenValue_->clear();
    ShowTokens(p.tokens);
    std::string text;
    for (std::size_t i = 0; i < p.headerTemplate.size(); ++i) {
        if (i > 0) text += "\n";
        text += p.headerTemplate[i];
    }
    headerTemplate_->setPlainText(ToQString(text));
}

void TPrefs::LoadPreferences(const SettingsFile& settings, const std::string& templatePath) {
    Apply(shell::LoadPreferences(settings, templatePath));
}

void TPrefs::SavePreferences(SettingsFile& settings, const std::string& templatePath) const {
    shell::SavePreferences(Current(), settings, templatePath);
}

void TPrefs::ShowInfoMessage(const std::string& text) {
    if (!limitPopups_->isChecked()) prompter_.Information(text);
}

}  // namespace torvane::shell
