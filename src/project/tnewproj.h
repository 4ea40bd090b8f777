#pragma once

#include <QDialog>
#include <functional>

#include "project/project.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QSpinBox;
class QTabWidget;

namespace torvane::project {

// The project settings dialog, in its new-project form ("New Project") and its settings form
// ("Project Settings").
class TNewProj final : public QDialog {
    Q_OBJECT

public:
    explicit TNewProj(QWidget* parent = nullptr);

    // Fills the dialog. editPackages fill IncludeList; in the new form every entry is ticked,
    // otherwise those in the project's IncludePacks.
    void Prepare(const Project& project, const std::vector<std::string>& editPackages, bool newForm);
    // The dialog's values as a project (IncludePacks from the ticked entries in list order).
    Project Values() const;
    // Consulted when the dialog is closed with Ok in the new form; false keeps it open.
    void SetValidator(std::function<bool(const std::string& name)> validator) { validator_ = std::move(validator); }

    void accept() override;

    QTabWidget* Pages() const { return pages_; }
    QLineEdit* pName() const { return name_; }
    QCheckBox* UserInclude() const { return userInclude_; }
    QListWidget* IncludeList() const { return includeList_; }
    QCheckBox* pDoPreBatch() const { return doPreBatch_; }
    QPlainTextEdit* pPreBatch() const { return preBatch_; }

private:
    bool newForm_ = true;
    std::function<bool(const std::string&)> validator_;
    QTabWidget* pages_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* testParams_ = nullptr;
    QCheckBox* useUCC_ = nullptr;
    QCheckBox* openLog_ = nullptr;
    QCheckBox* backupSrc_ = nullptr;
    QCheckBox* backupPkg_ = nullptr;
    QSpinBox* noRevisions_ = nullptr;
    QLineEdit* backupDir_ = nullptr;
    QCheckBox* userInclude_ = nullptr;
    QListWidget* includeList_ = nullptr;
    QCheckBox* doPreBatch_ = nullptr;
    QPlainTextEdit* preBatch_ = nullptr;
    QCheckBox* doPostBatch_ = nullptr;
    QPlainTextEdit* postBatch_ = nullptr;
};

// "Add to Project...": tick installed packages to import.
class TProjAdd final : public QDialog {
    Q_OBJECT

public:
    explicit TProjAdd(QWidget* parent = nullptr);
    void Prepare(const std::vector<std::string>& installed);
    std::vector<std::string> Ticked() const;
    QListWidget* PkgList() const { return list_; }
    QPushButton* AddButton() const { return add_; }

private:
    QListWidget* list_ = nullptr;
    QPushButton* add_ = nullptr;
};

}  // namespace torvane::project
