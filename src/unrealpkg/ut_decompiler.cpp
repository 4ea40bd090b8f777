#include "unrealpkg/ut_decompiler.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "core/format.h"
#include "core/text.h"
#include "platform/stack_room.h"
#include "unrealpkg/ut_decompiler_context.h"
#include "unrealpkg/ut_decompiler_session.h"
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

// Stack kept free below the deepest token: what a failure report and the unwinding need. A token
// level takes about 2 KB in an optimised build, many times that in a sanitizer or debug build, so
// the room left is checked as well as the depth.
constexpr std::size_t kStackReserve = 512 * 1024;

// One token level more. The level is given back by Decode when the token returns; a failure
// leaves it, since every walk starts again from depth 0, and so the frames a failure crosses hold
// nothing to undo (each such frame costs the unwinding, most of all under the sanitizers).
void EnterTokenLevel(TUTDecompilerState& st) {
    if (st.Depth >= kMaxTokenDepth) {
        throw DecompileError("Bytecode nested more than " + std::to_string(kMaxTokenDepth) + " tokens deep");
    }
    if (platform::StackBytesLeft() < kStackReserve) throw DecompileError("Bytecode nested too deep for the stack");
    ++st.Depth;
}

std::string Hex2(int value) { return core::Format("%-2.2x", {value}); }

// An expression as printed, with what its parent needs to place it: the precedence of its
// outermost operator (0 for a primary, 1 for a unary operator, a binary operator's own), its
// type as far as known, and for integer literals the value (which may print as an enum name).
struct Expr {
    std::string text;
    int precedence = 0;
    TypeInfo type;
    bool literal = false;
    int value = 0;
    bool call = false;
    // A conversion: its kind and the converted expression, for the places where the language
    // converts by itself and the source leaves the conversion out.
    enum Conversion : std::uint8_t { kNone, kToInt, kToFloat, kNumeric, kToString, kOther } conversion = kNone;
    std::shared_ptr<const Expr> inner;
    // The type of the bracketed operand the printed text begins with, if it begins with one.
    ScriptType leadingBracket = ScriptType::kUnknown;
};

// Where a value is used, for deciding whether a conversion is written.
enum class Use {
    kStored,         // assigned, passed to a parameter or returned: numbers convert by themselves
    kCoerced,        // passed to a coerce parameter: anything converts to the parameter's type
    kOperand,        // operand of an operator whose other operand has the converted-to type
    kFirstOperand,   // left operand when both operands were converted: it picks the operator
    kOther,
    kExact,          // as decoded
};

// The expression as written for that use: its conversion left out where the language adds
// the same conversion by itself.
const Expr& AsUsed(const Expr& e, Use use) {
    if (!e.inner || use == Use::kExact) return e;
    bool implicit = false;
    switch (e.conversion) {
        case Expr::kToInt: implicit = true; break;  // no operator takes bytes: always an int
        case Expr::kToFloat: implicit = use != Use::kFirstOperand; break;
        case Expr::kNumeric: implicit = use == Use::kStored || use == Use::kCoerced; break;
        case Expr::kToString: implicit = use == Use::kCoerced; break;
        default: implicit = false; break;
    }
    if (!implicit) return e;
    // The compiler converts a bracketed part that begins a stored value to the stored type at its
    // closing bracket: where that part has another type, the conversion stays written out.
    const bool stored = use == Use::kStored || use == Use::kCoerced;
    const ScriptType lead = e.inner->leadingBracket;
    if (stored && e.conversion != Expr::kToString && lead != ScriptType::kUnknown && lead != e.type.type) return e;
    // The language adds one conversion by itself; one under it was written in the source.
    return *e.inner;
}

constexpr int kUnaryPrecedence = 1;
constexpr int kStatementPrecedence = 255;
constexpr std::uint32_t kFunctionFinal = 0x1;

Expr Primary(std::string text, ScriptType type = ScriptType::kUnknown) {
    Expr e;
    e.text = std::move(text);
    e.type.type = type;
    return e;
}

Expr Literal(int value, ScriptType type) {
    Expr e = Primary(std::to_string(value), type);
    e.literal = true;
    e.value = value;
    return e;
}

// The literal as the enum value's name when the expected type is an enum that has it.
std::string Render(const Expr& used, const TypeInfo& expected, Use use = Use::kExact) {
    const Expr& e = AsUsed(used, use);
    if (e.literal && expected.enumValues && e.value >= 0 &&
        e.value < static_cast<int>(expected.enumValues->size())) {
        return (*expected.enumValues)[static_cast<std::size_t>(e.value)];
    }
    return e.text;
}

std::string Wrapped(const Expr& e, bool wrap) { return wrap ? "(" + e.text + ")" : e.text; }

