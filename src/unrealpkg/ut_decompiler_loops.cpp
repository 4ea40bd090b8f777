// Arranging statement records into blocks: if/else, switch, foreach, and the loops the
// compiler turns into jumps:
//   while (C) B          head: if-not C jump END; B; jump head; END
//   for (I; C; S) B      I; head: if-not C jump END; B; S; jump head; END
//   do B until (C)       head: B; if-not C jump head
// A jump to a loop's end is a break, a jump to where the next round starts a continue; any
// other jump stays a goto with its label.
#include <algorithm>
#include <set>

#include "unrealpkg/ut_decompiler_session.h"

namespace torvane::unrealpkg {
namespace {

constexpr int kJump = 0x06;
constexpr int kJumpIfNot = 0x07;
constexpr int kSwitch = 0x05;
constexpr int kCase = 0x0A;
constexpr int kIterator = 0x2F;
constexpr int kIteratorNext = 0x31;
constexpr std::uint16_t kDefaultCase = 0xFFFF;

struct Line {
    std::int32_t position = -1;  // start of the statement the line prints; -1 for braces
    int indent = 0;
    std::string text;
};

struct Frame {
    bool loop = false;            // loops and foreach take continue; switches only break
    std::int32_t breakTarget = -1;
    std::int32_t continueTarget = -1;
    std::int32_t backJump = -1;   // a while loop's jump back, which continue may also reach
    bool foreach = false;         // continue is IteratorNext and a jump to the end
    bool Continues(std::int32_t target) const {
        return loop && (continueTarget == target || backJump == target);
    }
};

class Structurer {
public:
    Structurer(const std::vector<StatementRecord>& statements,
               const std::vector<std::pair<std::int32_t, std::string>>& labels, std::int32_t scriptSize)
        : s_(statements), labels_(labels), end_(statements.empty() ? scriptSize : statements.back().end) {}

    std::vector<Line> Build() {
        Range(0, static_cast<int>(s_.size()), 0, -1);
        return std::move(lines_);
    }
    const std::set<std::int32_t>& GotoTargets() const { return gotoTargets_; }

private:
    std::int32_t PositionAt(int index) const {
        return index < static_cast<int>(s_.size()) ? s_[static_cast<std::size_t>(index)].start : end_;
    }
    // The record that starts at position, or the record count for the end; -1 when none does.
    int IndexAt(std::int32_t position) const {
        if (position == end_) return static_cast<int>(s_.size());
        const auto it = std::lower_bound(s_.begin(), s_.end(), position,
                                         [](const StatementRecord& r, std::int32_t p) { return r.start < p; });
        return it != s_.end() && it->start == position ? static_cast<int>(it - s_.begin()) : -1;
    }
    const StatementRecord& At(int index) const { return s_[static_cast<std::size_t>(index)]; }

    void Emit(std::int32_t position, int indent, std::string text) {
        lines_.push_back({position, indent, std::move(text)});
    }
    void Open(int indent) { Emit(-1, indent, "{"); }
    void Close(int indent) { Emit(-1, indent, "}"); }

    // "break" or "continue" when a jump to target leaves or restarts the enclosing block.
    std::string JumpWord(std::int32_t target) const {
        for (auto frame = frames_.rbegin(); frame != frames_.rend(); ++frame) {
            if (frame->breakTarget == target) return "break";
            if (frame->Continues(target)) return "continue";
            if (!frame->loop) {
                // A switch takes break for itself; continue still reaches the loop around it.
                for (auto outer = frame + 1; outer != frames_.rend(); ++outer) {
                    if (outer->loop) return outer->Continues(target) ? "continue" : "";
                }
                return {};
            }
            return {};
        }
        return {};
    }

    // A jump at index that follows an IteratorNext and leads to the end of the foreach around:
    // together they are the foreach's continue (the next round, or out when there is none).
    bool IsForeachContinue(int index) const {
        if (index < 1 || At(index).token != kJump || At(index - 1).token != kIteratorNext) return false;
        for (auto frame = frames_.rbegin(); frame != frames_.rend(); ++frame) {
            if (frame->loop) return frame->foreach && frame->breakTarget == At(index).target;
        }
        return false;
    }

    const std::string* LabelAt(std::int32_t position) const {
        for (const auto& [at, name] : labels_) {
            if (at == position) return &name;
        }
        return nullptr;
    }

