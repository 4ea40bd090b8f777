#include "intel/class_symbols.h"

#include "intel/script_lexer.h"

namespace torvane::intel {
namespace {

void AppendWord(std::string& out, std::string_view word) {
    if (word.empty()) return;
    if (!out.empty()) out += ' ';
    out += word;
}

std::string ParameterText(const Parameter& parameter) {
    std::string text;
    AppendWord(text, parameter.modifiers);
    AppendWord(text, parameter.type);
    AppendWord(text, parameter.name);
    if (!parameter.arraySize.empty()) text += "[" + parameter.arraySize + "]";
    return text;
}

}  // namespace

std::string_view KindText(SymbolKind kind) {
    switch (kind) {
        case SymbolKind::Variable: return "variable";
        case SymbolKind::Constant: return "constant";
        case SymbolKind::Enum: return "enum";
        case SymbolKind::EnumValue: return "enum value";
        case SymbolKind::Struct: return "struct";
        case SymbolKind::Function: return "function";
        case SymbolKind::State: return "state";
        case SymbolKind::Label: return "label";
    }
    return "";
}

std::string FunctionSignature(const Symbol& function) {
    std::string text = function.modifiers;
    AppendWord(text, function.type);
    AppendWord(text, function.name);
    text += '(';
    for (std::size_t i = 0; i < function.parameters.size(); ++i) {
        if (i) text += ", ";
        text += ParameterText(function.parameters[i]);
    }
    text += ')';
    return text;
}

std::string DeclarationText(const Symbol& symbol) {
    std::string text;
    switch (symbol.kind) {
        case SymbolKind::Function: return FunctionSignature(symbol);
        case SymbolKind::Variable: {
            text = "var";
            std::string_view modifiers = symbol.modifiers;
            if (!modifiers.empty() && modifiers.front() == '(') {
                const std::size_t close = modifiers.find(')');
                text += modifiers.substr(0, close == std::string_view::npos ? modifiers.size() : close + 1);
                modifiers = close == std::string_view::npos ? std::string_view{} : modifiers.substr(close + 1);
                while (!modifiers.empty() && modifiers.front() == ' ') modifiers.remove_prefix(1);
            }
            AppendWord(text, modifiers);
            AppendWord(text, symbol.type);
            AppendWord(text, symbol.name);
            if (!symbol.arraySize.empty()) text += "[" + symbol.arraySize + "]";
            return text;
        }
        case SymbolKind::Constant: return "const " + symbol.name + " = " + symbol.type;
        case SymbolKind::Enum: return "enum " + symbol.name;
        case SymbolKind::EnumValue: return symbol.type + "." + symbol.name;
        case SymbolKind::Struct:
            text = "struct";
            AppendWord(text, symbol.modifiers);
            AppendWord(text, symbol.name);
            if (!symbol.type.empty()) text += " extends " + symbol.type;
            return text;
        case SymbolKind::State:
            AppendWord(text, symbol.modifiers);
            AppendWord(text, "state");
            AppendWord(text, symbol.name);
            if (!symbol.type.empty()) text += " extends " + symbol.type;
            return text;
        case SymbolKind::Label: return symbol.name + ":";
    }
    return text;
}

bool HasModifier(std::string_view modifiers, std::string_view word) {
    std::size_t i = 0;
    while (i < modifiers.size()) {
        while (i < modifiers.size() && modifiers[i] == ' ') ++i;
        std::size_t j = i;
        while (j < modifiers.size() && modifiers[j] != ' ' && modifiers[j] != '(') ++j;
        if (j > i && IsWord(modifiers.substr(i, j - i), word)) return true;
        // Skip a parenthesised part ("native(12)", "(Category)") with the word it belongs to.
        while (j < modifiers.size() && modifiers[j] != ' ') ++j;
        i = j;
    }
    return false;
}

}  // namespace torvane::intel
