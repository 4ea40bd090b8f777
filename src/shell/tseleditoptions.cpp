#include "shell/tseleditoptions.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/editor_properties_dialog.h"
#include "editor/lexers.h"
#include "editor/tparser_repository.h"

namespace torvane::shell {

using editor::TParserRepository;

TSelEditOptions::TSelEditOptions(TParserRepository& parsers, QWidget* parent)
    : QDialog(parent, Qt::Tool), parsers_(parsers) {
    setObjectName(QStringLiteral("TSelEditOptions"));
    setWindowTitle(QStringLiteral("Editor Preferences"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Edit the preferences for which type of file..."), this));
    kinds_ = new QComboBox(this);
    kinds_->addItems({QStringLiteral("Unrealscript (.UC)"), QStringLiteral("Normal Text Files"),
                      QStringLiteral(".INI / .INT Files"), QStringLiteral("Unreal Log files")});
    kinds_->setEditable(false);
    kinds_->setCurrentIndex(0);
    layout->addWidget(kinds_);
    auto* buttons = new QHBoxLayout;
    auto* edit = new QPushButton(QStringLiteral("Edit"), this);
    auto* defaults = new QPushButton(QStringLiteral("Load Defaults"), this);
    buttons->addWidget(edit);
    buttons->addWidget(defaults);
    layout->addLayout(buttons);
    connect(edit, &QPushButton::clicked, this, &TSelEditOptions::EditClicked);
    connect(defaults, &QPushButton::clicked, this, &TSelEditOptions::LoadDefaultsClicked);
    setFocusProxy(kinds_);
}

// The list order: UnrealScript, plain text, INI, log.
void TSelEditOptions::EditClicked() {
    const auto which = static_cast<TParserRepository::Parser>(kinds_->currentIndex());
    editor::EditorPropertiesDialog dialog(*parsers_.parser(which), this);
    if (dialog.exec() == QDialog::Accepted) parsers_.SaveSettings(which);
    close();
}

void TSelEditOptions::LoadDefaultsClicked() {
    parsers_.LoadDefaults(static_cast<TParserRepository::Parser>(kinds_->currentIndex()));
}

}  // namespace torvane::shell
