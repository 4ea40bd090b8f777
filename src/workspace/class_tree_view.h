#pragma once

#include <QTreeWidget>

namespace torvane::workspace {

// The object tree's view: a class can be dragged onto another class. The drop only reports where
// it landed; the view itself never moves an item.
class ClassTreeView final : public QTreeWidget {
    Q_OBJECT

public:
    // What a dragged class carries.
    static constexpr char kMimeType[] = "application/x-torvane-class";

    explicit ClassTreeView(QWidget* parent = nullptr);

signals:
    // A class of this tree was dropped on target (nullptr: on no item).
    void ClassDropped(QTreeWidgetItem* target);

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QTreeWidgetItem*>& items) const override;
    Qt::DropActions supportedDropActions() const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};

}  // namespace torvane::workspace
