#include "unrealpkg/ut_decompiler.h"

#include <algorithm>
#include <vector>

#include "core/format.h"
#include "core/text.h"
#include "unrealpkg/ut_native_functions.h"
#include "unrealpkg/ut_script_objects.h"

namespace torvane::unrealpkg {
namespace {

enum Block { kForeach = 1, kSwitch = 2, kIf = 3, kElse = 4 };

std::uint16_t MarkerStart(std::uint32_t value) { return static_cast<std::uint16_t>(value >> 16); }
std::uint16_t MarkerEnd(std::uint32_t value) { return static_cast<std::uint16_t>(value & 0xFFFF); }
std::uint32_t MakeMarker(std::int32_t start, std::int32_t end) {
    return (static_cast<std::uint32_t>(start & 0xFFFF) << 16) | static_cast<std::uint32_t>(end & 0xFFFF);
}

// Reading from the object's data, counting bytecode units.
class TokenReader {
public:
    explicit TokenReader(TUTObjectClassStruct& object)
        : object_(object), package_(object.package()), stream_(object.Data()), st_(object.state) {}

    std::uint8_t Byte() {
        st_.Position += 1;
        return package_.ReadByte(&stream_);
    }
    std::uint16_t Word() {
        st_.Position += 2;
        return package_.ReadWord(&stream_);
    }
    std::int32_t DWord() {
        st_.Position += 4;
        return static_cast<std::int32_t>(package_.ReadDWord(&stream_));
    }
    float Float() {
        st_.Position += 4;
        return package_.ReadFloat(&stream_);
    }
    std::int32_t Ref() {  // an object reference: 4 units in memory
        st_.Position += 4;
        return package_.ReadCompactIndex(&stream_);
    }
    std::string Name() { return package_.GetName(Ref()); }

