#include "workspace/tdefault_props.h"

#include <QAction>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "shell/command_ids.h"
#include "shell/command_registry.h"
#include "widgets/text_codec.h"
#include "workspace/default_properties.h"

namespace torvane::workspace {

using widgets::FromQString;
using widgets::ToQString;

namespace {

// A property item keeps where it is declared and set.
enum Role {
    kDeclaringClass = Qt::UserRole + 1,
    kDeclaringPackage,
    kDeclaringLine,
    kSettingClass,
    kSettingPackage,
    kSettingLine,
};

void Keep(QTreeWidgetItem* item, const ClassLine& line, int classRole) {
    item->setData(0, classRole, ToQString(line.className));
    item->setData(0, classRole + 1, ToQString(line.package));
    item->setData(0, classRole + 2, line.line);
}

ClassLine Kept(const QTreeWidgetItem* item, int classRole) {
    return {FromQString(item->data(0, classRole).toString()), FromQString(item->data(0, classRole + 1).toString()),
            item->data(0, classRole + 2).toInt()};
}

}  // namespace

TDefaultProps::TDefaultProps(shell::CommandRegistry& commands, QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName(QStringLiteral("TDefaultProps"));
    setWindowTitle(QStringLiteral("Properties"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("DefPropTree"));
    tree_->setHeaderLabels({QStringLiteral("Variable"), QStringLiteral("Value")});
    tree_->header()->setStretchLastSection(true);  // "Value" takes what "Variable" leaves
    tree_->setColumnWidth(0, 160);
    tree_->setSortingEnabled(false);  // the model's order: character codes
    tree_->setContextMenuPolicy(Qt::ActionsContextMenu);
    layout->addWidget(tree_);
    resize(420, 480);

    using namespace shell::cmd;
    commands.Register(kPropertiesExpandAll, "Expand All", "Expand every category");
    commands.Register(kPropertiesContractAll, "Contract All", "Collapse every category");
    commands.Register(kPropertiesLookUpValue, "Look Up Value", "Open the line that sets the selected property's value");
    commands.Connect(kPropertiesExpandAll, this, [this] { tree_->expandAll(); });
    commands.Connect(kPropertiesContractAll, this, [this] { tree_->collapseAll(); });
    commands.Connect(kPropertiesLookUpValue, this, [this] { LookUpValue(); });
    auto* separator = new QAction(tree_);
    separator->setSeparator(true);
    tree_->addActions({commands.Command(kPropertiesExpandAll), commands.Command(kPropertiesContractAll), separator,
                       commands.Command(kPropertiesLookUpValue)});
    connect(tree_, &QTreeWidget::itemDoubleClicked, this,
            shell::Guarded(commands.Prompter(), [this] { OpenDeclaration(tree_->currentItem()); }));
}

void TDefaultProps::ShowProperties(const DefaultProperties& properties, const std::string& className,
                                   bool autoExpand) {
    tree_->setUpdatesEnabled(false);
    tree_->clear();
    const QBrush categoryText = palette().color(QPalette::HighlightedText);
    const QBrush categoryBack = palette().color(QPalette::Dark);
    for (const DefaultPropertyItem& item : properties.items()) {
        auto* top = new QTreeWidgetItem(tree_, {ToQString(item.caption)});
        std::vector<std::pair<QTreeWidgetItem*, const DefaultPropertyItem*>> rows{{top, &item}};
        for (const DefaultPropertyItem& child : item.children) {
            rows.emplace_back(new QTreeWidgetItem(top, {ToQString(child.caption)}), &child);
        }
        for (auto [row, source] : rows) {
            if (source->category) {
                for (int column = 0; column < 2; ++column) {
                    row->setForeground(column, categoryText);
                    row->setBackground(column, categoryBack);
                }
                continue;
            }
            row->setText(1, ToQString(source->value));
            Keep(row, source->declaration, kDeclaringClass);
            Keep(row, source->setting, kSettingClass);
            row->setToolTip(0, ToQString("Declared in " + source->declaration.className + ", line " +
                                         std::to_string(source->declaration.line) + "; set in " +
                                         source->setting.className + ", line " +
                                         std::to_string(source->setting.line)));
        }
    }
    if (autoExpand) tree_->expandAll();
    // The names whole, unless they would crowd out the values. Measured against the window, which
    // has its size also before it is first shown (the tree gets its own only then).
    tree_->resizeColumnToContents(0);
    tree_->setColumnWidth(0, std::min(tree_->columnWidth(0) + 12, width() * 3 / 5));
    tree_->setUpdatesEnabled(true);
    setWindowTitle(ToQString("Default Properties (" + className + ")"));
    if (!placed_ && parentWidget()) {
        // The first time beside the main window's right edge, inside it, where the editors are.
        const QRect frame = parentWidget()->geometry();
        move(std::max(frame.left(), frame.right() - width() - 24), frame.top() + 80);
        placed_ = true;
    }
    show();
    raise();
}

void TDefaultProps::Open(QTreeWidgetItem* item, bool setting) {
    if (!item || !opener_ || item->data(0, kDeclaringLine).isNull()) return;  // a category
    opener_(Kept(item, setting ? kSettingClass : kDeclaringClass));
}

void TDefaultProps::OpenDeclaration(QTreeWidgetItem* item) { Open(item, false); }

void TDefaultProps::LookUpValue() { Open(tree_->currentItem(), true); }

}  // namespace torvane::workspace
