#include "widgets/drop_target_tree.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

namespace torvane::widgets {

DropTargetTree::DropTargetTree(QString mimeType, QWidget* parent)
    : QTreeWidget(parent), mimeType_(std::move(mimeType)) {
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);  // a move would take the item out of the tree
    setDropIndicatorShown(true);
}

QStringList DropTargetTree::mimeTypes() const { return {mimeType_}; }

QMimeData* DropTargetTree::mimeData(const QList<QTreeWidgetItem*>& items) const {
    auto* data = new QMimeData;
    data->setData(mimeType_, items.isEmpty() ? QByteArray() : items.first()->text(0).toUtf8());
    return data;
}

Qt::DropActions DropTargetTree::supportedDropActions() const { return Qt::CopyAction; }

void DropTargetTree::dragEnterEvent(QDragEnterEvent* event) {
    if (!event->mimeData()->hasFormat(mimeType_)) {
        event->ignore();
        return;
    }
    QTreeWidget::dragEnterEvent(event);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DropTargetTree::dragMoveEvent(QDragMoveEvent* event) {
    if (!event->mimeData()->hasFormat(mimeType_)) {
        event->ignore();
        return;
    }
    QTreeWidget::dragMoveEvent(event);  // scrolling and the drop indicator
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DropTargetTree::dropEvent(QDropEvent* event) {
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    if (!event->mimeData()->hasFormat(mimeType_)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit ItemDropped(itemAt(event->position().toPoint()));
}

}  // namespace torvane::widgets
