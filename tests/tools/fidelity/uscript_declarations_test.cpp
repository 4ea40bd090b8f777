// The declaration comparison: texts that mean the same declarations read alike, texts that differ
// in meaning do not (the comparison must not hide a fault of the rebuilt classes).
#include <gtest/gtest.h>

#include "fidelity/uscript_declarations.h"

namespace torvane::fidelity {
namespace {

bool SameDeclarations(const ClassDeclarations& a, const ClassDeclarations& b) {
    return a.header == b.header && a.modifiers == b.modifiers && a.variables == b.variables &&
           a.constants == b.constants && a.enums == b.enums && a.structs == b.structs &&
           a.functions == b.functions && a.states == b.states && a.replication == b.replication &&
           a.defaults == b.defaults;
}

struct ComparisonCase {
    const char* left;
    const char* right;
    bool same;
};

TEST(DeclarationComparisonTest, NormalisesSpellingButNotMeaning) {
    const ComparisonCase cases[] = {
        // comments, blank lines, spacing and the letter case of keywords and names
        {"class A extends B; // note\r\n\r\nvar int X;\r\n", "CLASS a EXPANDS b;\nVAR   INT x;", true},
        {"class A extends B;\nvar int X;", "class A extends B;\nvar float X;", false},
        // modifier order
        {"class A extends B native abstract;", "class A extends B abstract native;", true},
        {"class A extends B native;", "class A extends B native abstract;", false},
        // replication conditions: parentheses the precedence makes redundant
        {"class A extends B; replication { reliable if ( Role == ROLE_Authority && (bA || bB) ) X; }",
         "class A extends B; replication { reliable if ( (Role==ROLE_Authority) && (bA||bB) ) X; }", true},
        {"class A extends B; replication { reliable if ( a || b && c ) X; }",
         "class A extends B; replication { reliable if ( a || (b && c) ) X; }", true},
        {"class A extends B; replication { reliable if ( (a || b) && c ) X; }",
         "class A extends B; replication { reliable if ( a || b && c ) X; }", false},
        {"class A extends B; replication { reliable if ( a != b == c ) X; }",
         "class A extends B; replication { reliable if ( a != (b == c) ) X; }", true},
        {"class A extends B; replication { reliable if ( Role == ROLE_Authority ) X; }",
         "class A extends B; replication { reliable if ( Role == 4 ) X; }", false},
        // reliability counts for functions; the package does not record it for variables
        {"class A extends B; replication { reliable if ( Role < ROLE_Authority ) Go; } function Go();",
         "class A extends B; replication { unreliable if ( Role < ROLE_Authority ) Go; } function Go();", false},
        {"class A extends B; replication { reliable if ( Role < ROLE_Authority ) X; }",
         "class A extends B; replication { unreliable if ( Role < ROLE_Authority ) X; }", true},
        // function signatures, not bodies
        {"class A extends B; function int F(float V) { return 1; }",
         "class A extends B; function int F(float V) { return 2; }", true},
        {"class A extends B; function int F(float V);", "class A extends B; function int F(int V);", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SameDeclarations(ReadClassDeclarations(c.left), ReadClassDeclarations(c.right)), c.same)
            << c.left << "\n  vs\n" << c.right;
    }
}

}  // namespace
}  // namespace torvane::fidelity
