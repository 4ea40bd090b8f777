#include "workspace/class_tree_view.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>

namespace torvane::workspace {

ClassTreeView::ClassTreeView(QWidget* parent) : QTreeWidget(parent) {
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);  // a move would take the item out of the tree
    setDropIndicatorShown(true);
}

QStringList ClassTreeView::mimeTypes() const { return {QString::fromLatin1(kMimeType)}; }

QMimeData* ClassTreeView::mimeData(const QList<QTreeWidgetItem*>& items) const {
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(kMimeType), items.isEmpty() ? QByteArray() : items.first()->text(0).toUtf8());
    return data;
}

Qt::DropActions ClassTreeView::supportedDropActions() const { return Qt::CopyAction; }

void ClassTreeView::dragEnterEvent(QDragEnterEvent* event) {
    if (!event->mimeData()->hasFormat(QString::fromLatin1(kMimeType))) {
        event->ignore();
        return;
    }
    QTreeWidget::dragEnterEvent(event);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void ClassTreeView::dragMoveEvent(QDragMoveEvent* event) {
    if (!event->mimeData()->hasFormat(QString::fromLatin1(kMimeType))) {
        event->ignore();
        return;
    }
    QTreeWidget::dragMoveEvent(event);  // scrolling and the drop indicator
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void ClassTreeView::dropEvent(QDropEvent* event) {
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    if (!event->mimeData()->hasFormat(QString::fromLatin1(kMimeType))) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit ClassDropped(itemAt(event->position().toPoint()));
}

}  // namespace torvane::workspace