// Shortest decimal text that reads back as the same 32-bit float, always with a decimal point.
std::string FloatText(float value) {
    if (!std::isfinite(value)) return value > 0 ? "1e39" : (value < 0 ? "-1e39" : "0.0");
    char buffer[128];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    std::string text(buffer, result.ptr);
    if (text.find('.') == std::string::npos) text += ".0";
    return text;
}

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

DecompileContext* ContextOf(const TUTDecompilerState& st) {
    return st.session ? st.session->context : nullptr;
}

TypeInfo VariableTypeOf(TUTObjectClassStruct& object, std::int32_t reference) {
    DecompileContext* context = ContextOf(object.state);
    if (!context) return {};
    return context->VariableType(context->Resolve(object.package(), reference));
}

// Without the called function's declaration: a call of a function that has the decompiled
// function's name but is not the function itself is a call of a parent's version.
std::string SuperPrefixByName(TUTObjectClassStruct& object, std::int32_t reference) {
    const TUTPackage& p = object.package();
    const std::string ownName = object.GetObjectName();
    if (!core::EqualsIgnoringCase(p.GetObjectPath(1, reference), ownName)) return {};
    const std::string called = p.GetObjectPath(2, reference);
    if (core::EqualsIgnoringCase(called, p.GetObjectPath(2, object.exportIndex() + 1))) return {};
    const std::string a = FirstPart(called);
    const std::string b = FirstPart(p.GetObjectPath(2, object.SuperField()));
    return core::EqualsIgnoringCase(a, b) ? "Super." : "Super(" + a + ").";
}

// A final-function token names the function it calls. A final function is called plainly; any
// other is a parent's version: "Super." when that is the one Super would find from here, else
// "Super(Class)." with the class that declares it.
std::string SuperPrefixOfCall(TUTObjectClassStruct& object, std::int32_t reference,
                              const FunctionInfo* called) {
    TUTDecompileSession* session = object.state.session;
    DecompileContext* context = ContextOf(object.state);
    if (!context || !called || !session->scope.Valid()) return SuperPrefixByName(object, reference);
    if ((called->flags & kFunctionFinal) || called->id == session->self) return {};
    // The version this function overrides is the one Super finds.
    if (reference == object.SuperField()) return "Super.";
    ObjectId start = context->SuperOf(session->scope);
    if (!start.Valid() && session->isState) start = context->ClassOf(session->scope);
    bool complete = true;
    const FunctionInfo* found = start.Valid() ? context->FindFunction(start, called->name, &complete) : nullptr;
    if (found && found->id == called->id) return "Super.";
    // The parents could not all be read: the name decides as it does without declarations.
    if (!found && !complete) return SuperPrefixByName(object, reference);
    const ObjectId owner = context->ClassOf(called->owner);
    if (!owner.Valid()) return SuperPrefixByName(object, reference);
    return "Super(" + owner.package->GetExport(owner.exportIndex)->GetObjectName() + ").";
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
    return "goto " + JumpLabel(target);
}

Expr Decode(TUTObjectClassStruct& object);

// Call arguments up to the closing token; each printed with the parameter's type when known.
std::string Arguments(TUTObjectClassStruct& object, const FunctionInfo* function) {
    std::string text;
    for (std::size_t index = 0;; ++index) {
        const Expr argument = Decode(object);
        if (argument.text == ")" && !argument.literal) {
            if (!text.empty() && text.back() == ',') text.pop_back();
            return text + ")";
        }
        const bool known = function && index < function->parameters.size();
        const TypeInfo expected = known ? function->parameters[index] : TypeInfo{};
        // A conversion of an argument was made to fit the parameter, which the language does by
        // itself for numbers (and for anything passed to a coerce parameter).
        const Use use = known && function->coerce[index] ? Use::kCoerced : Use::kStored;
        text += Render(argument, expected, use) + ",";
    }
}

// The declaration of a native as the packages at hand give it.
const FunctionInfo* NativeDeclaration(const TUTDecompilerState& st, const TNativeFunction* native) {
    DecompileContext* context = ContextOf(st);
    if (!context || !native->package) return nullptr;
    return context->Function({native->package, native->exportIndex});
}

// The string operators take any value and convert it themselves.
bool IsStringOperator(std::string_view op) { return op == "$" || op == "@" || op == "$=" || op == "@="; }

// Operators that store into their left operand: the right one converts to its type.
bool IsAssignmentOperator(std::string_view op) {
    return op == "+=" || op == "-=" || op == "*=" || op == "/=";
}

