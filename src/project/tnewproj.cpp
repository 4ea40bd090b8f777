#include "project/tnewproj.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/text.h"
#include "widgets/text_codec.h"

namespace torvane::project {

using widgets::FromQString;
using widgets::ToQString;

namespace {

QPlainTextEdit* ScriptEdit(QWidget* parent) {
    auto* edit = new QPlainTextEdit(parent);
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return edit;
}

std::vector<std::string> Lines(const QPlainTextEdit* edit) {
    if (edit->toPlainText().isEmpty()) return {};
    return core::SplitLines(FromQString(edit->toPlainText()));
}

QString Text(const std::vector<std::string>& lines) {
    QStringList list;
    for (const auto& line : lines) list << ToQString(line);
    return list.join(QLatin1Char('\n'));
}

}  // namespace

TNewProj::TNewProj(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TNewProj"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);

    auto* general = new QWidget;
    auto* g = new QVBoxLayout(general);
    // The "&" of a caption marks the key (Alt+N, Alt+P) that moves to the box below it.
    auto* nameLabel = new QLabel(QStringLiteral("Project &Name..."), general);
    g->addWidget(nameLabel);
    name_ = new QLineEdit(general);
    name_->setObjectName(QStringLiteral("pName"));
    nameLabel->setBuddy(name_);
    g->addWidget(name_);
    auto* paramsLabel = new QLabel(QStringLiteral("Test &Parameters..."), general);
    g->addWidget(paramsLabel);
    testParams_ = new QLineEdit(general);
    testParams_->setObjectName(QStringLiteral("pTestParams"));
    paramsLabel->setBuddy(testParams_);
    g->addWidget(testParams_);
    useUCC_ = new QCheckBox(QStringLiteral("Use UCC.EXE"), general);
    openLog_ = new QCheckBox(QStringLiteral("Open Log on Exit"), general);
    g->addWidget(useUCC_);
    g->addWidget(openLog_);
    auto* options = new QGroupBox(QStringLiteral(" [Options] "), general);
    auto* o = new QVBoxLayout(options);
    backupSrc_ = new QCheckBox(QStringLiteral("Backup UC Source Files"), options);
    backupPkg_ = new QCheckBox(QStringLiteral("Backup Compiled .U Packages"), options);
    o->addWidget(backupSrc_);
    o->addWidget(backupPkg_);
    auto* revisions = new QHBoxLayout;
    revisions->addWidget(new QLabel(QStringLiteral("Max No. Revisions:"), options));
    noRevisions_ = new QSpinBox(options);
    noRevisions_->setRange(1, 1);
    revisions->addWidget(noRevisions_);
    revisions->addStretch(1);
    o->addLayout(revisions);
    o->addWidget(new QLabel(QStringLiteral("Package Backup Directory..."), options));
    auto* dirRow = new QHBoxLayout;
    backupDir_ = new QLineEdit(options);
    backupDir_->setObjectName(QStringLiteral("pBackupDir"));
    auto* browse = new QPushButton(QStringLiteral("..."), options);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("Package Backup Directory"),
                                                                 backupDir_->text());
        if (!folder.isEmpty()) backupDir_->setText(folder);
    });
    dirRow->addWidget(backupDir_, 1);
    dirRow->addWidget(browse);
    o->addLayout(dirRow);
    g->addWidget(options);
    g->addStretch(1);
    pages_->addTab(general, QStringLiteral("General"));

    auto* ucc = new QWidget;
    auto* u = new QVBoxLayout(ucc);
    userInclude_ = new QCheckBox(QStringLiteral("Include only selected packages when compiling"), ucc);
    userInclude_->setObjectName(QStringLiteral("UserInclude"));
    includeList_ = new QListWidget(ucc);
    includeList_->setObjectName(QStringLiteral("IncludeList"));
    connect(userInclude_, &QCheckBox::toggled, includeList_, &QWidget::setEnabled);
    u->addWidget(userInclude_);
    u->addWidget(includeList_, 1);
    pages_->addTab(ucc, QStringLiteral("UCC"));

    auto* pre = new QWidget;
    auto* pr = new QVBoxLayout(pre);
    doPreBatch_ = new QCheckBox(QStringLiteral("Execute these commands before you begin compiling"), pre);
    preBatch_ = ScriptEdit(pre);
    connect(doPreBatch_, &QCheckBox::toggled, preBatch_, &QWidget::setEnabled);
    pr->addWidget(doPreBatch_);
    pr->addWidget(preBatch_, 1);
    pages_->addTab(pre, QStringLiteral("Pre-Compile Setup"));

    auto* post = new QWidget;
    auto* po = new QVBoxLayout(post);
    postBatch_ = ScriptEdit(post);
    doPostBatch_ = new QCheckBox(QStringLiteral("Execute these commands after a sucessfull compile"), post);
    connect(doPostBatch_, &QCheckBox::toggled, postBatch_, &QWidget::setEnabled);
    po->addWidget(postBatch_, 1);
    po->addWidget(doPostBatch_);
    pages_->addTab(post, QStringLiteral("Post-Compile Setup"));

    layout->addWidget(pages_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &TNewProj::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(480, 420);
}

