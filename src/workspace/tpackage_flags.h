#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace torvane::workspace {

// "Package Flags for...": the flags of one compiled package, one box per flag; "Set" has them
// written, "Cancel" leaves the package alone.
class TPackageFlags final : public QDialog {
    Q_OBJECT

public:
    explicit TPackageFlags(QWidget* parent = nullptr);

    // The package's name and the boxes from its flags word.
    void Prepare(const std::string& package, std::uint32_t flags);
    // The flags word of the boxes (bits 0-4).
    std::uint32_t Flags() const;

    QLineEdit* Package() const { return package_; }
    // 0 "Allow Download", 1 "Client Optional", 2 "Server Side Only", 3 "Broken Links", 4 "Unsecure".
    QCheckBox* FlagBox(int bit) const { return boxes_.at(static_cast<std::size_t>(bit)); }
    QPushButton* SetButton() const { return set_; }
    QPushButton* CancelButton() const { return cancel_; }

private:
    QLineEdit* package_ = nullptr;
    std::array<QCheckBox*, 5> boxes_{};
    QPushButton* set_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace torvane::workspace
