#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace torvane::workspace {
class ClassTree;
struct ClassNode;
}

// The default properties of a class, gathered from its source and the sources of its ancestors:
// the variables declared with a category, each with its default value, where it is declared and
// which class last sets it. Read from the sources' text; no compiled package is needed.
namespace torvane::workspace {

// A class and a line of its source (lines count from 1).
struct ClassLine {
    std::string className;
    std::string package;
    int line = 0;
};

// A category (top level, no values) or a property (below its category) of the window.
struct DefaultPropertyItem {
    std::string caption;
    bool category = false;
    std::string value;      // properties: the default value shown in "Value"
    ClassLine declaration;  // properties: the class that declares the variable, and the line
    ClassLine setting;      // properties: the class whose defaults last set the value, and the line
    std::vector<DefaultPropertyItem> children;
};

// A class of a chain: its source file and its names.
struct ChainClass {
    std::string fileName;
    std::string className;
    std::string package;
};

// The default-properties tree as the window shows it.
class DefaultProperties final {
public:
    const std::vector<DefaultPropertyItem>& items() const { return items_; }
    void Clear() { items_.clear(); }

    // Adds one class's declarations and defaults from its source text (see the .cpp for the
    // rules); childless top-level items are removed and every level is sorted by character code.
    void LoadText(std::string_view text, const ChainClass& source);
    // The same, reading the class's file; throws platform::FileError when it cannot be read.
    void LoadFile(const ChainClass& source);

    // Every property in tree order with its category.
    struct Row {
        const DefaultPropertyItem* category;
        const DefaultPropertyItem* property;
    };
    std::vector<Row> Rows() const;

private:
    void AddDeclaration(std::string_view line, int lineNumber, const ChainClass& source);
    void SetDefault(std::string_view line, int lineNumber, const ChainClass& source);
    DefaultPropertyItem& CategoryItem(const std::string& name);

    std::vector<DefaultPropertyItem> items_;
};

// Rules of the source lines, exposed for tests.
// A declaration line: its upper-cased text contains "VAR" and its fourth character is a blank or "(".
bool IsDeclarationLine(std::string_view line);
// The line that opens the defaults: "defaultproperties" (any case) as its first word, so that a
// comment naming the block does not open it.
bool IsDefaultPropertiesLine(std::string_view line);
// The default of a variable by its declared type ("0", "0.0", "False", "(X=0,Y=0,Z=0)", ...).
std::string TypeDefault(std::string_view declarationLine);
// The names a declaration body declares, in the order found (last first): "int A,B,C;" gives
// C, B, A. The body is normalised first.
std::vector<std::string> DeclaredNames(std::string_view body);

// The chain of a class: the class node and its ancestors in the object tree, root first.
std::vector<ChainClass> ClassChain(const ClassNode& node);

// Empties properties and loads every class of the chain, root first.
void LoadClassChain(DefaultProperties& properties, const std::vector<ChainClass>& chain);

// One line per property: category, name, value, declaring class:line, setting class:line,
// separated by tabs.
std::string FormatDefaultPropertyRow(const DefaultProperties::Row& row);

}  // namespace torvane::workspace
