#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTreeWidget>
#include <memory>

namespace torvane::testing {

// A drag of a tree's current item dropped on an item of the same tree (nullptr: on the empty space
// below the last item), as the view receives it: enter, move and drop on its viewport.
inline void DropCurrentItemOn(QTreeWidget* tree, QTreeWidgetItem* target) {
    if (target) tree->scrollToItem(target);  // its parents expanded
    QTreeWidgetItem* dragged = tree->currentItem();
    std::unique_ptr<QMimeData> data(tree->model()->mimeData({tree->indexFromItem(dragged)}));
    const QPoint at = target ? tree->visualItemRect(target).center() : QPoint(5, tree->viewport()->height() - 2);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &move);
    EXPECT_TRUE(move.isAccepted());
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &drop);
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);  // never a move, which would take the item away
}

}  // namespace torvane::testing
