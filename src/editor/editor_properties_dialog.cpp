#include "editor/editor_properties_dialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/lexers.h"

namespace torvane::editor {

EditorPropertiesDialog::EditorPropertiesDialog(TorvaneLexer& lexer, QWidget* parent)
    : QDialog(parent), lexer_(lexer) {
    setWindowTitle(QStringLiteral("Editor Properties - ") + QString::fromLatin1(lexer.language()));
    auto* layout = new QVBoxLayout(this);
    styles_ = new QListWidget(this);
    for (int style = 0; style <= 8 && style < 32; ++style) {
        const QString name = lexer.description(style);
        if (name.isEmpty()) continue;
        auto* item = new QListWidgetItem(name, styles_);
        item->setData(Qt::UserRole, style);
    }
    styles_->setCurrentRow(0);
    layout->addWidget(styles_, 1);
    auto* row = new QHBoxLayout;
    auto* colour = new QPushButton(QStringLiteral("Colour..."), this);
    auto* font = new QPushButton(QStringLiteral("Font..."), this);
    row->addWidget(colour);
    row->addWidget(font);
    row->addStretch(1);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(colour, &QPushButton::clicked, this, [this] {
        const int style = styles_->currentItem()->data(Qt::UserRole).toInt();
        const QColor chosen = QColorDialog::getColor(lexer_.color(style), this);
        if (chosen.isValid()) SetColour(chosen);
    });
    connect(font, &QPushButton::clicked, this, [this] {
        const int style = styles_->currentItem()->data(Qt::UserRole).toInt();
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, lexer_.font(style), this);
        if (ok) SetFont(chosen);
    });
    connect(styles_, &QListWidget::currentRowChanged, this, &EditorPropertiesDialog::ShowSample);
    ShowSample();
}

void EditorPropertiesDialog::SetColour(const QColor& colour) {
    lexer_.setColor(colour, styles_->currentItem()->data(Qt::UserRole).toInt());
    ShowSample();
}

void EditorPropertiesDialog::SetFont(const QFont& font) {
    lexer_.setFont(font, styles_->currentItem()->data(Qt::UserRole).toInt());
    ShowSample();
}

void EditorPropertiesDialog::ShowSample() {
    for (int i = 0; i < styles_->count(); ++i) {
        QListWidgetItem* item = styles_->item(i);
        const int style = item->data(Qt::UserRole).toInt();
        item->setForeground(lexer_.color(style));
        item->setFont(lexer_.font(style));
    }
}

}  // namespace torvane::editor
