#pragma once

#include <QWidget>

#include "unrealpkg/export_progress.h"

class QLineEdit;
class QStatusBar;

namespace torvane::workspace {

// The export progress window: the package being exported, the current step, and the system's
// memory figures in the status bar. Shown while packages are exported, not modal.
class TExportPackage final : public QWidget, public unrealpkg::ExportProgress {
    Q_OBJECT

public:
    // Centred on centreOn (the main window) when shown.
    explicit TExportPackage(QWidget* centreOn);

    // ExportProgress
    void Start() override;
    void ShowPackage(std::string_view name) override;
    bool IsShown() const override;
    void ShowStatus(std::string_view text) override;
    void ShowMemory(std::string_view text) override;
    void Finish(int lingerMs) override;

    QLineEdit* Edit1() const { return package_; }
    QLineEdit* Edit2() const { return status_; }
    QStatusBar* StatusBar1() const { return statusBar_; }

private:
    QWidget* centreOn_;
    QLineEdit* package_ = nullptr;
    QLineEdit* status_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    int runs_ = 0;  // a late hide of an earlier run leaves a new one alone
};

}  // namespace torvane::workspace