    TUTObjectClassStruct& object_;
    TUTPackage& package_;
    TUTMemoryStream& stream_;
    TUTDecompilerState& st_;
};

struct DepthGuard {
    explicit DepthGuard(TUTDecompilerState& state) : st(state) {
        if (++st.Depth > kMaxTokenDepth) {
            --st.Depth;
            throw DecompileError("Bytecode nested more than " + std::to_string(kMaxTokenDepth) +
                                 " tokens deep");
        }
    }
    ~DepthGuard() { --st.Depth; }
    TUTDecompilerState& st;
};

std::string Hex2(int value) { return core::Format("%-2.2x", {value}); }
std::string Label(int position) { return core::Format("JL%-4.4x", {position}); }

std::string ObjectName(const TUTPackage& p, std::int32_t reference) {
    return reference == 0 ? std::string("None") : p.GetObjectPath(1, reference);
}

// The class name of a referenced object ("Class" for classes).
std::string ClassOf(const TUTPackage& p, std::int32_t reference) {
    std::string name;
    if (reference > 0) {
        if (const auto* entry = p.GetExport(reference - 1)) name = entry->GetClassName();
    } else if (reference < 0) {
        if (const auto* entry = p.GetImport(~reference)) name = entry->GetClassName();
    }
    return name.empty() ? "Class" : name;
}

std::string FirstPart(const std::string& path) { return path.substr(0, path.find('.')); }

void AddJumpTarget(TUTDecompilerState& st, std::uint16_t target) {
    if (std::find(st.JumpTargets.begin(), st.JumpTargets.end(), target) == st.JumpTargets.end()) {
        st.JumpTargets.push_back(target);
    }
}

std::string SuperPrefixOfCall(TUTObjectClassStruct& object, std::int32_t reference) {
    const TUTPackage& p = object.package();
    const std::string ownName = object.GetObjectName();
    if (!core::EqualsIgnoringCase(p.GetObjectPath(1, reference), ownName)) return {};
    const std::string called = p.GetObjectPath(2, reference);
    if (core::EqualsIgnoringCase(called, p.GetObjectPath(2, object.exportIndex() + 1))) return {};
    const std::string a = FirstPart(called);
    const std::string b = FirstPart(p.GetObjectPath(2, object.SuperField()));
    return core::EqualsIgnoringCase(a, b) ? "Super." : "Super(" + a + ").";
}

std::string Jump(TokenReader& in, std::uint16_t target) {
    TUTDecompilerState& st = in.st_;
    const std::int32_t p = st.Position;
    if (st.structured && !st.BlockStack.empty() && st.BlockStack.back() == kIf &&
        !st.Markers.empty() && MarkerEnd(st.Markers.back().second) == (p & 0xFFFF)) {
        auto& marker = st.Markers.back();
        if (MarkerStart(marker.second) < p - 3 && target >= p) {
            marker.first = "ELSE";
            marker.second = MakeMarker(MarkerStart(marker.second), target);
            st.BlockStack.back() = kElse;
            st.StatementEnded = false;
            return "\b}\r\nelse\r\n{";
        }
    }
    if (st.structured && !st.BlockStack.empty() && st.BlockStack.back() == kSwitch &&
        target >= p) {
        st.StatementEnded = true;
        if (st.Markers.empty() || MarkerEnd(st.Markers.back().second) != target) {
            st.Markers.emplace_back("SWITCH-BREAK", MakeMarker(p, target));
        }
        return "break";
    }
    AddJumpTarget(st, target);
    st.StatementEnded = true;
    return "goto " + Label(target);
}

std::string NativeCall(TokenReader& in, std::int32_t index, int parentPrecedence) {
    TUTObjectClassStruct& object = in.object_;
    TUTDecompilerState& st = in.st_;
    if (index < 112) throw DecompileError("Invalid native function index 0x" + Hex2(index));
    std::string text;
    const TNativeFunction* native = FindNativeFunction(index);
    if (!native) {
        text = "UnknownFunction" + std::to_string(index) + "(";
        DecompileParams(object, text);
    } else {
        const std::string prefix =
            core::EqualsIgnoringCase(native->name, object.GetObjectName()) ? "Super." : "";
        switch (native->kind) {
            case kFunction:
                text = prefix + native->name + "(";
                DecompileParams(object, text);
                break;
            case kPreOperator: {
                const std::string operand = DecompileToken(object, parentPrecedence);
                DecompileToken(object, parentPrecedence);  // the argument terminator
                text = prefix + native->name + operand;
                if (st.Depth > 1) text = " " + text;
                break;
            }
            case kPostOperator: {
                const std::string operand = DecompileToken(object, parentPrecedence);
                DecompileToken(object, parentPrecedence);
                text = operand + prefix + native->name;
                if (st.Depth > 1) text += " ";
                break;
            }
            default: {
                const std::string left = DecompileToken(object, native->precedence);
                const std::string right = DecompileToken(object, native->precedence);
                DecompileToken(object, native->precedence);
                text = left + " " + prefix + native->name + " " + right;
                if (st.Depth > 1 && parentPrecedence < native->precedence) text = "(" + text + ")";
                break;
            }
        }
    }
    st.StatementEnded = true;
    return text;
}

// The operand is still printed (its own failure comes first), then the error ends the walk and
// carries the text made so far.
[[noreturn]] void Unknown(TUTObjectClassStruct& object, int token, int parentPrecedence) {
    const std::string text = "UnknownOpcode0x" + Hex2(token) + "(" +
                             DecompileToken(object, parentPrecedence) + ")";
    throw DecompileError("Unknown OpCode 0x" + Hex2(token) + ". Will try to continue.", text);
}

std::string Cast(const char* name, TUTObjectClassStruct& object, int precedence) {
    return std::string(name) + "(" + DecompileToken(object, precedence) + ")";
}

}  // namespace

std::string IndentText(const std::string& prefix, const std::string& text) {
    std::string result;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        result += prefix;
        if (end == std::string::npos) {
            result += text.substr(start);
            return result;
        }
        result += text.substr(start, end - start) + "\r\n";
        start = end + 2;
    }
    return result;
}

void DecompileParams(TUTObjectClassStruct& object, std::string& text) {
    for (;;) {
        const std::string argument = DecompileToken(object, 255);
        if (argument == ")") {
            if (!text.empty() && text.back() == ',') text.pop_back();
            text += ")";
            return;
        }
        text += argument + ",";
    }
}