    std::string GotoOrWord(std::int32_t target) {
        if (const std::string* label = LabelAt(target)) return "goto " + *label;
        const std::string word = JumpWord(target);
        if (!word.empty()) return word;
        gotoTargets_.insert(target);
        return "goto " + JumpLabel(target);
    }

    // The last conditional jump in (from, to) back to the statement at from: a do-until loop.
    int DoLoopEnd(int from, int to) const {
        for (int m = to - 1; m > from; --m) {
            const StatementRecord& r = At(m);
            if (r.token == kJumpIfNot && r.target == At(from).start) return m;
        }
        return -1;
    }

    // A while or for head at index: its end (the index after the jump back), else -1.
    int LoopEnd(int index, int to) const {
        const StatementRecord& head = At(index);
        if (head.token != kJumpIfNot || head.target <= head.start) return -1;
        const int end = IndexAt(head.target);
        if (end < 0 || end > to || end - 1 <= index) return -1;
        const StatementRecord& back = At(end - 1);
        return back.token == kJump && back.target == head.start ? end : -1;
    }

    // The variable a plain statement assigns or steps ("i=0", "i++", "i += 2"), else "".
    static std::string AssignedVariable(const StatementRecord& r) {
        if (r.token == kJump || r.token == kJumpIfNot || r.token == kSwitch || r.token == kCase ||
            r.token == kIterator || r.text.empty()) {
            return {};
        }
        const std::string& t = r.text;
        std::size_t at = 0;
        while (at < t.size() && (std::isalnum(static_cast<unsigned char>(t[at])) || t[at] == '_')) ++at;
        if (at == 0) return {};
        const std::string rest = t.substr(at);
        for (const char* op : {"=", "++", "--", " += ", " -= ", " *= ", " /= "}) {
            if (rest.rfind(op, 0) == 0 && (std::string(op) != "=" || rest.rfind("==", 0) != 0)) {
                return t.substr(0, at);
            }
        }
        return {};
    }

    static bool Mentions(const std::string& text, const std::string& name) {
        for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
            const bool startOk = at == 0 || !(std::isalnum(static_cast<unsigned char>(text[at - 1])) ||
                                              text[at - 1] == '_' || text[at - 1] == '.');
            const std::size_t after = at + name.size();
            const bool endOk = after >= text.size() ||
                               !(std::isalnum(static_cast<unsigned char>(text[after])) || text[after] == '_');
            if (startOk && endOk) return true;
        }
        return false;
    }

    // init at index, a loop head after it, and a step before the jump back: a for loop.
    bool IsForLoop(int index, int to, int* loopEnd) const {
        if (index + 1 >= to) return false;
        const std::string variable = AssignedVariable(At(index));
        if (variable.empty()) return false;
        const int end = LoopEnd(index + 1, to);
        if (end < 0 || end - 2 <= index + 1) return false;
        const StatementRecord& head = At(index + 1);
        const StatementRecord& step = At(end - 2);
        if (AssignedVariable(step) != variable || !Mentions(head.control, variable)) return false;
        // A jump over the last statement to the jump back makes that statement an else-part.
        for (int k = index + 2; k < end - 2; ++k) {
            if (At(k).token == kJump && At(k).target == step.end) return false;
        }
        *loopEnd = end;
        return true;
    }

    // The index after the last case of the switch at index (where its breaks lead).
    int SwitchEnd(int index, int to) const {
        int last = -1;
        for (int k = index + 1; k < to; ++k) {
            if (At(k).token == kCase) {
                last = k;
                if (At(k).target == kDefaultCase) break;
                const int next = IndexAt(At(k).target);
                if (next < 0 || next <= k) break;
                k = next - 1;
            } else if (last < 0) {
                return -1;
            }
        }
        if (last < 0) return -1;
        // The breaks of the cases before the last one lead to the end; else the first jump
        // forward after the last label does.
        std::int32_t end = -1;
        for (int k = index + 1; k < last; ++k) {
            const StatementRecord& r = At(k);
            if (r.token == kJump && r.target > At(last).start && r.target <= PositionAt(to)) {
                end = std::max<std::int32_t>(end, r.target);
            }
        }
        for (int k = last + 1; end < 0 && k < to; ++k) {
            const StatementRecord& r = At(k);
            if (r.token == kJump && r.target > r.start && r.target <= PositionAt(to)) end = r.target;
        }
        if (At(last).target != kDefaultCase && At(last).target > At(last).start) {
            end = std::max<std::int32_t>(end, At(last).target);
        }
        if (end < 0) return to;
        const int endIndex = IndexAt(end);
        return endIndex < 0 || endIndex > to ? to : endIndex;
    }

