#include "shell/tconfig_ext_tools.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "shell/command_boundary.h"
#include "shell/settings_file.h"
#include "shell/tadd_edit_tool.h"
#include "widgets/text_codec.h"

namespace torvane::shell {

using widgets::FromQString;
using widgets::ToQString;

TConfigExtTools::TConfigExtTools(core::Prompter& prompter, TAddEditTool& addEdit, QWidget* parent)
    : QDialog(parent, Qt::Tool), prompter_(prompter), addEdit_(addEdit) {
    setObjectName(QStringLiteral("TConfigExtTools"));
    setWindowTitle(QStringLiteral("Configure External Tools..."));
    setModal(true);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("ToolList"));
    list_->setHeaderLabels({QStringLiteral("Description"), QStringLiteral("Execute")});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->header()->setStretchLastSection(false);
    list_->installEventFilter(this);
    layout->addWidget(list_);

    // The list's context menu.
    add_ = new QAction(QStringLiteral("Add New Tool"), list_);
    edit_ = new QAction(QStringLiteral("Edit Tool"), list_);
    remove_ = new QAction(QStringLiteral("Remove Tool"), list_);
    list_->addActions({add_, edit_, remove_});
    list_->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(add_, &QAction::triggered, this, Guarded(prompter_, [this] { AddNewTool(); }));
    connect(edit_, &QAction::triggered, this, Guarded(prompter_, [this] { EditTool(); }));
    connect(remove_, &QAction::triggered, this, Guarded(prompter_, [this] { RemoveTool(); }));
    connect(list_, &QTreeWidget::itemDoubleClicked, this, Guarded(prompter_, [this] { EditTool(); }));
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &TConfigExtTools::UpdateActions);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Right-Click for Add/Edit/Remove options"), this), 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    row->addWidget(buttons);
    layout->addLayout(row);
    connect(buttons, &QDialogButtonBox::accepted, this, &TConfigExtTools::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TConfigExtTools::reject);

    resize(520, 300);
    UpdateActions();
}

void TConfigExtTools::LoadTools(const SettingsFile& settings) {
    settingsPath_ = settings.path();
    list_->clear();
    for (const ExternalTool& tool : ReadExternalTools(settings)) AddRow(tool);
    UpdateActions();
}

std::vector<ExternalTool> TConfigExtTools::Rows() const {
    std::vector<ExternalTool> rows;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list_->topLevelItem(i);
        rows.push_back({FromQString(item->text(0)), FromQString(item->text(1))});
    }
    return rows;
}

void TConfigExtTools::accept() {
    const bool saved = RunGuarded(prompter_, [this] { SaveExternalTools(settingsPath_, Rows()); });
    if (!saved) return;
    if (saved_) saved_();
    QDialog::accept();
}

void TConfigExtTools::showEvent(QShowEvent* event) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

bool TConfigExtTools::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::Resize) SizeColumns();
    return QDialog::eventFilter(watched, event);
}

void TConfigExtTools::SizeColumns() {
    const ToolColumnWidths widths = ToolColumnWidthsFor(list_->width());
    list_->setColumnWidth(0, widths.description);
    list_->setColumnWidth(1, widths.commandLine);
}

void TConfigExtTools::AddNewTool() {
    QString description = QStringLiteral("<Enter Description>");
    QString commandLine = QStringLiteral("<Enter Filepath + CommandLine>");
    if (!addEdit_.Edit(description, commandLine)) return;
    AddRow({FromQString(description), FromQString(commandLine)});
    UpdateActions();
}

void TConfigExtTools::EditTool() {
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.size() != 1) return;
    QTreeWidgetItem* item = selected.front();
    QString description = item->text(0);
    QString commandLine = item->text(1);
    if (!addEdit_.Edit(description, commandLine)) return;
    item->setText(0, description);
    item->setText(1, commandLine);
}

void TConfigExtTools::RemoveTool() {
    for (QTreeWidgetItem* item : list_->selectedItems()) delete item;
    UpdateActions();
}

void TConfigExtTools::AddRow(const ExternalTool& tool) {
    new QTreeWidgetItem(list_, {ToQString(tool.description), ToQString(tool.commandLine)});
}

void TConfigExtTools::UpdateActions() {
    const qsizetype selected = list_->selectedItems().size();
    edit_->setEnabled(selected == 1);
    remove_->setEnabled(selected > 0);
}

}  // namespace torvane::shell