std::string DecompileToken(TUTObjectClassStruct& object, int parentPrecedence) {
    TokenReader in(object);
    TUTDecompilerState& st = object.state;
    TUTPackage& p = object.package();
    DepthGuard depth(st);
    const int token = in.Byte();
    auto E = [&] { return DecompileToken(object, parentPrecedence); };
    switch (token) {
        case 0x00:
        case 0x01:
        case 0x29: return ObjectName(p, in.Ref());
        case 0x02: return "Default." + ObjectName(p, in.Ref());
        case 0x04: {
            st.StatementEnded = true;
            if (p.Version <= 61) return "return";
            const std::string value = E();
            st.StatementEnded = true;
            return value.empty() ? "return" : "return " + value;
        }
        case 0x05: {
            in.Byte();
            const std::string value = E();
            std::string text = "switch " + (value.rfind('(', 0) == 0 ? value : "(" + value + ")");
            st.StatementEnded = false;
            if (st.structured) {
                st.BlockStack.push_back(kSwitch);
            } else {
                text += " {";
            }
            return text;
        }
        case 0x06: return Jump(in, in.Word());
        case 0x07: {
            const std::uint16_t target = in.Word();
            const std::string condition = E();
            const std::int32_t position = st.Position;
            if (st.structured && position < target) {
                st.Markers.emplace_back("IF", MakeMarker(position, target));
                st.BlockStack.push_back(kIf);
                st.StatementEnded = false;
                return "if ( " + condition + " )";
            }
            AddJumpTarget(st, target);
            st.StatementEnded = true;
            return "if (! " + condition + " ) goto " + Label(target);
        }
        case 0x08: st.StatementEnded = false; return "stop";
        case 0x09: {
            in.Word();
            const std::string text = "assert (" + E() + ")";
            st.StatementEnded = true;
            return text;
        }
        case 0x0A: {
            const std::uint16_t next = in.Word();
            if (next == 0xFFFF) {
                if (st.structured && !st.BlockStack.empty() && st.BlockStack.back() == kSwitch &&
                    (st.Markers.empty() || st.Markers.back().first != "SWITCH-BREAK")) {
                    st.Markers.emplace_back("SWITCH", MakeMarker(st.Position, st.Position));
                }
                st.StatementEnded = false;
                return "default:";
            }
            const std::string text = "case " + E() + ":";
            st.StatementEnded = false;
            return text;
        }
        case 0x0B: return {};
        case 0x0C:
            for (;;) {
                const std::int32_t name = in.Ref();
                const std::int32_t position = in.DWord();
                if (core::EqualsIgnoringCase(p.GetName(name), "none")) break;
                st.LabelTable.emplace_back(name, position);
            }
            return {};
        case 0x0D: {
            const std::string text = "goto (" + E() + ")";
            st.StatementEnded = true;
            return text;
        }
        case 0x0E: return E();
        case 0x14:
            if (p.Version == 61 && st.Position == 1) {
                for (;;) {
                    const std::uint8_t b = in.Byte();
                    if (b == 0) break;
                    in.Byte();
                }
                return {};
            }
            [[fallthrough]];
        case 0x0F: {
            const std::string left = E();
            const std::string right = E();
            st.StatementEnded = true;
            return left + "=" + right;
        }
        case 0x10:
        case 0x1A: {
            const std::string index = E();
            const std::string array = E();
            return array + "[" + index + "]";
        }
        case 0x11: {
            std::string text = "new (" + E();
            for (int i = 0; i < 3; ++i) {
                const std::string part = E();
                if (!part.empty()) text += "," + part;
            }
            return text + ")";
        }
        case 0x12:
        case 0x19: {
            const std::string context = E();
            in.Word();
            in.Byte();
            return context + "." + E();
        }
        case 0x13: {
            const std::string className = ObjectName(p, in.Ref());
            return "Class<" + className + ">(" + E() + ")";
        }
        case 0x15: return st.Depth == 1 ? std::string() : E();
        case 0x16: return ")";
        case 0x17: return "self";
        case 0x18: in.Word(); return E();
        case 0x1B: {
            std::string text = in.Name() + "(";
            DecompileParams(object, text);
            st.StatementEnded = true;
            return text;
        }
        case 0x1C: {
            const std::int32_t reference = in.Ref();
            std::string text = SuperPrefixOfCall(object, reference) + ObjectName(p, reference) + "(";
            DecompileParams(object, text);
            st.StatementEnded = true;
            return text;
        }
        case 0x1D: return std::to_string(in.DWord());
        case 0x1E: return core::Format("%f", {static_cast<double>(in.Float())});
        case 0x1F: {
            std::string text;
            for (;;) {
                const std::uint8_t c = in.Byte();
                if (c == 0) break;
                text += static_cast<char>(c);
            }
            return TUTPackage::QuoteString(text);
        }
        case 0x20: {
            const std::int32_t reference = in.Ref();
            if (reference == 0) return "None";
            return ClassOf(p, reference) + "'" + p.GetObjectPath(1, reference) + "'";
        }
        case 0x21: return "'" + in.Name() + "'";
        case 0x22: {
            const std::int32_t pitch = in.DWord();
            const std::int32_t yaw = in.DWord();
            const std::int32_t roll = in.DWord();
            return core::Format("rot(%d,%d,%d)", {pitch, yaw, roll});
        }
        case 0x23: {
            const double x = in.Float();
            const double y = in.Float();
            const double z = in.Float();
            return core::Format("vect(%f,%f,%f)", {x, y, z});
        }
        case 0x24:
        case 0x2C: return std::to_string(in.Byte());
        case 0x25: return "0";
        case 0x26: return "1";
        case 0x27: return "True";
        case 0x28: return "False";
        case 0x2A: return "None";
        case 0x2B: in.Byte(); return E();
        case 0x2E: {
            const std::string className = ObjectName(p, in.Ref());
            return className + "(" + E() + ")";
        }
        case 0x2F: {
            std::string text = "foreach " + E();
            in.Word();
            st.StatementEnded = false;
            if (st.structured) {
                st.BlockStack.push_back(kForeach);
            } else {
                text += " {";
            }
            return text;
        }
        case 0x30: return {};
        case 0x31:
            if (st.structured) {
                if (!st.BlockStack.empty()) st.BlockStack.pop_back();
                return {};
            }
            return "}";
        case 0x32:
        case 0x33: {
            in.Ref();
            const std::string left = E();
            const std::string right = E();
            return left + (token == 0x32 ? "==" : "!=") + right;
        }
        case 0x34: {
            std::u16string text;
            for (;;) {
                const std::uint16_t c = in.Word();
                if (c == 0) break;
                text += static_cast<char16_t>(c);
            }
            return TUTPackage::QuoteWideString(text);
        }
        case 0x36: {
            const std::int32_t reference = in.Ref();
            return E() + "." + ObjectName(p, reference);
        }
        case 0x38: {
            std::string text = "Global." + in.Name() + "(";
            DecompileParams(object, text);
            st.StatementEnded = true;
            return text;
        }
        case 0x39:
        case 0x4D: return Cast("vector", object, parentPrecedence);
        case 0x46: return Cast("name", object, parentPrecedence);
        case 0x47:
        case 0x48:
        case 0x4B:
        case 0x4F:
        case 0x51: return Cast("bool", object, parentPrecedence);
        case 0x49: return Cast("byte", object, parentPrecedence);
        case 0x4A: return Cast("int", object, parentPrecedence);
        case 0x4C: return Cast("float", object, parentPrecedence);
        case 0x4E:
        case 0x50: return Cast("rotator", object, parentPrecedence);
        default: break;
    }
    if (token == 0x2D || (token >= 0x3A && token <= 0x45)) return E();
    if (token >= 0x52 && token <= 0x59) return Cast("string", object, parentPrecedence);
    if (token >= 0x60 && token <= 0x6F) {
        const int index = (token - 0x60) * 256 + in.Byte();
        return NativeCall(in, index, parentPrecedence);
    }
    if (token >= 0x70) return NativeCall(in, token, parentPrecedence);
    Unknown(object, token, parentPrecedence);  // 0x03, 0x35, 0x37, 0x5A-0x5F
}

