#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The class trees: nodes carrying a ClassEntry, with ordered children, expanded and selected
// state. A position is a node's index in a pre-order walk of the whole tree.
namespace torvane::workspace {

struct ClassEntry {
    std::string caption;
    std::string className;
    std::string parentName;
    std::string fileName;
    std::string package;
};

struct ClassNode {
    ClassEntry entry;
    std::vector<std::unique_ptr<ClassNode>> children;
    ClassNode* parent = nullptr;
    bool expanded = false;
    bool selected = false;
};

class ClassTree final {
public:
    ClassTree() = default;
    ClassTree(const ClassTree&) = delete;
    ClassTree& operator=(const ClassTree&) = delete;
    ClassTree(ClassTree&&) = default;
    ClassTree& operator=(ClassTree&&) = default;

    std::vector<std::unique_ptr<ClassNode>>& roots() { return roots_; }
    const std::vector<std::unique_ptr<ClassNode>>& roots() const { return roots_; }
    bool empty() const { return roots_.empty(); }
    void Clear() { roots_.clear(); }

    ClassNode& AddTopLevel(ClassEntry entry);
    ClassNode& AddChild(ClassNode& parent, ClassEntry entry);
    // Moves node (with its subtree) to be the last child of newParent.
    void MoveUnder(ClassNode& node, ClassNode& newParent);
    // Removes node with its subtree.
    void Remove(ClassNode& node);

    // Pre-order walk; the visitor returns false to stop.
    void Walk(const std::function<bool(ClassNode&)>& visit);
    void Walk(const std::function<bool(const ClassNode&)>& visit) const;
    std::size_t Count() const;

    ClassNode* NodeAt(int position);
    int PositionOf(const ClassNode& node) const;
    // First node whose caption equals name (any case) and, when a package is given, whose
    // Package equals it exactly; -1 when none or name is empty.
    int FindClass(std::string_view name, const std::string* package = nullptr) const;

    // Alphabetical by caption without regard to case, every level.
    void Sort();
    // The same for the children of one node.
    static void SortChildren(ClassNode& node);
    // Every node collapsed; then the first top-level node expanded one level.
    void CollapseAllExpandFirst();
    // A deep copy of node (entry and state) as the single top-level node.
    void SetSingleRootCopy(const ClassNode& node);

    std::vector<std::unique_ptr<ClassNode>>& SiblingsOf(ClassNode& node);

private:
    std::vector<std::unique_ptr<ClassNode>> roots_;
};

std::unique_ptr<ClassNode> CopySubtree(const ClassNode& node, ClassNode* parent);

}  // namespace torvane::workspace