    bool NothingFollows(int index, int to) const {
        for (int k = index + 1; k < to; ++k) {
            if (!At(k).text.empty()) return false;
        }
        return true;
    }

    // The IteratorNext record closing the foreach at index, or -1: the one just before where the
    // foreach says it ends (a continue inside is an IteratorNext too), else the first one at the
    // foreach's own depth.
    int ForeachEnd(int index, int to) const {
        const int end = IndexAt(At(index).target);
        if (end > index + 1 && end <= to && At(end - 1).token == kIteratorNext) return end - 1;
        int depth = 0;
        for (int k = index + 1; k < to; ++k) {
            if (At(k).token == kIterator) ++depth;
            if (At(k).token == kIteratorNext) {
                if (depth == 0) return k;
                --depth;
            }
        }
        return -1;
    }

    // A block; loops, switches and foreach open a frame for break and continue, if blocks
    // (frame nullptr) leave both to the blocks around them.
    void Body(int from, int to, int indent, const Frame* frame, int skipDoAt = -1) {
        Open(indent);
        if (frame) frames_.push_back(*frame);
        Range(from, to, indent + 1, skipDoAt);
        if (frame) frames_.pop_back();
        Close(indent);
    }
    void Body(int from, int to, int indent, const Frame& frame, int skipDoAt = -1) {
        Body(from, to, indent, &frame, skipDoAt);
    }

    void Range(int from, int to, int indent, int skipDoAt) {
        int i = from;
        while (i < to) {
            const StatementRecord& r = At(i);
            if (i != skipDoAt) {
                const int m = DoLoopEnd(i, to);
                if (m >= 0) {
                    Emit(r.start, indent, "do");
                    Body(i, m, indent, Frame{true, At(m).end, At(m).start}, i);
                    lines_.back().text = "} until ( " + At(m).control + " );";
                    i = m + 1;
                    continue;
                }
            }
            int loopEnd = -1;
            if (IsForLoop(i, to, &loopEnd)) {
                const StatementRecord& head = At(i + 1);
                const StatementRecord& step = At(loopEnd - 2);
                Emit(r.start, indent, "for ( " + r.text + "; " + head.control + "; " + step.text + " )");
                Body(i + 2, loopEnd - 2, indent, Frame{true, head.target, step.start});
                i = loopEnd;
                continue;
            }
            loopEnd = LoopEnd(i, to);
            if (loopEnd >= 0) {
                Emit(r.start, indent, "while ( " + r.control + " )");
                Body(i + 1, loopEnd - 1, indent, Frame{true, r.target, r.start, At(loopEnd - 1).start});
                i = loopEnd;
                continue;
            }
            switch (r.token) {
                case kJumpIfNot: i = IfStatement(i, to, indent); continue;
                case kJump:
                    Emit(r.start, indent, (IsForeachContinue(i) ? std::string("continue") : GotoOrWord(r.target)) + ";");
                    break;
                case kSwitch: {
                    const int end = SwitchEnd(i, to);
                    if (end < 0) break;
                    Emit(r.start, indent, r.text);
                    Body(i + 1, end, indent, Frame{false, PositionAt(end), -1});
                    i = end;
                    continue;
                }
                case kIterator: {
                    const int next = ForeachEnd(i, to);
                    if (next < 0) break;
                    Emit(r.start, indent, r.text);
                    Body(i + 1, next, indent, Frame{true, r.target, At(next).start, -1, true});
                    i = next + 1;
                    continue;
                }
                case kCase:
                    // The compiler ends a switch without a default with an empty one.
                    if (r.target == kDefaultCase && NothingFollows(i, to) && !frames_.empty() &&
                        !frames_.back().loop) {
                        break;
                    }
                    Emit(r.start, indent, r.text);
                    break;
                default:
                    if (!r.text.empty()) Emit(r.start, indent, r.text + (r.ended ? ";" : ""));
                    break;
            }
            if (r.token == kSwitch || r.token == kIterator) {
                // Not a block after all: printed as it stands.
                Emit(r.start, indent, r.text);
            }
            ++i;
        }
    }

