#include "workspace/tree_cache.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>

#include "core/text.h"
#include "platform/file_ops.h"

namespace torvane::workspace {
namespace {

constexpr char kSignature[5] = {0x0D, 'T', 'N', 'T', 0x0D};
constexpr int kMaxDepth = 100000;

void PutInt(std::string& out, std::size_t at, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void AppendInt(std::string& out, std::int32_t value) {
    out.append(4, '\0');
    PutInt(out, out.size() - 4, value);
}

void PutShortString(std::string& out, std::size_t at, const std::string& text) {
    const std::size_t length = std::min<std::size_t>(text.size(), 255);
    out[at] = static_cast<char>(length);
    std::memcpy(out.data() + at + 1, text.data(), length);
}

// Appends the node's record, zero-filled before its fields are set.
void AppendNodeRecord(std::string& out, const ClassNode& node) {
    const std::size_t at = out.size();
    out.append(kNodeRecordSize, '\0');
    for (std::size_t field : {0u, 4u, 8u, 12u}) PutInt(out, at + field, -1);
    PutInt(out, at + 16, 1);
    out[at + 22] = 1;
    out[at + 23] = node.expanded ? 1 : 0;
    out[at + 24] = node.selected ? 1 : 0;
    PutInt(out, at + 32, static_cast<std::int32_t>(node.children.size()));
    out[at + 40] = 1;
    out[at + 41] = 1;
    PutShortString(out, at + 92, node.entry.caption);
    PutShortString(out, at + 348, node.entry.className);
    PutShortString(out, at + 604, node.entry.parentName);
    PutShortString(out, at + 860, node.entry.fileName);
    PutShortString(out, at + 1116, node.entry.package);
}

// A little-endian 32-bit value at offset (which must hold four bytes).
std::int32_t IntAt(std::string_view bytes, std::size_t offset) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    return static_cast<std::int32_t>(v);
}

// The bytes of a cache: in memory, or read from its file in pieces of 64 KB (the file is mostly
// the zero padding of its records, which need not be held whole).
class CacheReader {
public:
    explicit CacheReader(std::string_view bytes) : view_(bytes), remaining_(bytes.size()) {}
    explicit CacheReader(platform::FilePieceReader& file)
        : file_(&file), remaining_(static_cast<std::size_t>(file.Size())) {}

    std::int32_t Int() {
        Need(4);
        const std::int32_t value = IntAt(view_, 0);
        Skip(4);
        return value;
    }
    // The next n bytes, valid until the next read.
    std::string_view Take(std::size_t n) {
        Need(n);
        const std::string_view view = view_.substr(0, n);
        Skip(n);
        return view;
    }
    // Bytes not read yet (by the file's size when it was opened).
    std::size_t Remaining() const { return remaining_; }

private:
    void Need(std::size_t n) {
        if (remaining_ < n) throw TreeCacheError("The tree cache file is cut short");
        if (view_.size() < n && file_) Refill(n);
        if (view_.size() < n) throw TreeCacheError("The tree cache file is cut short");
    }
    void Skip(std::size_t n) {
        view_.remove_prefix(n);
        remaining_ -= n;
    }
    void Refill(std::size_t n) {
        constexpr std::size_t kPieceSize = 64 * 1024;
        const std::size_t kept = view_.size();
        if (buffer_.size() < std::max(kPieceSize, n)) buffer_.resize(std::max(kPieceSize, n));
        if (kept > 0) std::memmove(buffer_.data(), view_.data(), kept);  // an empty view may hold no pointer
        const std::size_t read = file_->Read(buffer_.data() + kept, buffer_.size() - kept);
        view_ = std::string_view(buffer_.data(), kept + read);
    }

