#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace torvane::workspace {

// "Select Package...": the package directories below the game root that the game's list lacks,
// each with a box to tick.
class TAddPackage final : public QDialog {
    Q_OBJECT

public:
    explicit TAddPackage(QWidget* parent = nullptr);

    // The names offered, none ticked.
    void Prepare(const std::vector<std::string>& names);
    // The ticked names, in list order.
    std::vector<std::string> CheckedNames() const;

    QListWidget* PkgList() const { return list_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    QListWidget* list_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace torvane::workspace
