#include "build/tcompile.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "widgets/text_codec.h"

namespace torvane::build {

using widgets::ToQString;

TCompile::TCompile(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TCompile"));
    setWindowTitle(QStringLiteral("Compiling..."));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    title_ = new QLabel(QStringLiteral("Compiling..."), this);
    title_->setAlignment(Qt::AlignCenter);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    layout->addWidget(title_);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Package:"), this));
    package_ = new QLabel(this);
    row->addWidget(package_, 1);
    layout->addLayout(row);
    status_ = new QLabel(this);
    status_->setAlignment(Qt::AlignCenter);
    status_->setFont(bold);
    layout->addWidget(status_);
    gauge_ = new QProgressBar(this);
    layout->addWidget(gauge_);
    auto* counts = new QHBoxLayout;
    warnings_ = new QLabel(QStringLiteral("0 Warnings"), this);
    warnings_->setAlignment(Qt::AlignCenter);
    errors_ = new QLabel(QStringLiteral("0 Errors"), this);
    errors_->setAlignment(Qt::AlignCenter);
    counts->addWidget(warnings_);
    counts->addWidget(errors_);
    layout->addLayout(counts);
    button_ = new QPushButton(QStringLiteral("Cancel"), this);
    button_->setDefault(true);
    connect(button_, &QPushButton::clicked, this, &TCompile::ButtonClicked);
    layout->addWidget(button_, 0, Qt::AlignCenter);
    startTimer_ = new QTimer(this);
    startTimer_->setSingleShot(true);
    startTimer_->setInterval(250);
    connect(startTimer_, &QTimer::timeout, this, [this] {
        running_ = true;
        if (runTool_) runTool_();
        running_ = false;
        if (closeWhenDone_) accept();
    });
    resize(360, 200);
}

void TCompile::Prepare(int packageCount, bool) {
    package_->clear();
    status_->clear();
    gauge_->setRange(0, std::max(packageCount, 1));
    gauge_->setValue(0);
    button_->setText(QStringLiteral("Cancel"));
    errors_->setText(QStringLiteral("0 Errors"));
    warnings_->setText(QStringLiteral("0 Warnings"));
    title_->setText(QStringLiteral("Compiling..."));
    title_->setStyleSheet(QStringLiteral("color: black;"));
    cancelRequested_ = false;
    closeWhenDone_ = false;
}

void TCompile::Show(const std::function<void()>& runTool) {
    runTool_ = runTool;
    startTimer_->start();
    exec();
    runTool_ = nullptr;
}

void TCompile::LineHandled(const CompilerOutput& output) {
    package_->setText(ToQString(output.packageName()));
    status_->setText(ToQString(output.status()));
    gauge_->setValue(std::min(output.gauge(), gauge_->maximum()));
    errors_->setText(QString::number(output.errorLines().size()) + QStringLiteral(" Errors"));
    warnings_->setText(QString::number(output.warningLines().size()) + QStringLiteral(" Warnings"));
}

void TCompile::ToolFinished(const CompilerOutput& output, bool closeNow) {
    LineHandled(output);
    button_->setText(QStringLiteral("OK"));
    status_->clear();
    gauge_->setValue(gauge_->maximum());
    if (output.errorLines().empty()) {
        title_->setText(QStringLiteral("Finished!"));
        title_->setStyleSheet(QStringLiteral("color: black;"));
    } else {
        title_->setText(QStringLiteral("Finished, but there were errors!"));
        title_->setStyleSheet(QStringLiteral("color: red;"));
        status_->setText(ToQString(output.FirstErrorMessage()));
    }
    closeWhenDone_ = closeWhenDone_ || closeNow;
}

void TCompile::ButtonClicked() {
    if (button_->text() == QLatin1String("Cancel")) {
        if (running_) cancelRequested_ = true;  // the tool is ended after its next line
        return;
    }
    accept();
}

void TCompile::closeEvent(QCloseEvent* event) {
    if (running_) {
        closeWhenDone_ = true;  // takes effect once the tool has ended
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TCompile::reject() {
    if (running_) {
        closeWhenDone_ = true;
        return;
    }
    QDialog::reject();
}

Trebuild::Trebuild(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Trebuild"));
    setWindowTitle(QStringLiteral("Torvane"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("The following packages are out of data and need to be rebuilt..."), this));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("BuildList"));
    layout->addWidget(list_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void Trebuild::SetPackages(const std::vector<std::string>& packages) {
    list_->clear();
    for (const auto& package : packages) list_->addItem(ToQString(package));
}

}  // namespace torvane::build