std::string DecompileStatement(TUTObjectClassStruct& object) {
    TUTDecompilerState& st = object.state;
    const std::size_t blocksBefore = st.BlockStack.size();
    st.StatementStart = st.Position;
    std::string text = DecompileToken(object, 255);

    std::string indent = st.Indent;
    std::size_t backspaces = 0;
    while (backspaces < text.size() && text[backspaces] == '\b') {
        ++backspaces;
        if (!indent.empty()) indent.pop_back();
    }
    text.erase(0, backspaces);
    if (!text.empty()) {
        text = IndentText(indent, text);
        if (st.StatementEnded) text += ";";
    }

    int inside = 0;
    if (st.structured) {
        for (const auto& marker : st.Markers) {
            const int end = MarkerEnd(marker.second);
            if (end > st.StatementStart && end < st.Position) ++inside;
        }
    } else {
        for (const std::uint16_t target : st.JumpTargets) {
            if (target > st.StatementStart && target < st.Position) ++inside;
        }
    }
    if (inside > 0) {
        text += "\r\n" + st.Indent + "// There are " + std::to_string(inside) +
                " jump destination(s) inside the last statement!";
    }
    if (!st.structured) return text;

    for (std::size_t i = blocksBefore; i < st.BlockStack.size(); ++i) {
        if (!text.empty()) text += "\r\n";
        text += st.Indent + "{";
        st.Indent += '\t';
    }
    while (!st.Markers.empty() && MarkerEnd(st.Markers.back().second) <= st.Position) {
        st.Markers.pop_back();
        if (!st.BlockStack.empty()) st.BlockStack.pop_back();
    }
    for (std::size_t i = st.BlockStack.size(); i < blocksBefore; ++i) {
        if (!text.empty()) text += "\r\n";
        if (!st.Indent.empty()) st.Indent.pop_back();
        text += st.Indent + "}";
    }
    return text;
}