// Compiled code closes an operator's operands with the end-of-parameters token. Any other byte
// there means the body is damaged: decoding it as one more expression would silently drop code
// from the text, and on random bytes would nest every operand hundreds of tokens deep.
void EndOfOperands(TokenReader& in, const TNativeFunction& native) {
    const int token = in.Byte();
    if (token != 0x16) {
        throw DecompileError("Operator " + std::string(native.name) + " not closed: token 0x" + Hex2(token) +
                             " after its operands");
    }
}

// onObject: the call is the member part of a context (another object's function), which never
// takes a Super prefix.
Expr NativeCall(TokenReader& in, std::int32_t index, bool onObject) {
    TUTObjectClassStruct& object = in.object_;
    TUTDecompilerState& st = in.st_;
    if (index < 112) throw DecompileError("Invalid native function index 0x" + Hex2(index));
    Expr result;
    const DecompileContext* context = ContextOf(st);
    const TNativeFunction* native =
        context ? context->Natives().Find(index) : TNativeTable::Fixed().Find(index);
    if (!native) {
        result.text = "UnknownFunction" + std::to_string(index) + "(" + Arguments(object, nullptr);
        result.call = true;
    } else {
        const std::string prefix =
            !onObject && core::EqualsIgnoringCase(native->name, object.GetObjectName()) ? "Super." : "";
        switch (native->kind) {
            case kFunction:
                result.text = prefix + native->name + "(" + Arguments(object, NativeDeclaration(st, native));
                result.call = true;
                break;
            case kPreOperator: {
                const Expr decoded = Decode(object);
                const Expr& operand = AsUsed(decoded, Use::kOther);
                EndOfOperands(in, *native);
                std::string text = Wrapped(operand, operand.precedence > kUnaryPrecedence);
                result.text = prefix + native->name + text;
                if (st.Depth > 1) result.text = " " + result.text;
                result.precedence = kUnaryPrecedence;
                result.type = operand.type;
                break;
            }
            case kPostOperator: {
                const Expr decoded = Decode(object);
                const Expr& operand = AsUsed(decoded, Use::kOther);
                EndOfOperands(in, *native);
                result.text = Wrapped(operand, operand.precedence > kUnaryPrecedence) + prefix + native->name;
                if (st.Depth > 1) result.text += " ";
                result.precedence = kUnaryPrecedence;
                result.type = operand.type;
                break;
            }
            default: {
                const Expr left = Decode(object);
                const Expr right = Decode(object);
                EndOfOperands(in, *native);
                const int precedence = native->precedence;
                // Left-associative: an operand of the same precedence needs parentheses only
                // on the right.
                const std::string_view name(native->name);
                const bool coerce = IsStringOperator(name);
                // Both operands made floats: the left one's conversion picks the float operator,
                // unless there is none for integers.
                const bool both = left.conversion == Expr::kToFloat && right.conversion == Expr::kToFloat &&
                                  name != "%" && name != "**";
                const Use leftUse = coerce ? Use::kCoerced : both ? Use::kFirstOperand : Use::kOperand;
                const Use rightUse = coerce ? Use::kCoerced : IsAssignmentOperator(name) ? Use::kStored : Use::kOperand;
                const Expr& l = AsUsed(left, leftUse);
                const Expr& r = AsUsed(right, rightUse);
                std::string leftText = Render(l, right.type);
                std::string rightText = Render(r, left.type);
                if (l.precedence > precedence) {
                    leftText = "(" + leftText + ")";
                    result.leadingBracket = l.type.type;
                } else {
                    result.leadingBracket = l.leadingBracket;
                }
                if (r.precedence >= precedence) rightText = "(" + rightText + ")";
                result.text = leftText + " " + prefix + native->name + " " + rightText;
                result.precedence = precedence;
                result.type = left.type;
                break;
            }
        }
    }
    st.StatementEnded = true;
    return result;
}

// The operand is still printed (its own failure comes first), then the error ends the walk and
// carries the text made so far.
[[noreturn]] void Unknown(TUTObjectClassStruct& object, int token) {
    const std::string text = "UnknownOpcode0x" + Hex2(token) + "(" + Decode(object).text + ")";
    throw DecompileError("Unknown OpCode 0x" + Hex2(token) + ". Will try to continue.", text);
}

Expr Cast(const char* name, TUTObjectClassStruct& object, ScriptType type,
          Expr::Conversion conversion = Expr::kOther) {
    Expr operand = Decode(object);
    Expr e = Primary(std::string(name) + "(" + operand.text + ")", type);
    e.conversion = conversion;
    e.inner = std::make_shared<const Expr>(std::move(operand));
    return e;
}

