#pragma once

#include <QDialog>
#include <functional>

#include "build/compile_pipeline.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;

namespace torvane::build {

// The compile progress dialog: package, latest status line, gauge, warning and error counts.
class TCompile final : public QDialog, public CompileMonitor {
    Q_OBJECT

public:
    explicit TCompile(QWidget* parent = nullptr);

    void Prepare(int packageCount, bool autoClose) override;
    void Show(const std::function<void()>& runTool) override;
    void LineHandled(const CompilerOutput& output) override;
    void ToolFinished(const CompilerOutput& output, bool closeNow) override;
    bool CancelRequested() override { return cancelRequested_; }

    QLabel* CurrentTitle() const { return title_; }
    QLabel* PkgName() const { return package_; }
    QLabel* Status() const { return status_; }
    QProgressBar* AllPkg() const { return gauge_; }
    QLabel* UCWarnings() const { return warnings_; }
    QLabel* UCErrors() const { return errors_; }
    QPushButton* Button1() const { return button_; }
    bool Running() const { return running_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void ButtonClicked();

    std::function<void()> runTool_;
    bool running_ = false;
    bool cancelRequested_ = false;
    bool closeWhenDone_ = false;
    QLabel* title_ = nullptr;
    QLabel* package_ = nullptr;
    QLabel* status_ = nullptr;
    QProgressBar* gauge_ = nullptr;
    QLabel* warnings_ = nullptr;
    QLabel* errors_ = nullptr;
    QPushButton* button_ = nullptr;
    QTimer* startTimer_ = nullptr;
};

// "The following packages are out of data and need to be rebuilt...": OK or Cancel.
class Trebuild final : public QDialog {
    Q_OBJECT

public:
    explicit Trebuild(QWidget* parent = nullptr);
    void SetPackages(const std::vector<std::string>& packages);
    QListWidget* BuildList() const { return list_; }

private:
    QListWidget* list_ = nullptr;
};

}  // namespace torvane::build
