#include "import/tsound_import.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "platform/sound_player.h"
#include "shell/command_boundary.h"
#include "widgets/text_codec.h"
#include "widgets/window_placement.h"

namespace torvane::imports {

using widgets::FromQString;
using widgets::ToQString;

TSoundImport::TSoundImport(core::Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter), play_(platform::PlayWaveAsync) {
    setObjectName(QStringLiteral("TSoundImport"));
    setWindowTitle(QStringLiteral("Sound Import"));
    setWindowFlag(Qt::Tool);
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral(".WAV"), this), 0, 0);
    edit1_ = new QLineEdit(this);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    edit1_->setMinimumWidth(280);
    grid->addWidget(edit1_, 0, 1);
    browse_ = new QPushButton(QStringLiteral("..."), this);
    browse_->setToolTip(QStringLiteral("Choose a WAV file"));
    browse_->setAutoDefault(false);
    browse_->setMaximumWidth(40);
    grid->addWidget(browse_, 0, 2);
    playButton_ = new QPushButton(style()->standardIcon(QStyle::SP_MediaPlay), QString(), this);
    playButton_->setToolTip(QStringLiteral("Play the sound"));
    playButton_->setAutoDefault(false);
    grid->addWidget(playButton_, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Name:"), this), 1, 0);
    edit2_ = new QLineEdit(this);
    edit2_->setObjectName(QStringLiteral("Edit2"));
    grid->addWidget(edit2_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Group"), this), 2, 0);
    edit3_ = new QLineEdit(this);
    edit3_->setObjectName(QStringLiteral("Edit3"));
    grid->addWidget(edit3_, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    import_ = new QPushButton(QStringLiteral("&Import"), this);
    import_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setAutoDefault(false);
    buttons->addWidget(import_);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 3, 0, 1, 4);

    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(browse_, &QPushButton::clicked, this, shell::Guarded(prompter_, [this] { BrowseClicked(); }));
    connect(playButton_, &QPushButton::clicked, this, shell::Guarded(prompter_, [this] { PlayClicked(); }));
    connect(import_, &QPushButton::clicked, this, shell::Guarded(prompter_, [this] { ImportClicked(); }));
    connect(edit1_, &QLineEdit::textChanged, this, [this] { FileChanged(); });
    FileChanged();
}

void TSoundImport::Prepare(const std::string& gameRoot, const std::string& package, ImportHost host) {
    gameRoot_ = gameRoot;
    package_ = package;
    host_ = std::move(host);
    edit1_->clear();
    edit2_->clear();
    edit3_->clear();
    FileChanged();
}

// Play and Import act on an existing ".WAV" file only; until one is named they are disabled.
void TSoundImport::FileChanged() {
    const bool wave = IsWaveFile(FromQString(edit1_->text()));
    playButton_->setEnabled(wave);
    import_->setEnabled(wave);
    const QString why = wave ? QString() : QStringLiteral("Name an existing .WAV file first.");
    import_->setToolTip(why);
}

void TSoundImport::BrowseClicked() {
    std::optional<std::string> chosen;
    if (chooseFile_) {
        chosen = chooseFile_(gameRoot_);
    } else {
        QFileDialog dialog(this, QStringLiteral("Open"), ToQString(gameRoot_),
                           QStringLiteral("All WAV Files (*.wav *.WAV);;All Files (*)"));
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(QStringLiteral("WAV"));
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
            chosen = FromQString(dialog.selectedFiles().first());
        }
    }
    if (!chosen || chosen->empty()) return;
    edit1_->setText(ToQString(*chosen));
    if (edit2_->text().isEmpty()) edit2_->setText(ToQString(SoundNameOfFile(*chosen)));
}

void TSoundImport::PlayClicked() {
    const std::string file = FromQString(edit1_->text());
    if (!IsWaveFile(file)) return;
    if (!play_(file)) prompter_.Information("No program to play sounds was found (paplay, pw-play or aplay).");
}

void TSoundImport::ImportClicked() {
    SoundImportRequest request;
    request.gameRoot = gameRoot_;
    request.package = package_;
    request.file = FromQString(edit1_->text());
    request.name = FromQString(edit2_->text());
    request.group = FromQString(edit3_->text());
    if (ImportSound(request, host_) == ImportOutcome::Close) accept();
}

void TSoundImport::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    widgets::CentreOnScreen(*this);
}

}  // namespace torvane::imports
