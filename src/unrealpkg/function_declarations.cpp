#include "unrealpkg/function_declarations.h"

#include <cstdint>

#include "core/text.h"
#include "unrealpkg/member_declarations.h"
#include "unrealpkg/probe_names.h"
#include "unrealpkg/ut_decompiler.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_script_objects.h"

namespace torvane::unrealpkg {
namespace {

constexpr std::uint32_t kFuncDefined = 0x2;
constexpr std::uint32_t kFuncNative = 0x400;
constexpr std::uint32_t kFuncPreOperator = 0x10;
constexpr std::uint32_t kFuncOperator = 0x1000;
constexpr std::uint32_t kFuncEvent = 0x800;
constexpr std::uint32_t kPropParm = 0x80;
constexpr std::uint32_t kPropReturnParm = 0x400;

struct FunctionWord {
    std::uint32_t bit;
    const char* word;
};

constexpr FunctionWord kFunctionWords[] = {
    {0x2000, "static "},     {0x1, "final "},   {0x4, "iterator "}, {0x8, "latent "},
    {0x20, "singular "},     {0x100, "simulated "}, {0x200, "exec "}, {0x800, "event "},
    {0x4000, "noexport "},   {0x8000, "const "}, {0x10000, "invariant "},
};

std::string FunctionModifiers(TUTObjectClassFunction& function) {
    const std::uint32_t flags = function.FunctionFlags();
    std::string text;
    if (flags & kFuncNative) {
        text += function.iNative() == 0 ? std::string("native ")
                                        : "native(" + std::to_string(function.iNative()) + ") ";
    }
    for (const FunctionWord& word : kFunctionWords) {
        if (flags & word.bit) text += word.word;
    }
    if (flags & kFuncOperator) {
        if (flags & kFuncPreOperator) {
            text += "preoperator ";
        } else if (function.OperatorPrecedence() != 0) {
            text += "operator(" + std::to_string(function.OperatorPrecedence()) + ") ";
        } else {
            text += "postoperator ";
        }
    }
    if (!(flags & (kFuncOperator | kFuncEvent))) text += "function ";
    return text;
}

// The decompiled body followed by the closing brace: the compiler's own closing statement (the
// last line) is dropped. A body that failed keeps what was made and names the fault instead.
// Blank lines (tabs at most) at the end of text go.
std::string WithoutTrailingBlankLines(std::string text) {
    for (;;) {
        const std::string kept = WithoutLastLine(text);
        if (kept.empty() || text.find_first_not_of("\t\r\n", kept.size()) != std::string::npos) return text;
        text = kept;
    }
}

std::string BodyAndClose(TUTObjectClassStruct& object, const std::string& text, bool structured,
                         DecompileContext* context) {
    object.RewindScript();
    DecompileOptions options;
    options.structured = structured;
    options.loops = structured;
    options.context = context;
    const DecompiledBody body = DecompileBody(object, options);
    if (!body.error.empty()) return text + body.text + "\t// " + body.error + "\r\n}\r\n";
    // The decompiler leaves out the compiler's own closing return or stop.
    const std::string lines = text + body.text;
    return WithoutTrailingBlankLines(lines) + "}\r\n";
}

// IndentText without tabs on empty lines.
std::string IndentLines(const std::string& text) {
    std::string indented = IndentText("\t", text);
    for (std::size_t at = 0; (at = indented.find("\t\r\n", at)) != std::string::npos;) {
        if (at == 0 || indented.compare(at - 2, 2, "\r\n") == 0) {
            indented.erase(at, 1);
        } else {
            ++at;
        }
    }
    return indented;
}

}  // namespace

std::string WithoutLastLine(const std::string& text) {
    if (text.size() < 3) return {};
    const std::size_t before = text.rfind("\r\n", text.size() - 3);
    return before == std::string::npos ? std::string() : text.substr(0, before + 2);
}

std::string FunctionDeclaration(TUTObjectClassFunction& function, bool structured, DecompileContext* context) {
    std::string text;
    try {
        function.RewindScript();
        const std::string name = function.FriendlyName();
        const std::string modifiers = FunctionModifiers(function);
        std::string returnType, parameters, locals;
        try {
            WalkFieldChain(function.package(), function.Children(), [&](TUTObject& child) {
                auto* property = dynamic_cast<TUTObjectClassProperty*>(&child);
                if (!property) return false;
                const std::uint32_t flags = property->PropertyFlags();
                if ((flags & kPropParm) && (flags & kPropReturnParm)) {
                    returnType = PropertyModifiers(*property, name) + TypeText(*property);
                } else if (flags & kPropParm) {
                    parameters += PropertyDeclaration(*property, "", name) + ", ";
                } else {
                    locals += "\t" + PropertyDeclaration(*property, "local", name) + ";\r\n";
                }
                return true;
            });
        } catch (const std::exception&) {
            // A member that cannot be read ends the list.
        }
        if (parameters.size() >= 2) parameters.resize(parameters.size() - 2);
        if (!returnType.empty()) returnType += ' ';
        if (!locals.empty()) locals += "\r\n";
        text = modifiers + returnType + name + " (" + parameters + ")";
        if (!(function.FunctionFlags() & kFuncDefined)) return text + ";\r\n";
        return BodyAndClose(function, text + "\r\n{\r\n" + locals, structured, context);
    } catch (const std::exception&) {
        return text;
    }
}

std::string StateDeclaration(TUTObjectClassState& state, bool structured, DecompileContext* context) {
    state.RewindScript();
    const std::string name = state.GetObjectName();
    std::string declarations, ignored, functions;
    WalkFieldChain(state.package(), state.Children(), [&](TUTObject& child) {
        if (auto* function = dynamic_cast<TUTObjectClassFunction*>(&child)) {
            if (function->FunctionFlags() & kFuncDefined) {
                functions = FunctionDeclaration(*function, structured, context) + "\r\n" + functions;
            } else {
                ignored += ", " + function->GetObjectName();
            }
        } else if (auto* property = dynamic_cast<TUTObjectClassProperty*>(&child)) {
            declarations += PropertyDeclaration(*property, "local", name) + ";\r\n";
        } else if (auto* constant = dynamic_cast<TUTObjectClassConst*>(&child)) {
            declarations += ConstDeclaration(*constant) + ";\r\n";
        } else if (auto* enumeration = dynamic_cast<TUTObjectClassEnum*>(&child)) {
            declarations += EnumDeclaration(*enumeration) + ";\r\n\r\n";
        } else if (auto* structure = dynamic_cast<TUTObjectClassStruct*>(&child);
                   structure && !dynamic_cast<TUTObjectClassState*>(&child)) {
            declarations += StructDeclaration(*structure) + ";\r\n\r\n";
        }
        return true;
    });
    // Probe events are ignored through the state's mask, not through functions.
    for (const std::string& probe : IgnoredProbes(state.IgnoreMask())) ignored += ", " + probe;
    if (!ignored.empty()) ignored = "ignores " + ignored.substr(1) + ";\r\n\r\n";
    if (!declarations.empty()) declarations += "\r\n";
    const std::string inner = declarations + ignored + functions;

    const std::uint32_t flags = state.StateFlags();
    std::string header;
    if (flags & 0x2) header += "auto ";
    if (flags & 0x4) header += "simulated ";
    header += (flags & 0x1) ? "state() " : "state ";
    header += name;
    // A state overriding the parent class's state of its name has it as super; the source says
    // nothing then.
    const std::string super = OwnName(state.package(), state.SuperField());
    if (state.SuperField() != 0 && !core::EqualsIgnoringCase(super, name)) header += " expands " + super;
    return BodyAndClose(state, header + "\r\n{\r\n" + IndentLines(inner), structured, context);
}

}  // namespace torvane::unrealpkg