    int IfStatement(int i, int to, int indent) {
        const StatementRecord& r = At(i);
        const int end = r.target > r.start ? IndexAt(r.target) : -1;
        if (end < 0 || end > to) {
            // A conditional jump out of the block (or back): if-not-goto, or break/continue.
            const std::string word = JumpWord(r.target);
            if (!word.empty()) {
                Emit(r.start, indent, "if ( !(" + r.control + ") )");
                Open(indent);
                Emit(-1, indent + 1, word + ";");
                Close(indent);
            } else {
                gotoTargets_.insert(r.target);
                Emit(r.start, indent, "if (! (" + r.control + ") ) goto " + JumpLabel(r.target) + ";");
            }
            return i + 1;
        }
        Emit(r.start, indent, "if ( " + r.control + " )");
        // A jump forward at the end of the then-part skips an else-part.
        // (An empty then-part holds only that jump, which then is no break or continue.)
        if (end - 1 >= i + 1 && At(end - 1).token == kJump && !LabelAt(At(end - 1).target) &&
            (end - 1 > i + 1 || JumpWord(At(end - 1).target).empty()) && !IsForeachContinue(end - 1)) {
            const std::int32_t elseEnd = At(end - 1).target;
            const int elseEndIndex = elseEnd >= PositionAt(end) ? IndexAt(elseEnd) : -1;
            const bool switchBreak = !frames_.empty() && !frames_.back().loop &&
                                     frames_.back().breakTarget == elseEnd;
            // A case label of the switch around would end the else-part early; labels of a
            // switch inside the else-part are its own.
            bool caseInside = false;
            for (int k = end; k < elseEndIndex && k >= 0; ++k) {
                if (At(k).token == kSwitch) {
                    const int switchEnd = SwitchEnd(k, elseEndIndex);
                    if (switchEnd > k) k = switchEnd - 1;
                } else {
                    caseInside |= At(k).token == kCase;
                }
            }
            if (elseEndIndex >= end && elseEndIndex <= to && !switchBreak && !caseInside &&
                elseEnd <= PositionAt(to)) {
                Body(i + 1, end - 1, indent, nullptr);
                Emit(-1, indent, "else");
                Body(end, elseEndIndex, indent, nullptr);
                return elseEndIndex;
            }
        }
        Body(i + 1, end, indent, nullptr);
        return end;
    }

    const std::vector<StatementRecord>& s_;
    const std::vector<std::pair<std::int32_t, std::string>>& labels_;
    std::int32_t end_;
    std::vector<Line> lines_;
    std::vector<Frame> frames_;
    std::set<std::int32_t> gotoTargets_;
};

}  // namespace

std::string BuildStructuredBody(const std::vector<StatementRecord>& statements,
                                const std::vector<std::pair<std::int32_t, std::string>>& labelNames,
                                std::int32_t scriptSize) {
    Structurer structurer(statements, labelNames, scriptSize);
    const std::vector<Line> lines = structurer.Build();
    std::set<std::int32_t> pendingGotos = structurer.GotoTargets();
    std::vector<std::pair<std::int32_t, std::string>> pendingLabels = labelNames;

    std::string text;
    const auto labelsUpTo = [&](std::int32_t position) {
        for (auto it = pendingGotos.begin(); it != pendingGotos.end() && *it <= position;) {
            text += JumpLabel(*it) + ":\r\n";
            it = pendingGotos.erase(it);
        }
        for (auto it = pendingLabels.begin(); it != pendingLabels.end();) {
            if (it->first <= position) {
                text += it->second + ":\r\n";
                it = pendingLabels.erase(it);
            } else {
                ++it;
            }
        }
    };
    for (const Line& line : lines) {
        if (line.position >= 0) labelsUpTo(line.position);
        text += std::string(static_cast<std::size_t>(line.indent) + 1, '\t') + line.text + "\r\n";
    }
    labelsUpTo(INT32_MAX);  // labels at the very end
    return text;
}

}  // namespace torvane::unrealpkg