DecompiledBody DecompileBody(TUTObjectClassStruct& object, bool structured) {
    TUTDecompilerState& st = object.state;
    st.JumpTargets.clear();
    st.LabelTable.clear();
    st.BlockStack.clear();
    st.Markers.clear();
    st.Indent.clear();
    st.Depth = 0;
    st.structured = structured;

    DecompiledBody body;
    std::vector<std::pair<std::int32_t, std::string>> statements;
    try {
        object.RewindScript();
        while (st.Position < object.ScriptSize()) {
            st.StatementEnded = false;
            const std::int32_t start = st.Position;
            std::string text = DecompileStatement(object);
            if (!text.empty()) statements.emplace_back(start, std::move(text));
        }
    } catch (const DecompileError& e) {
        body.error = e.what();
        if (!e.partialText.empty()) statements.emplace_back(st.StatementStart, e.partialText);
    } catch (const std::exception& e) {
        body.error = e.what();
    }

    std::string lines;
    for (const auto& [start, text] : statements) {
        const auto target = std::find(st.JumpTargets.begin(), st.JumpTargets.end(),
                                      static_cast<std::uint16_t>(start));
        if (target != st.JumpTargets.end() && *target == start) {
            lines += Label(start) + ":\r\n";
            st.JumpTargets.erase(target);
        }
        for (const auto& [name, position] : st.LabelTable) {
            if (position == start) lines += object.package().GetName(name) + ":\r\n";
        }
        lines += IndentText("\t", text) + "\r\n";
    }
    body.text = std::move(lines);
    st.BlockStack.clear();
    st.Markers.clear();
    return body;
}

void SkipBytecode(TUTObjectClassStruct& object) {
    TUTDecompilerState& st = object.state;
    const bool structured = st.structured;
    st.structured = false;
    st.Depth = 0;
    while (st.Position < object.ScriptSize()) DecompileToken(object, 255);
    st.structured = structured;
    st.LabelTable.clear();
    st.JumpTargets.clear();
}

}  // namespace torvane::unrealpkg
