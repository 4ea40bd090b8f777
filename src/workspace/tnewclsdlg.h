#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace torvane::workspace {

struct NewClassForm;

// "Create Sub-Class of ...": the parent (read-only), the new class's name and its package, chosen
// from the EditPackages list or typed.
class TNewClsDlg final : public QDialog {
    Q_OBJECT

public:
    explicit TNewClsDlg(QWidget* parent = nullptr);

    void Prepare(const NewClassForm& form);
    std::string ClassName() const;
    std::string PackageName() const;
    // Consulted on OK with the class name and the package; false keeps the dialog open.
    void SetValidator(std::function<bool(const std::string&, const std::string&)> validator) {
        validator_ = std::move(validator);
    }
    void accept() override;

    QLineEdit* ParentClass() const { return parentClass_; }
    QLineEdit* ChildName() const { return childName_; }
    QComboBox* Package() const { return package_; }
    QPushButton* OkButton() const { return ok_; }

private:
    std::function<bool(const std::string&, const std::string&)> validator_;
    QLineEdit* parentClass_ = nullptr;
    QLineEdit* childName_ = nullptr;
    QComboBox* package_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace torvane::workspace