// A conversion the language makes by itself where the value is used (byte to int, byte or int
// to float): the operand stands for the converted value.
Expr Widened(const char* name, TUTObjectClassStruct& object, ScriptType type) {
    Expr e = Cast(name, object, type, type == ScriptType::kInt ? Expr::kToInt : Expr::kToFloat);
    e.type.enumValues = e.inner->type.enumValues;  // an enum compared as a number stays one
    e.literal = e.inner->literal;
    e.value = e.inner->value;
    return e;
}

// The function a virtual call by name reaches: in the context object's class when the call has
// one, else from the decompiled function's class or state.
const FunctionInfo* VirtualFunction(TUTObjectClassStruct& object, const std::string& name,
                                    const TypeInfo* contextType) {
    TUTDecompileSession* session = object.state.session;
    if (!session || !session->context) return nullptr;
    DecompileContext& context = *session->context;
    if (contextType) {
        if (contextType->type != ScriptType::kObject || !contextType->classPackage) return nullptr;
        return context.FindFunction(context.Resolve(*contextType->classPackage, contextType->classRef), name);
    }
    return session->scope.Valid() ? context.FindFunction(session->scope, name) : nullptr;
}

// Member of a context (object.member, Class'X'.static.F(), Class'X'.default.V).
Expr Member(TUTObjectClassStruct& object, TokenReader& in, bool classContext);

// The type of the object whose member is decoded, while it is decoded (see Member).
thread_local const TypeInfo* t_memberContext = nullptr;