    platform::FilePieceReader* file_ = nullptr;
    std::string buffer_;
    std::string_view view_;
    std::size_t remaining_ = 0;
};

std::string ShortString(std::string_view record, std::size_t at) {
    const auto length = static_cast<unsigned char>(record[at]);
    return std::string(record.substr(at + 1, length));
}

// Reads count node blocks into siblings (iteratively, so deep trees cannot exhaust the stack).
void ReadNodes(CacheReader& in, std::int32_t count, ClassTree& tree) {
    struct Frame {
        ClassNode* parent;
        std::int32_t remaining;
    };
    if (count < 0 || static_cast<std::size_t>(count) > in.Remaining() / (kNodeRecordSize + 4)) {
        throw TreeCacheError("The tree cache file holds an impossible node count");
    }
    std::vector<Frame> stack{{nullptr, count}};
    while (!stack.empty()) {
        if (stack.back().remaining == 0) {
            stack.pop_back();
            continue;
        }
        --stack.back().remaining;
        if (in.Int() != kNodeRecordSize) throw TreeCacheError("The tree cache file has a bad record");
        const std::string_view record = in.Take(kNodeRecordSize);
        ClassEntry entry{ShortString(record, 92), ShortString(record, 348), ShortString(record, 604),
                         ShortString(record, 860), ShortString(record, 1116)};
        ClassNode& node = stack.back().parent ? tree.AddChild(*stack.back().parent, std::move(entry))
                                              : tree.AddTopLevel(std::move(entry));
        node.expanded = record[23] != 0;
        node.selected = record[24] != 0;
        const std::int32_t children = IntAt(record, 32);
        if (children < 0 || static_cast<std::size_t>(children) > in.Remaining() / (kNodeRecordSize + 4)) {
            throw TreeCacheError("The tree cache file holds an impossible node count");
        }
        if (children > 0) {
            if (stack.size() > kMaxDepth) throw TreeCacheError("The tree cache file nests too deeply");
            stack.push_back({&node, children});
        }
    }
}

ClassTree FromPlainText(const std::string& bytes) {
    ClassTree tree;
    std::vector<std::pair<int, ClassNode*>> open;  // (depth, node)
    for (const std::string& line : core::SplitLines(bytes)) {
        int depth = 0;
        while (depth < static_cast<int>(line.size()) && (line[depth] == '\t' || line[depth] == ' ')) ++depth;
        const std::string caption = line.substr(static_cast<std::size_t>(depth));
        if (caption.empty()) continue;
        while (!open.empty() && open.back().first >= depth) open.pop_back();
        ClassEntry entry;
        entry.caption = caption;
        ClassNode& node = open.empty() ? tree.AddTopLevel(std::move(entry))
                                       : tree.AddChild(*open.back().second, std::move(entry));
        open.emplace_back(depth, &node);
    }
    return tree;
}

}  // namespace

void EncodeTreeCache(const ClassTree& tree, const std::function<void(std::string_view)>& write) {
    constexpr std::size_t kPieceSize = 64 * 1024;  // a small buffer, written and reused
    std::string piece(kSignature, sizeof kSignature);
    piece.reserve(kPieceSize + 4 + kNodeRecordSize);
    piece += '\0';
    AppendInt(piece, static_cast<std::int32_t>(tree.roots().size()));
    tree.Walk([&](const ClassNode& node) {
        AppendInt(piece, kNodeRecordSize);
        AppendNodeRecord(piece, node);
        if (piece.size() >= kPieceSize) {
            write(piece);
            piece.clear();
        }
        return true;
    });
    if (!piece.empty()) write(piece);
}

std::string TreeCacheBytes(const ClassTree& tree) {
    std::string out;
    EncodeTreeCache(tree, [&](std::string_view piece) { out += piece; });
    return out;
}

namespace {

// The tree of a cache after its signature: the check-box byte, the top-level count, the nodes.
ClassTree TreeAfterSignature(CacheReader& in) {
    in.Take(1);
    ClassTree tree;
    ReadNodes(in, in.Int(), tree);
    return tree;
}

}  // namespace

ClassTree TreeFromCacheBytes(const std::string& bytes) {
    if (bytes.size() < sizeof kSignature || std::memcmp(bytes.data(), kSignature, sizeof kSignature) != 0) {
        // The program never writes an empty cache, and text holds no zero bytes: such a file is
        // what an interrupted write left.
        if (bytes.empty() || bytes.find('\0') != std::string::npos) {
            throw TreeCacheError("The tree cache file is damaged");
        }
        return FromPlainText(bytes);
    }
    CacheReader in(bytes);
    in.Take(sizeof kSignature);
    return TreeAfterSignature(in);
}

void SaveTreeCache(const ClassTree& tree, const std::string& path) {
    // A cache is made again when it is lost, so its write does not wait for the disk; what a
    // system crash may leave (an empty or zero-filled file) reads as damaged and is rebuilt.
    platform::AtomicFileWriter file(path, /*flushToDisk=*/false);
    EncodeTreeCache(tree, [&](std::string_view piece) { file.Write(piece); });
    file.Commit();
}

ClassTree LoadTreeCache(const std::string& path) {
    platform::FilePieceReader file(path);
    CacheReader in(file);
    if (file.Size() < static_cast<std::int64_t>(sizeof kSignature) ||
        in.Take(sizeof kSignature) != std::string_view(kSignature, sizeof kSignature)) {
        return TreeFromCacheBytes(platform::ReadWholeFile(path));  // plain text, or damaged
    }
    return TreeAfterSignature(in);
}

}  // namespace torvane::workspace
