#pragma once

#include <QWidget>
#include <functional>
#include <string>

class QTreeWidget;
class QTreeWidgetItem;

namespace torvane::shell {
class CommandRegistry;
}

namespace torvane::workspace {

class DefaultProperties;
struct ClassLine;

// The default-properties window: a tool window above the main window with the categories and
// their properties ("Variable", "Value"). A double-click on a property opens its declaration,
// "Look Up Value" the line that sets it.
class TDefaultProps final : public QWidget {
    Q_OBJECT

public:
    TDefaultProps(shell::CommandRegistry& commands, QWidget* parent);

    // Empties the tree, shows properties (the whole tree expanded when autoExpand), captions the
    // window "Default Properties (" + className + ")" and shows it.
    void ShowProperties(const DefaultProperties& properties, const std::string& className, bool autoExpand);
    // What opening a declaration or a setting does (the class and line of the item).
    void SetOpener(std::function<void(const ClassLine&)> opener) { opener_ = std::move(opener); }

    // The declaration or the setting of a property item; nothing on a category.
    void OpenDeclaration(QTreeWidgetItem* item);
    void LookUpValue();

    QTreeWidget* DefPropTree() const { return tree_; }

private:
    void Open(QTreeWidgetItem* item, bool setting);

    QTreeWidget* tree_ = nullptr;
    std::function<void(const ClassLine&)> opener_;
    bool placed_ = false;
};

}  // namespace torvane::workspace
