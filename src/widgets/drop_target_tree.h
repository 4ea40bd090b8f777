#pragma once

#include <QTreeWidget>

namespace torvane::widgets {

// A tree whose items can be dragged onto its own items: a drop only reports where it landed, and
// the view itself never moves an item. Drags carry the tree's own data type, so that a drag from
// another widget is refused.
class DropTargetTree final : public QTreeWidget {
    Q_OBJECT

public:
    // mimeType: what a drag of this tree carries (the first dragged item's caption).
    explicit DropTargetTree(QString mimeType, QWidget* parent = nullptr);

    const QString& MimeType() const { return mimeType_; }

signals:
    // An item of this tree was dropped on target (nullptr: below the last item).
    void ItemDropped(QTreeWidgetItem* target);

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    Qt::DropActions supportedDropActions() const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QString mimeType_;
};

}  // namespace torvane::widgets