Expr DecodeToken(TUTObjectClassStruct& object, TokenReader& in, int token) {
    TUTDecompilerState& st = object.state;
    TUTPackage& p = object.package();
    TUTDecompileSession* session = st.session;
    const TypeInfo* memberContext = t_memberContext;
    t_memberContext = nullptr;
    auto E = [&] { return Decode(object); };
    switch (token) {
        case 0x00:
        case 0x01:
        case 0x29: {
            const std::int32_t reference = in.Ref();
            Expr e = Primary(ObjectName(p, reference));
            e.type = VariableTypeOf(object, reference);
            return e;
        }
        case 0x02: {
            const std::int32_t reference = in.Ref();
            Expr e = Primary("Default." + ObjectName(p, reference));
            e.type = VariableTypeOf(object, reference);
            return e;
        }
        case 0x04: {
            st.StatementEnded = true;
            if (p.Version <= 61) return Primary("return");
            const Expr value = E();
            st.StatementEnded = true;
            if (value.text.empty()) return Primary("return");
            const TypeInfo expected =
                session && session->selfFunction ? session->selfFunction->returns : TypeInfo{};
            Expr e = Primary("return " + Render(value, expected, Use::kStored));
            return e;
        }
        case 0x05: {
            in.Byte();
            const Expr value = E();
            if (session) {
                session->switches.push_back({value.type.enumValues, -1});
                session->control = value.text;
            }
            std::string text = "switch " + (value.text.rfind('(', 0) == 0 && value.precedence == 0
                                                ? value.text
                                                : "(" + value.text + ")");
            st.StatementEnded = false;
            if (st.structured) {
                st.BlockStack.push_back(kSwitch);
            } else if (!session || !session->records) {
                text += " {";
            }
            return Primary(text);
        }
        case 0x06: {
            const std::uint16_t target = in.Word();
            if (session) session->target = target;
            return Primary(Jump(in, target));
        }
        case 0x07: {
            const std::uint16_t target = in.Word();
            const Expr condition = E();
            const std::int32_t position = st.Position;
            if (session) {
                session->target = target;
                session->control = condition.text;
            }
            if (st.structured && position < target) {
                st.Markers.emplace_back("IF", MakeMarker(position, target));
                st.BlockStack.push_back(kIf);
                st.StatementEnded = false;
                return Primary("if ( " + condition.text + " )");
            }
            AddJumpTarget(st, target);
            st.StatementEnded = true;
            return Primary("if (! " + Wrapped(condition, condition.precedence > kUnaryPrecedence) +
                           " ) goto " + JumpLabel(target));
        }
        case 0x08: st.StatementEnded = true; return Primary("stop");
        case 0x09: {
            in.Word();
            const Expr e = Primary("assert (" + E().text + ")");
            st.StatementEnded = true;
            return e;
        }
        case 0x0A: {
            const std::int32_t at = st.Position - 1;
            const std::uint16_t next = in.Word();
            // The open switch's enum, taken now: decoding the case value of damaged code may open
            // switches of its own, and the list of switches may move.
            const std::vector<std::string>* enumValues = nullptr;
            if (session) {
                session->target = next;
                // The switch whose case chain this label continues: inner switches end first.
                auto& switches = session->switches;
                while (switches.size() > 1 && switches.back().nextCase != -1 &&
                       switches.back().nextCase != at) {
                    switches.pop_back();
                }
                if (!switches.empty()) {
                    switches.back().nextCase = next;
                    enumValues = switches.back().enumValues;
                }
            }
            if (next == 0xFFFF) {
                if (st.structured && !st.BlockStack.empty() && st.BlockStack.back() == kSwitch &&
                    (st.Markers.empty() || st.Markers.back().first != "SWITCH-BREAK")) {
                    st.Markers.emplace_back("SWITCH", MakeMarker(st.Position, st.Position));
                }
                st.StatementEnded = false;
                return Primary("default:");
            }
            const Expr value = E();
            TypeInfo expected;
            expected.enumValues = enumValues;
            const std::string text = Render(value, expected, Use::kStored);
            if (session) session->control = text;
            st.StatementEnded = false;
            return Primary("case " + text + ":");
        }
        case 0x0B: return Primary({});
        case 0x0C:
            for (;;) {
                const std::int32_t name = in.Ref();
                const std::int32_t position = in.DWord();
                if (core::EqualsIgnoringCase(p.GetName(name), "none")) break;
                st.LabelTable.emplace_back(name, position);
            }
            return Primary({});
        case 0x0D: {
            const Expr e = Primary("goto (" + E().text + ")");
            st.StatementEnded = true;
            return e;
        }
        case 0x0E: return E();
        case 0x14:
            if (p.Version == 61 && st.Position == 1) {
                for (;;) {
                    const std::uint8_t b = in.Byte();
                    if (b == 0) break;
                    in.Byte();
                }
                return Primary({});
            }
            [[fallthrough]];
        case 0x0F: {
            const Expr left = E();
            const Expr right = E();
            st.StatementEnded = true;
            Expr e = Primary(left.text + "=" + Render(right, left.type, Use::kStored));
            e.precedence = 50;
            return e;
        }
        case 0x10:
        case 0x1A: {
            const Expr index = E();
            const Expr array = E();
            Expr e = Primary(Wrapped(array, array.precedence > 0) + "[" + AsUsed(index, Use::kStored).text + "]");
            e.type = array.type;
            if (token == 0x10 && ContextOf(st)) {
                // A dynamic array's element has the inner property's type; the array variable
                // itself does not say which, so it stays unknown.
                e.type = TypeInfo{};
            }
            return e;
        }
        case 0x11: {
            const Expr outer = E();
            const Expr name = E();
            const Expr flags = E();
            const Expr cls = E();
            std::vector<std::string> arguments{outer.text, name.text, flags.text};
            while (!arguments.empty() && arguments.back().empty()) arguments.pop_back();
            std::string text = "new ";
            if (!arguments.empty()) {
                text += "(";
                for (std::size_t i = 0; i < arguments.size(); ++i) text += (i ? ", " : "") + arguments[i];
                text += ") ";
            }
            Expr e = Primary(text + Wrapped(cls, cls.precedence > 0));
            e.precedence = kUnaryPrecedence;
            return e;
        }
        case 0x12: return Member(object, in, true);
        case 0x19: return Member(object, in, false);
        case 0x13: {
            const std::string className = ObjectName(p, in.Ref());
            return Primary("Class<" + className + ">(" + E().text + ")", ScriptType::kObject);
        }
        case 0x15: return st.Depth == 1 ? Primary({}) : E();
        case 0x16: return Primary(")");
        case 0x17: {
            Expr e = Primary("self", ScriptType::kObject);
            if (session && session->context && session->scope.Valid()) {
                const ObjectId cls = session->context->ClassOf(session->scope);
                if (cls.Valid()) {
                    e.type.classRef = cls.exportIndex + 1;
                    e.type.classPackage = cls.package;
                }
            }
            return e;
        }
        case 0x18: in.Word(); return E();
        case 0x1B: {
            const std::string name = in.Name();
            const FunctionInfo* function = VirtualFunction(object, name, memberContext);
            Expr e = Primary(name + "(" + Arguments(object, function));
            if (function) e.type = function->returns;
            e.call = true;
            st.StatementEnded = true;
            return e;
        }
        case 0x1C: {
            const std::int32_t reference = in.Ref();
            DecompileContext* context = ContextOf(st);
            const FunctionInfo* function =
                context ? context->Function(context->Resolve(p, reference)) : nullptr;
            const std::string prefix =
                memberContext ? std::string() : SuperPrefixOfCall(object, reference, function);
            Expr e = Primary(prefix + ObjectName(p, reference) + "(" + Arguments(object, function));
            if (function) e.type = function->returns;
            e.call = true;
            st.StatementEnded = true;
            return e;
        }
        case 0x1D: return Literal(in.DWord(), ScriptType::kInt);
        case 0x1E: return Primary(FloatText(in.Float()), ScriptType::kFloat);
        case 0x1F: {
            std::string text;
            for (;;) {
                const std::uint8_t c = in.Byte();
                if (c == 0) break;
                text += static_cast<char>(c);
            }
            return Primary(TUTPackage::QuoteString(text), ScriptType::kString);
        }
        case 0x20: {
            const std::int32_t reference = in.Ref();
            if (reference == 0) return Primary("None", ScriptType::kObject);
            return Primary(ClassOf(p, reference) + "'" + p.GetObjectPath(1, reference) + "'",
                           ScriptType::kObject);
        }
        case 0x21: return Primary("'" + in.Name() + "'", ScriptType::kName);
        case 0x22: {
            const std::int32_t pitch = in.DWord();
            const std::int32_t yaw = in.DWord();
            const std::int32_t roll = in.DWord();
            return Primary(core::Format("rot(%d,%d,%d)", {pitch, yaw, roll}), ScriptType::kRotator);
        }
        case 0x23: {
            const float x = in.Float();
            const float y = in.Float();
            const float z = in.Float();
            return Primary("vect(" + FloatText(x) + "," + FloatText(y) + "," + FloatText(z) + ")",
                           ScriptType::kVector);
        }
        case 0x24: return Literal(in.Byte(), ScriptType::kByte);
        case 0x2C: return Literal(in.Byte(), ScriptType::kInt);
        case 0x25: return Literal(0, ScriptType::kInt);
        case 0x26: return Literal(1, ScriptType::kInt);
        case 0x27: return Primary("True", ScriptType::kBool);
        case 0x28: return Primary("False", ScriptType::kBool);
        case 0x2A: return Primary("None", ScriptType::kObject);
        case 0x2B: in.Byte(); return E();
        case 0x2D: return E();
        case 0x2E: {
            const std::int32_t reference = in.Ref();
            Expr e = Primary(ObjectName(p, reference) + "(" + E().text + ")", ScriptType::kObject);
            e.type.classRef = reference;
            e.type.classPackage = &p;
            return e;
        }
        case 0x2F: {
            const Expr iterator = E();
            const std::uint16_t end = in.Word();
            if (session) {
                session->target = end;
                session->control = iterator.text;
            }
            std::string text = "foreach " + iterator.text;
            st.StatementEnded = false;
            if (st.structured) {
                st.BlockStack.push_back(kForeach);
            } else if (!session || !session->records) {
                text += " {";
            }
            return Primary(text);
        }
        case 0x30: return Primary({});
        case 0x31:
            if (st.structured || (session && session->records)) {
                if (!st.BlockStack.empty()) st.BlockStack.pop_back();
                return Primary({});
            }
            return Primary("}");
        case 0x32:
        case 0x33: {
            in.Ref();
            const Expr left = E();
            const Expr right = E();
            const int precedence = token == 0x32 ? 24 : 26;
            Expr e = Primary(Wrapped(left, left.precedence > precedence) + (token == 0x32 ? "==" : "!=") +
                             Wrapped(right, right.precedence >= precedence));
            e.precedence = precedence;
            return e;
        }
        case 0x34: {
            std::u16string text;
            for (;;) {
                const std::uint16_t c = in.Word();
                if (c == 0) break;
                text += static_cast<char16_t>(c);
            }
            return Primary(TUTPackage::QuoteWideString(text), ScriptType::kString);
        }
        case 0x36: {
            const std::int32_t reference = in.Ref();
            const Expr structure = E();
            Expr e = Primary(Wrapped(structure, structure.precedence > 0) + "." + ObjectName(p, reference));
            e.type = VariableTypeOf(object, reference);
            return e;
        }
        case 0x38: {
            const std::string name = in.Name();
            const FunctionInfo* function = VirtualFunction(object, name, nullptr);
            Expr e = Primary("Global." + name + "(" + Arguments(object, function));
            if (function) e.type = function->returns;
            e.call = true;
            st.StatementEnded = true;
            return e;
        }
        default: break;
    }
    Unknown(object, token);  // 0x03, 0x35, 0x37, 0x5A-0x5F
}

