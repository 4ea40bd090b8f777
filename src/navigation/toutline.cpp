#include "navigation/toutline.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "widgets/text_codec.h"

namespace torvane::navigation {

using widgets::ToQString;

TOutline::TOutline(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TOutline"));
    setWindowTitle(QStringLiteral("Outline"));
    auto* layout = new QVBoxLayout(this);
    filter_ = new QLineEdit(this);
    filter_->setObjectName(QStringLiteral("Filter"));
    filter_->setPlaceholderText(QStringLiteral("Type to narrow the list"));
    filter_->installEventFilter(this);
    layout->addWidget(filter_);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("Entries"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("Declaration"), QStringLiteral("Line")});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    list_->header()->setStretchLastSection(false);
    layout->addWidget(list_, 1);
    resize(560, 480);
    connect(filter_, &QLineEdit::textChanged, this, [this] { Refill(); });
    connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { Choose(item); });
}

void TOutline::ShowOutline(const QString& caption, std::vector<intel::OutlineEntry> entries) {
    setWindowTitle(QStringLiteral("Outline - ") + caption);
    entries_ = std::move(entries);
    filter_->clear();
    Refill();
    show();
    raise();
    activateWindow();
    filter_->setFocus();
}

void TOutline::Refill() {
    list_->clear();
    const std::string filter = widgets::FromQString(filter_->text());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const intel::OutlineEntry& entry = entries_[i];
        if (!intel::OutlineEntryMatches(entry, filter)) continue;
        const QString indent = entry.depth ? QStringLiteral("      ") : QString();
        auto* item = new QTreeWidgetItem(list_, {indent + ToQString(entry.text), QString::number(entry.line)});
        item->setData(0, Qt::UserRole, static_cast<int>(i));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
}

void TOutline::Choose(QTreeWidgetItem* item) {
    if (!item) return;
    const int index = item->data(0, Qt::UserRole).toInt();
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) return;
    const intel::OutlineEntry entry = entries_[static_cast<std::size_t>(index)];
    hide();
    if (jump_) jump_(entry);
}

// The filter line passes Up, Down and Enter to the list, so that a user types, picks and jumps
// without leaving it.
bool TOutline::eventFilter(QObject* watched, QEvent* event) {
    if (watched == filter_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown: {
                QKeyEvent copy(key->type(), key->key(), key->modifiers());
                QCoreApplication::sendEvent(list_, &copy);
                return true;
            }
            case Qt::Key_Return:
            case Qt::Key_Enter: Choose(list_->currentItem()); return true;
            default: break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace torvane::navigation
