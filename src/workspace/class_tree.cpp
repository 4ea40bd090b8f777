#include "workspace/class_tree.h"

#include <algorithm>

#include "core/text.h"

namespace torvane::workspace {
namespace {

bool WalkNodes(std::vector<std::unique_ptr<ClassNode>>& nodes,
               const std::function<bool(ClassNode&)>& visit) {
    // Iterative pre-order walk: deep trees must not exhaust the stack.
    std::vector<std::pair<std::vector<std::unique_ptr<ClassNode>>*, std::size_t>> stack{{&nodes, 0}};
    while (!stack.empty()) {
        auto& [list, index] = stack.back();
        if (index >= list->size()) {
            stack.pop_back();
            continue;
        }
        ClassNode& node = *(*list)[index++];
        if (!visit(node)) return false;
        if (!node.children.empty()) stack.emplace_back(&node.children, 0);
    }
    return true;
}

bool CaptionLess(const std::unique_ptr<ClassNode>& a, const std::unique_ptr<ClassNode>& b) {
    const std::string& x = a->entry.caption;
    const std::string& y = b->entry.caption;
    const std::size_t n = std::min(x.size(), y.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto cx = static_cast<unsigned char>(core::FoldCase(x[i]));
        const auto cy = static_cast<unsigned char>(core::FoldCase(y[i]));
        if (cx != cy) return cx < cy;
    }
    return x.size() < y.size();
}

}  // namespace

ClassNode& ClassTree::AddTopLevel(ClassEntry entry) {
    auto node = std::make_unique<ClassNode>();
    node->entry = std::move(entry);
    roots_.push_back(std::move(node));
    return *roots_.back();
}

ClassNode& ClassTree::AddChild(ClassNode& parent, ClassEntry entry) {
    auto node = std::make_unique<ClassNode>();
    node->entry = std::move(entry);
    node->parent = &parent;
    parent.children.push_back(std::move(node));
    return *parent.children.back();
}

std::vector<std::unique_ptr<ClassNode>>& ClassTree::SiblingsOf(ClassNode& node) {
    return node.parent ? node.parent->children : roots_;
}

void ClassTree::MoveUnder(ClassNode& node, ClassNode& newParent) {
    auto& siblings = SiblingsOf(node);
    auto it = std::find_if(siblings.begin(), siblings.end(),
                           [&](const auto& p) { return p.get() == &node; });
    if (it == siblings.end()) return;
    std::unique_ptr<ClassNode> owned = std::move(*it);
    siblings.erase(it);
    owned->parent = &newParent;
    newParent.children.push_back(std::move(owned));
}

void ClassTree::Remove(ClassNode& node) {
    auto& siblings = SiblingsOf(node);
    std::erase_if(siblings, [&](const auto& p) { return p.get() == &node; });
}

void ClassTree::Walk(const std::function<bool(ClassNode&)>& visit) { WalkNodes(roots_, visit); }

void ClassTree::Walk(const std::function<bool(const ClassNode&)>& visit) const {
    WalkNodes(const_cast<std::vector<std::unique_ptr<ClassNode>>&>(roots_),
              [&](ClassNode& node) { return visit(node); });
}

std::size_t ClassTree::Count() const {
    std::size_t count = 0;
    Walk([&](const ClassNode&) {
        ++count;
        return true;
    });
    return count;
}

ClassNode* ClassTree::NodeAt(int position) {
    if (position < 0) return nullptr;
    ClassNode* found = nullptr;
    int index = 0;
    Walk([&](ClassNode& node) {
        if (index++ == position) {
            found = &node;
            return false;
        }
        return true;
    });
    return found;
}

int ClassTree::PositionOf(const ClassNode& target) const {
    int index = 0;
    int found = -1;
    Walk([&](const ClassNode& node) {
        if (&node == &target) {
            found = index;
            return false;
        }
        ++index;
        return true;
    });
    return found;
}

int ClassTree::FindClass(std::string_view name, const std::string* package) const {
    if (name.empty()) return -1;
    int index = 0;
    int found = -1;
    Walk([&](const ClassNode& node) {
        if (core::EqualsIgnoringCase(node.entry.caption, name) &&
            (!package || node.entry.package == *package)) {
            found = index;
            return false;
        }
        ++index;
        return true;
    });
    return found;
}

void ClassTree::Sort() {
    std::stable_sort(roots_.begin(), roots_.end(), CaptionLess);
    Walk([](ClassNode& node) {
        std::stable_sort(node.children.begin(), node.children.end(), CaptionLess);
        return true;
    });
}

void ClassTree::SortChildren(ClassNode& node) {
    std::stable_sort(node.children.begin(), node.children.end(), CaptionLess);
}

void ClassTree::CollapseAllExpandFirst() {
    Walk([](ClassNode& node) {
        node.expanded = false;
        return true;
    });
    if (!roots_.empty()) roots_.front()->expanded = true;
}

std::unique_ptr<ClassNode> CopySubtree(const ClassNode& node, ClassNode* parent) {
    auto copy = std::make_unique<ClassNode>();
    copy->entry = node.entry;
    copy->expanded = node.expanded;
    copy->selected = node.selected;
    copy->parent = parent;
    // Iterative copy of the children, level by level.
    std::vector<std::pair<const ClassNode*, ClassNode*>> pending{{&node, copy.get()}};
    while (!pending.empty()) {
        auto [from, to] = pending.back();
        pending.pop_back();
        for (const auto& child : from->children) {
            auto c = std::make_unique<ClassNode>();
            c->entry = child->entry;
            c->expanded = child->expanded;
            c->selected = child->selected;
            c->parent = to;
            to->children.push_back(std::move(c));
            pending.emplace_back(child.get(), to->children.back().get());
        }
    }
    return copy;
}

void ClassTree::SetSingleRootCopy(const ClassNode& node) {
    roots_.clear();
    roots_.push_back(CopySubtree(node, nullptr));
}

}  // namespace torvane::workspace
