#pragma once

#include <stdexcept>
#include <string>

// Script bytecode back to UnrealScript text: one token decoder that prints an expression or
// statement recursively, a statement driver that adds semicolons, indentation and braces, and a
// body assembler that adds jump labels and state labels. Structured mode rebuilds if/else,
// switch and foreach blocks; flat mode prints every jump as a goto to a label.
namespace torvane::unrealpkg {

class TUTObjectClassStruct;
class DecompileContext;

// Nested tokens deeper than this end the decompile with an error (hostile bytecode).
inline constexpr int kMaxTokenDepth = 400;

class DecompileError final : public std::runtime_error {
public:
    explicit DecompileError(const std::string& message, std::string partial = {})
        : std::runtime_error(message), partialText(std::move(partial)) {}
    std::string partialText;  // what the failing token printed before the failure
};

std::string DecompileToken(TUTObjectClassStruct& object, int parentPrecedence);
void DecompileParams(TUTObjectClassStruct& object, std::string& text);
std::string DecompileStatement(TUTObjectClassStruct& object);

struct DecompiledBody {
    std::string text;   // the lines produced, also those before a failure
    std::string error;  // empty when the whole body decompiled
};

struct DecompileOptions {
    bool structured = true;  // if/else, switch and foreach as blocks; false: every jump a goto
    bool loops = true;       // structured only: for, while, do-until, break and continue rebuilt
    // Types, declarations and natives of the packages at hand (ut_decompiler_context.h); when
    // null, those of the body's own package and the fixed native table.
    DecompileContext* context = nullptr;
};

// The whole body; the object must be read and parsed. Never throws for bad bytecode: the error
// is returned with the text made up to it.
DecompiledBody DecompileBody(TUTObjectClassStruct& object, const DecompileOptions& options);
// The same with loops printed as labels and gotos.
DecompiledBody DecompileBody(TUTObjectClassStruct& object, bool structured);

// The expression that starts at offset of the script (a class's replication condition), with the
// types of the context (null: the package alone). Tokens are decoded from the script start until
// one reaches past offset; throws on bad bytecode.
std::string DecompileExpressionAt(TUTObjectClassStruct& object, std::int32_t offset,
                                  DecompileContext* context);

// Walks the whole bytecode to find where it ends; throws on bad bytecode.
void SkipBytecode(TUTObjectClassStruct& object);

// Every line of text gets prefix in front; a text not ending in CR LF gives a result without it.
std::string IndentText(const std::string& prefix, const std::string& text);

}  // namespace torvane::unrealpkg