// The conversion tokens, 0x39 to 0x59.
Expr Conversion(TUTObjectClassStruct& object, int token) {
    switch (token) {
        case 0x39:
        case 0x4D: return Cast("vector", object, ScriptType::kVector);
        case 0x3A: return Widened("int", object, ScriptType::kInt);
        case 0x3C:
        case 0x3F: return Widened("float", object, ScriptType::kFloat);
        case 0x3B:
        case 0x3E:
        case 0x45:
        case 0x47:
        case 0x48:
        case 0x4B:
        case 0x4F:
        case 0x51: return Cast("bool", object, ScriptType::kBool);
        case 0x3D:
        case 0x43: return Cast("byte", object, ScriptType::kByte, Expr::kNumeric);
        case 0x40:
        case 0x49: return Cast("byte", object, ScriptType::kByte);
        case 0x44: return Cast("int", object, ScriptType::kInt, Expr::kNumeric);
        case 0x41:
        case 0x4A: return Cast("int", object, ScriptType::kInt);
        case 0x42:
        case 0x4C: return Cast("float", object, ScriptType::kFloat);
        case 0x46: return Cast("name", object, ScriptType::kName);
        case 0x4E:
        case 0x50: return Cast("rotator", object, ScriptType::kRotator);
        default: return Cast("string", object, ScriptType::kString, Expr::kToString);  // 0x52-0x59
    }
}

