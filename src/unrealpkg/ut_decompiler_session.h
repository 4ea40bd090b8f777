#pragma once

// Inside the decompiler: what one DecompileBody call knows while it prints (types, natives, the
// open switches), and the statement records that loop rebuilding arranges into blocks.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "unrealpkg/ut_decompiler_context.h"

namespace torvane::unrealpkg {

class TUTObjectClassStruct;

// One statement as the bytecode holds it, for loop rebuilding.
struct StatementRecord {
    std::int32_t start = 0;
    std::int32_t end = 0;
    int token = -1;              // the statement's top token
    std::uint16_t target = 0;    // jumps (0x06, 0x07), foreach (0x2F): the position named
    std::string text;            // the statement as printed, without ";"
    bool ended = false;          // takes a ";"
    std::string control;         // condition, switch value, case value, foreach expression
};

struct TUTDecompileSession {
    DecompileContext* context = nullptr;
    std::unique_ptr<DecompileContext> ownedContext;
    ObjectId self;                            // the function or state printed
    const FunctionInfo* selfFunction = nullptr;
    ObjectId scope;                           // the class or state that holds it
    bool isState = false;
    bool records = false;  // statements are collected for loop rebuilding

    // Set by the top token of each statement.
    int topToken = -1;
    std::uint16_t target = 0;
    std::string control;

    // Open switches: the enum of the value and the position of the next case label.
    struct Switch {
        const std::vector<std::string>* enumValues = nullptr;
        std::int32_t nextCase = -1;  // -1: the first case follows; 0xFFFF: after the default
    };
    std::vector<Switch> switches;
};

// The body text from statement records, with for, while, do-until, break and continue rebuilt
// (ut_decompiler_loops.cpp). labelNames: (position, name) of the state's labels.
std::string BuildStructuredBody(const std::vector<StatementRecord>& statements,
                                const std::vector<std::pair<std::int32_t, std::string>>& labelNames,
                                std::int32_t scriptSize);

// "JL" and the position in at least four upper-case hexadecimal digits.
std::string JumpLabel(int position);

}  // namespace torvane::unrealpkg