void TNewProj::Prepare(const Project& p, const std::vector<std::string>& editPackages, bool newForm) {
    newForm_ = newForm;
    setWindowTitle(newForm ? QStringLiteral("New Project") : QStringLiteral("Project Settings"));
    pages_->setCurrentIndex(0);
    name_->setText(ToQString(p.name));
    name_->setReadOnly(!newForm);
    name_->setBackgroundRole(newForm ? QPalette::Base : QPalette::Button);
    name_->setAutoFillBackground(!newForm);
    testParams_->setText(ToQString(p.testParams));
    useUCC_->setChecked(p.useUCC);
    openLog_->setChecked(p.openLog);
    backupSrc_->setChecked(p.backupSrc);
    backupPkg_->setChecked(p.backupPkg);
    noRevisions_->setValue(p.noRevisions);
    backupDir_->setText(ToQString(p.backupDir));
    userInclude_->setChecked(p.userInclude);
    includeList_->clear();
    for (const std::string& package : editPackages) {
        auto* item = new QListWidgetItem(ToQString(package), includeList_);
        bool ticked = newForm;
        for (const std::string& included : p.includePacks) {
            ticked = ticked || core::EqualsIgnoringCase(included, package);
        }
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
    includeList_->setEnabled(p.userInclude);
    doPreBatch_->setChecked(p.doPreBatch);
    preBatch_->setPlainText(Text(p.preBatch));
    preBatch_->setEnabled(p.doPreBatch);
    doPostBatch_->setChecked(p.doPostBatch);
    postBatch_->setPlainText(Text(p.postBatch));
    postBatch_->setEnabled(p.doPostBatch);
}

Project TNewProj::Values() const {
    Project p;
    p.name = FromQString(name_->text());
    p.testParams = FromQString(testParams_->text());
    p.useUCC = useUCC_->isChecked();
    p.openLog = openLog_->isChecked();
    p.backupSrc = backupSrc_->isChecked();
    p.backupPkg = backupPkg_->isChecked();
    p.noRevisions = noRevisions_->value();
    p.backupDir = FromQString(backupDir_->text());
    p.userInclude = userInclude_->isChecked();
    for (int i = 0; i < includeList_->count(); ++i) {
        if (includeList_->item(i)->checkState() == Qt::Checked) {
            p.includePacks.push_back(FromQString(includeList_->item(i)->text()));
        }
    }
    p.doPreBatch = doPreBatch_->isChecked();
    p.preBatch = Lines(preBatch_);
    p.doPostBatch = doPostBatch_->isChecked();
    p.postBatch = Lines(postBatch_);
    return p;
}

void TNewProj::accept() {
    if (newForm_ && validator_ && !validator_(FromQString(name_->text()))) return;
    QDialog::accept();
}

TProjAdd::TProjAdd(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TProjAdd"));
    setWindowTitle(QStringLiteral("Add to Project..."));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("The following packages are installed..."), this));
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("PkgList"));
    layout->addWidget(list_, 1);
    auto* buttons = new QDialogButtonBox(this);
    add_ = buttons->addButton(QStringLiteral("&Add"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemClicked, this, [this] { add_->setEnabled(true); });
    layout->addWidget(buttons);
}

void TProjAdd::Prepare(const std::vector<std::string>& installed) {
    list_->clear();
    for (const std::string& name : installed) {
        auto* item = new QListWidgetItem(ToQString(name), list_);
        item->setCheckState(Qt::Unchecked);
    }
    add_->setEnabled(false);
}

std::vector<std::string> TProjAdd::Ticked() const {
    std::vector<std::string> names;
    for (int i = 0; i < list_->count(); ++i) {
        if (list_->item(i)->checkState() == Qt::Checked) names.push_back(FromQString(list_->item(i)->text()));
    }
    return names;
}

}  // namespace torvane::project
