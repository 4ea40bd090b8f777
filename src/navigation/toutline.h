#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "intel/class_outline.h"

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace torvane::navigation {

// The outline of the active class: its functions, states and variables in a list that a filter
// line narrows. Enter or a double-click on a row jumps to its declaration and closes the window.
class TOutline final : public QDialog {
    Q_OBJECT

public:
    explicit TOutline(QWidget* parent = nullptr);

    // Shows the entries of a class (caption: the class's name), the filter empty and focused.
    void ShowOutline(const QString& caption, std::vector<intel::OutlineEntry> entries);
    // Called with the entry chosen.
    void SetJump(std::function<void(const intel::OutlineEntry&)> jump) { jump_ = std::move(jump); }

    QLineEdit* Filter() const { return filter_; }
    QTreeWidget* Entries() const { return list_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Refill();
    void Choose(QTreeWidgetItem* item);

    QLineEdit* filter_ = nullptr;
    QTreeWidget* list_ = nullptr;
    std::vector<intel::OutlineEntry> entries_;
    std::function<void(const intel::OutlineEntry&)> jump_;
};

}  // namespace torvane::navigation