Expr Member(TUTObjectClassStruct& object, TokenReader& in, bool classContext) {
    const Expr context = Decode(object);
    in.Word();
    in.Byte();
    t_memberContext = &context.type;
    Expr member = Decode(object);
    t_memberContext = nullptr;
    // A constant reached through an object is the constant alone.
    if (member.literal || (!member.text.empty() && (member.text[0] == '"' || member.text[0] == '\''))) {
        return member;
    }
    // Through an object a static function may be called with or without .static.; the bytecode
    // does not say which was written.
    const std::string separator = classContext && member.call ? ".static." : ".";
    Expr e = member;
    e.text = Wrapped(context, context.precedence > 0) + separator + member.text;
    e.precedence = 0;
    return e;
}

Expr DecodeAtLevel(TUTObjectClassStruct& object);

Expr Decode(TUTObjectClassStruct& object) {
    EnterTokenLevel(object.state);
    Expr e = DecodeAtLevel(object);
    --object.state.Depth;
    return e;
}

Expr DecodeAtLevel(TUTObjectClassStruct& object) {
    TokenReader in(object);
    const int token = in.Byte();
    TUTDecompileSession* session = object.state.session;
    if (session && object.state.Depth == 1) {
        session->topToken = token;
        session->control.clear();
    }
    // Native calls and conversions, most of the tokens of any code, are decoded here rather than
    // below the token switch: fewer and smaller frames between nested calls.
    if (token >= 0x39 && token <= 0x59) {
        t_memberContext = nullptr;
        return Conversion(object, token);
    }
    if (token >= 0x60) {
        const bool onObject = t_memberContext != nullptr;
        t_memberContext = nullptr;
        const int index = token <= 0x6F ? (token - 0x60) * 256 + in.Byte() : token;
        return NativeCall(in, index, onObject);
    }
    return DecodeToken(object, in, token);
}

}  // namespace

std::string JumpLabel(int position) { return core::Format("JL%-4.4x", {position}); }

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
    text += Arguments(object, nullptr);
}

std::string DecompileToken(TUTObjectClassStruct& object, int parentPrecedence) {
    const Expr e = Decode(object);
    const bool wrap = object.state.Depth > 0 && e.precedence > parentPrecedence &&
                      e.precedence != 50 && parentPrecedence != kStatementPrecedence;
    return wrap ? "(" + e.text + ")" : e.text;
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
    DecompileOptions options;
    options.structured = structured;
    options.loops = false;
    return DecompileBody(object, options);
}

namespace {

// Prepares the session of one body: who prints (function or state), where its names are
// looked up, and the context (the caller's, or one of the package alone).
void OpenSession(TUTDecompileSession& session, TUTObjectClassStruct& object,
                 const DecompileOptions& options) {
    TUTPackage& p = object.package();
    if (options.context) {
        session.context = options.context;
    } else {
        session.ownedContext = std::make_unique<DecompileContext>(p);
        session.context = session.ownedContext.get();
    }
    session.self = {&p, object.exportIndex()};
    const TUTExportTableObjectData& entry = object.exportEntry();
    const bool isFunction = entry.GetClassName() == "Function";
    if (isFunction) {
        session.selfFunction = session.context->Function(session.self);
        if (entry.PackageIndex > 0) session.scope = {&p, entry.PackageIndex - 1};
    } else {
        session.scope = session.self;
    }
    if (session.scope.Valid()) {
        // A damaged package may name an outer past its export table: the function then has none.
        const TUTExportTableObjectData* scope = p.GetExport(session.scope.exportIndex);
        if (scope) {
            session.isState = scope->GetClassName() == "State";
        } else {
            session.scope = {};
        }
    }
}

// The compiler closes every function with a return and all state code with a stop; neither is
// part of the program as written (a non-void function would not even compile with it).
bool IsClosingToken(const StatementRecord& statement, std::int32_t scriptSize) {
    return statement.end >= scriptSize &&
           ((statement.token == 0x04 &&
             (statement.text == "return" || statement.text.rfind("return;", 0) == 0)) ||
            statement.token == 0x08);
}

}  // namespace

std::string DecompileExpressionAt(TUTObjectClassStruct& object, std::int32_t offset,
                                  DecompileContext* context) {
    TUTDecompilerState& st = object.state;
    st.Depth = 0;
    st.structured = false;
    TUTDecompileSession session;
    DecompileOptions options;
    options.context = context;
    OpenSession(session, object, options);
    st.session = &session;
    struct EndSession {
        TUTDecompilerState& st;
        ~EndSession() { st.session = nullptr; }
    } end{st};
    object.RewindScript();
    std::string text;
    while (st.Position <= offset && st.Position < object.ScriptSize()) text = DecompileToken(object, 255);
    return text;
}

DecompiledBody DecompileBody(TUTObjectClassStruct& object, const DecompileOptions& options) {
    const bool records = options.structured && options.loops;
    const bool structured = options.structured && !records;
    TUTDecompilerState& st = object.state;
    st.JumpTargets.clear();
    st.LabelTable.clear();
    st.BlockStack.clear();
    st.Markers.clear();
    st.Indent.clear();
    st.Depth = 0;
    st.structured = structured;

    DecompiledBody body;
    TUTDecompileSession session;
    session.records = records;
    std::vector<StatementRecord> statements;
    try {
        OpenSession(session, object, options);
        st.session = &session;
        object.RewindScript();
        while (st.Position < object.ScriptSize()) {
            st.StatementEnded = false;
            StatementRecord record;
            record.start = st.Position;
            if (records) {
                st.StatementStart = st.Position;
                record.text = DecompileToken(object, 255);
            } else {
                record.text = DecompileStatement(object);
            }
            record.end = st.Position;
            record.token = session.topToken;
            record.target = session.target;
            record.control = session.control;
            record.ended = st.StatementEnded;
            statements.push_back(std::move(record));
        }
    } catch (const DecompileError& e) {
        body.error = e.what();
        if (!e.partialText.empty()) {
            StatementRecord failed;
            failed.start = failed.end = st.StatementStart;
            failed.text = e.partialText;
            statements.push_back(std::move(failed));
        }
    } catch (const std::exception& e) {
        body.error = e.what();
    }
    st.session = nullptr;

    std::vector<std::pair<std::int32_t, std::string>> labels;
    for (const auto& [name, position] : st.LabelTable) {
        labels.emplace_back(position, object.package().GetName(name));
    }
    const auto isLabelled = [&](std::int32_t position) {
        // With loops rebuilt, jumps to the end are the ends of blocks, not labels.
        return (!records && std::find(st.JumpTargets.begin(), st.JumpTargets.end(), static_cast<std::uint16_t>(position)) !=
                   st.JumpTargets.end()) ||
               std::any_of(labels.begin(), labels.end(), [&](const auto& l) { return l.first == position; });
    };
    // The closing token is the last statement but for a label table (and nothing tokens) after it.
    std::size_t last = statements.size();
    while (last > 0 && statements[last - 1].text.empty() && statements[last - 1].token != 0x04 &&
           statements[last - 1].token != 0x08) {
        --last;
    }
    if (body.error.empty() && last > 0 &&
        IsClosingToken(statements[last - 1], statements[last - 1].token == 0x08 ? statements[last - 1].end
                                                                                 : object.ScriptSize()) &&
        !isLabelled(statements[last - 1].start)) {
        if (records) {
            // Kept as an empty statement: jumps to its position still end blocks there.
            statements[last - 1].text.clear();
            statements[last - 1].token = 0x0B;
        } else {
            // Closing braces printed after it stay.
            std::string& text = statements[last - 1].text;
            const std::size_t lineEnd = text.find("\r\n");
            text = lineEnd == std::string::npos ? std::string() : text.substr(lineEnd + 2);
        }
    }

    if (records) {
        body.text = BuildStructuredBody(statements, labels, object.ScriptSize());
    } else {
        std::string lines;
        for (const StatementRecord& statement : statements) {
            if (statement.text.empty()) continue;
            const std::int32_t start = statement.start;
            const auto target = std::find(st.JumpTargets.begin(), st.JumpTargets.end(),
                                          static_cast<std::uint16_t>(start));
            if (target != st.JumpTargets.end() && *target == start) {
                lines += JumpLabel(start) + ":\r\n";
                st.JumpTargets.erase(target);
            }
            for (const auto& [position, name] : labels) {
                if (position == start) lines += name + ":\r\n";
            }
            lines += IndentText("\t", statement.text) + "\r\n";
        }
        body.text = std::move(lines);
    }
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
