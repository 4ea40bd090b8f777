#include "unrealpkg/ut_decompiler.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "support/package_builder.h"
#include "support/temp_dir.h"
#include "unrealpkg/package_commands.h"
#include "unrealpkg/ut_decompiler_context.h"
#include "unrealpkg/ut_object.h"
#include "unrealpkg/ut_script_objects.h"

namespace torvane::unrealpkg {
namespace {

using testing::Bytes;
using testing::PackageSpec;

// Names of the test package.
enum Name { kNone, kCore, kObject, kClass, kPackage, kFunction, kIntProperty, kMyClass,
            kTestFunc, kA, kB, kC, kSpawn, kOther };

// Export references of the test package: 1 MyClass, 2 the function under test, 3-5 A, B, C,
// 6 Other (a class), 7 Other.TestFunc.
enum Ref { kMyClassRef = 1, kFuncRef = 2, kARef = 3, kBRef = 4, kCRef = 5, kOtherRef = 6,
           kOtherFuncRef = 7 };

// Bytecode with its size in memory units (object references and names count four).
class Code {
public:
    Code& Tok(int token) { bytes_.Byte(token); units_ += 1; return *this; }
    Code& Byte(int value) { return Tok(value); }
    Code& Word(int value) { bytes_.Word(value); units_ += 2; return *this; }
    Code& Ref(int reference) { bytes_.Compact(reference); units_ += 4; return *this; }
    Code& Int(std::int32_t value) { bytes_.DWord(static_cast<std::uint32_t>(value)); units_ += 4; return *this; }
    Code& Float(float value) { bytes_.Float(value); units_ += 4; return *this; }
    Code& Var(int reference) { return Tok(0x00).Ref(reference); }
    Code& EndParms() { return Tok(0x16); }
    Code& Claim(int extraUnits) { units_ += extraUnits; return *this; }  // a ScriptSize that lies
    int units() const { return units_; }
    const std::string& bytes() const { return bytes_.str(); }

private:
    Bytes bytes_;
    int units_ = 0;
};

std::string FunctionSerial(const Code& code, int superField) {
    Bytes serial;
    serial.Compact(kNone);                           // no tagged properties
    serial.Compact(superField).Compact(0);           // SuperField, Next
    serial.Compact(0).Compact(0).Compact(kNone);     // ScriptText, Children, FriendlyName
    serial.DWord(1).DWord(0).DWord(code.units());    // Line, TextPos, ScriptSize
    serial.Raw(code.bytes());
    serial.Word(0).Byte(0).DWord(0);                 // iNative, OperatorPrecedence, FunctionFlags
    return serial.str();
}

class DecompilerTest : public ::testing::Test {
protected:
    // Builds a package whose export 2 is a function named functionName with the code.
    TUTObjectClassStruct& Function(const Code& code, Name functionName = kTestFunc,
                                   int superField = 0) {
        PackageSpec spec;
        spec.names = {"None", "Core", "Object", "Class", "Package", "Function", "IntProperty",
                      "MyClass", "TestFunc", "A", "B", "C", "Spawn", "Other"};
        spec.imports = {{kCore, kPackage, 0, kCore},
                        {kCore, kClass, -1, kObject},
                        {kCore, kClass, -1, kFunction},
                        {kCore, kClass, -1, kIntProperty}};
        const std::string local = std::string(1, '\0');
        spec.exports = {
            {0, -2, 0, kMyClass, 0, ""},
            {-3, 0, functionOuter_, functionName, 0, FunctionSerial(code, superField)},
            {-4, 0, kFuncRef, kA, 0, local},
            {-4, 0, kFuncRef, kB, 0, local},
            {-4, 0, kFuncRef, kC, 0, local},
            {0, -2, 0, kOther, 0, ""},
            {-3, 0, kOtherRef, kTestFunc, 0, ""},
        };
        package_ = std::make_unique<TUTPackage>(dir_.Write("Code.u", testing::BuildPackage(spec)));
        TUTObject& object = package_->GetExport(kFuncRef - 1)->GetObject();
        object.ReadObject(true);
        read_ = &object;
        return dynamic_cast<TUTObjectClassStruct&>(object);
    }
    void TearDown() override {
        if (read_) read_->Release();
    }
    std::string Body(const Code& code, bool structured = true, Name name = kTestFunc,
                     int superField = 0) {
        const DecompiledBody body = DecompileBody(Function(code, name, superField), structured);
        EXPECT_EQ(body.error, "");
        return body.text;
    }
    // With loops rebuilt, as the export and pkg decompile print.
    std::string Rebuilt(const Code& code) {
        const DecompiledBody body = DecompileBody(Function(code), DecompileOptions{});
        EXPECT_EQ(body.error, "");
        return body.text;
    }

    testing::TempDir dir_;
    std::unique_ptr<TUTPackage> package_;
    TUTObject* read_ = nullptr;
    int functionOuter_ = kMyClassRef;  // the function's outer (PackageIndex)
};

TEST_F(DecompilerTest, PrecedenceParenthesesBothWays) {
    Code sum;  // A = B + C * A
    sum.Tok(0x0F).Var(kARef).Tok(146).Var(kBRef).Tok(144).Var(kCRef).Var(kARef).EndParms().EndParms();
    EXPECT_EQ(Body(sum), "\tA=B + C * A;\r\n");
    Code product;  // A = (B + C) * A
    product.Tok(0x0F).Var(kARef).Tok(144).Tok(146).Var(kBRef).Var(kCRef).EndParms().Var(kARef).EndParms();
    EXPECT_EQ(Body(product), "\tA=(B + C) * A;\r\n");
}

TEST_F(DecompilerTest, StatementLevelOperatorIsNeverParenthesized) {
    Code code;  // A += B, at statement level
    code.Tok(161).Var(kARef).Var(kBRef).EndParms();
    EXPECT_EQ(Body(code), "\tA += B;\r\n");
}

TEST_F(DecompilerTest, StructComparisonHasNoBlanks) {
    Code code;
    code.Tok(0x04).Tok(0x32).Ref(kOtherRef).Var(kARef).Var(kBRef);
    code.Tok(0x04).Tok(0x33).Ref(kOtherRef).Var(kARef).Var(kBRef);
    EXPECT_EQ(Body(code), "\treturn A==B;\r\n\treturn A!=B;\r\n");
}

Code IfWithoutElse() {
    Code code;  // if (A) B = 0; C = 1; return;
    code.Tok(0x07).Word(15).Var(kARef);   // 0..8
    code.Tok(0x0F).Var(kBRef).Tok(0x25);  // 8..15
    code.Tok(0x0F).Var(kCRef).Tok(0x26);  // 15..22
    code.Tok(0x04).Tok(0x0B);             // 22..24
    return code;
}

TEST_F(DecompilerTest, IfWithoutElseClosesBeforeTheFollowingCode) {
    EXPECT_EQ(Body(IfWithoutElse()), "\tif ( A )\r\n\t{\r\n\t\tB=0;\r\n\t}\r\n\tC=1;\r\n");
}

TEST_F(DecompilerTest, FlatModeLabelsEveryJumpTarget) {
    EXPECT_EQ(Body(IfWithoutElse(), false),
              "\tif (! A ) goto JL000F;\r\n\tB=0;\r\nJL000F:\r\n\tC=1;\r\n");
}

TEST_F(DecompilerTest, IfElseInStructuredMode) {
    Code code;  // if (A) B = 0; else B = 1; return;
    code.Tok(0x07).Word(18).Var(kARef);   // 0..8
    code.Tok(0x0F).Var(kBRef).Tok(0x25);  // 8..15
    code.Tok(0x06).Word(25);              // 15..18
    code.Tok(0x0F).Var(kBRef).Tok(0x26);  // 18..25
    code.Tok(0x04).Tok(0x0B);             // 25..27
    EXPECT_EQ(Body(code),
              "\tif ( A )\r\n\t{\r\n\t\tB=0;\r\n\t}\r\n\telse\r\n\t{\r\n\t\tB=1;\r\n\t}\r\n");
}

TEST_F(DecompilerTest, StatementSpanningAJumpTargetGetsAComment) {
    Code code;
    code.Tok(0x06).Word(6);                        // 0..3: goto into the next statement
    code.Tok(0x0F).Var(kARef).Var(kBRef);          // 3..14
    EXPECT_EQ(Body(code, false),
              "\tgoto JL0006;\r\n\tA=B;\r\n"
              "\t// There are 1 jump destination(s) inside the last statement!\r\n");
}

TEST_F(DecompilerTest, NativeCallsByExtendedIndex) {
    Code code;
    code.Tok(0x61).Byte(0x02).Var(kARef).Var(kBRef).EndParms();  // native 258
    EXPECT_EQ(Body(code), "\tClassIsChildOf(A,B);\r\n");
    Code unknown;
    unknown.Tok(0x63).Byte(0x00).Var(kARef).EndParms();  // native 768 is not in the table
    EXPECT_EQ(Body(unknown), "\tUnknownFunction768(A);\r\n");
}

TEST_F(DecompilerTest, SameNamedNativeGetsTheSuperPrefix) {
    Code code;
    code.Tok(0x61).Byte(0x16).Var(kARef).EndParms();  // native 278, Spawn
    EXPECT_EQ(Body(code, true, kSpawn), "\tSuper.Spawn(A);\r\n");
    EXPECT_EQ(Body(code, true, kTestFunc), "\tSpawn(A);\r\n");
}

TEST_F(DecompilerTest, FinalCallPrefixes) {
    Code recursive;
    recursive.Tok(0x1C).Ref(kFuncRef).EndParms();
    EXPECT_EQ(Body(recursive), "\tTestFunc();\r\n");
    Code parent;
    parent.Tok(0x1C).Ref(kOtherFuncRef).EndParms();
    EXPECT_EQ(Body(parent, true, kTestFunc, kOtherFuncRef), "\tSuper.TestFunc();\r\n");
    EXPECT_EQ(Body(parent, true, kTestFunc, 0), "\tSuper(Other).TestFunc();\r\n");
}

TEST_F(DecompilerTest, LiteralsAndConversions) {
    Code code;
    code.Tok(0x0F).Var(kARef).Tok(0x1D);
    for (int b : {0xFE, 0xFF, 0xFF, 0xFF}) code.Byte(b);  // int -2, counts 4 units
    code.Tok(0x0F).Var(kBRef).Tok(0x20).Ref(kOtherRef);
    code.Tok(0x0F).Var(kBRef).Tok(0x20).Ref(0);
    code.Tok(0x0F).Var(kCRef).Tok(0x1F).Byte('h').Byte('"').Byte(0);
    code.Tok(0x0F).Var(kCRef).Tok(0x53).Var(kARef);
    EXPECT_EQ(Body(code), "\tA=-2;\r\n\tB=Class'Other';\r\n\tB=None;\r\n\tC=\"h\\\"\";\r\n"
                          "\tC=string(A);\r\n");
}

TEST_F(DecompilerTest, InvalidNativeIndexFails) {
    Code code;
    code.Tok(0x60).Byte(0x10);
    const DecompiledBody body = DecompileBody(Function(code), true);
    EXPECT_EQ(body.error, "Invalid native function index 0x10");
}

TEST_F(DecompilerTest, UnknownOpcodeKeepsItsTextAndFails) {
    Code code;
    code.Tok(0x0F).Var(kARef).Var(kBRef);
    code.Tok(0x5A).Var(kARef);
    const DecompiledBody body = DecompileBody(Function(code), true);
    EXPECT_EQ(body.error, "Unknown OpCode 0x5A. Will try to continue.");
    EXPECT_EQ(body.text, "\tA=B;\r\n\tUnknownOpcode0x5A(A)\r\n");
}

// An operator's operands end with the end-of-parameters token; a damaged body that has anything
// else there fails at that byte instead of decoding it as one more, silently dropped, expression.
TEST_F(DecompilerTest, OperatorOperandsMustBeClosed) {
    struct Case {
        const char* what;
        int closing;  // the byte after the operands
        const char* error;
        const char* text;
    };
    const Case cases[] = {
        {"closed", 0x16, "", "\tA= -B;\r\n"},
        {"another variable", 0x00, "Operator - not closed: token 0x00 after its operands", ""},
        {"another operator", 0x8F, "Operator - not closed: token 0x8F after its operands", ""},
    };
    for (const Case& c : cases) {
        Code code;
        code.Tok(0x0F).Var(kARef).Tok(0x8F).Var(kBRef);  // A = -B, with 0x8F the integer negation
        code.Byte(c.closing);
        if (c.closing != 0x16) code.Var(kARef);  // what a decoder taking it as an operand would read
        const DecompiledBody body = DecompileBody(Function(code), true);
        EXPECT_EQ(body.error, c.error) << c.what;
        if (*c.error == 0) {
            EXPECT_EQ(body.text, c.text) << c.what;
        }
    }
}

// A damaged case label whose value is itself a switch: the list of open switches grows while the
// label still needs the enclosing switch (the fuzzer found it read after being moved).
TEST_F(DecompilerTest, ACaseValueThatOpensASwitchDecodes) {
    Code code;
    code.Tok(0x05).Byte(4).Var(kARef);                               // switch (A)
    code.Tok(0x0A).Word(0x20).Tok(0x05).Byte(4).Var(kBRef);         // case <switch (B)>:
    for (const bool structured : {true, false}) {
        const DecompiledBody body = DecompileBody(Function(code), structured);
        EXPECT_EQ(body.error, "") << structured;
        EXPECT_NE(body.text.find("case switch (B)"), std::string::npos) << structured << body.text;
    }
}

TEST_F(DecompilerTest, HostileBytecodeEndsWithAnError) {
    Code deep;  // endless nesting
    for (int i = 0; i < 5000; ++i) deep.Tok(0x0E);
    deep.Var(kARef);
    EXPECT_NE(DecompileBody(Function(deep), true).error.find("nested more than"), std::string::npos);

    Code cut;  // a size that lies: the script claims more than there is
    cut.Tok(0x0F).Var(kARef).Claim(1000);
    EXPECT_EQ(DecompileBody(Function(cut), true).error, "Stream read error");

    Code jumps;  // jumps anywhere
    jumps.Tok(0x06).Word(0xFFFF).Tok(0x07).Word(0).Var(kARef).Tok(0x06).Word(1);
    const DecompiledBody body = DecompileBody(Function(jumps), true);
    EXPECT_EQ(body.error, "");
    EXPECT_NE(body.text.find("goto JLFFFF"), std::string::npos);
    const DecompiledBody rebuilt = DecompileBody(Function(jumps), DecompileOptions{});
    EXPECT_EQ(rebuilt.error, "");
    EXPECT_NE(rebuilt.text.find("goto JLFFFF"), std::string::npos);
}

// Runs work on a thread of its own with a stack of the given size.
void OnStackOf(std::size_t bytes, std::function<void()> work) {
    pthread_attr_t attributes;
    ASSERT_EQ(pthread_attr_init(&attributes), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attributes, bytes), 0);
    pthread_t thread;
    const auto run = [](void* body) -> void* {
        (*static_cast<std::function<void()>*>(body))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, run, &work), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}

TEST_F(DecompilerTest, NestingTheStackCannotHoldEndsWithAnError) {
    // Abs(Abs(...Abs(A)...)): within the depth bound, but deeper than a stack of 640 KB holds
    // beside the reserve kept for the failure.
    const int calls = kMaxTokenDepth - 10;
    Code code;
    for (int i = 0; i < calls; ++i) code.Tok(186);  // Abs
    code.Var(kARef);
    for (int i = 0; i < calls; ++i) code.EndParms();
    TUTObjectClassStruct& function = Function(code);
    DecompiledBody body;
    OnStackOf(640 * 1024, [&] { body = DecompileBody(function, true); });
    EXPECT_EQ(body.error, "Bytecode nested too deep for the stack");
}

TEST_F(DecompilerTest, FunctionWhoseOuterIsPastTheExportsDecompiles) {
    functionOuter_ = 99;  // a damaged package: no export 98
    Code code;
    code.Tok(0x0F).Var(kARef).Var(kBRef);
    EXPECT_EQ(Body(code), "\tA=B;\r\n");
    EXPECT_EQ(Rebuilt(code), "\tA=B;\r\n");
}

struct CodeCase {
    const char* what;
    Code code;
    const char* expected;
};

// The printed expression parses back to the tree the bytecode holds.
TEST_F(DecompilerTest, ParenthesesFollowPrecedenceAndAssociativity) {
    const CodeCase cases[] = {
        {"preoperator over a comparison",
         Code().Tok(0x04).Tok(129).Tok(152).Var(kARef).Var(kBRef).EndParms().EndParms(),
         "\treturn  !(A <= B);\r\n"},
        {"same precedence on the right",
         Code().Tok(0x0F).Var(kARef).Tok(157).Var(kBRef).Tok(158).Var(kCRef).Tok(141).Var(kARef)
             .EndParms().EndParms().EndParms(),
         "\tA=B ^ (C |  ~A);\r\n"},
        {"right operand of a minus",
         Code().Tok(0x0F).Var(kARef).Tok(147).Var(kBRef).Tok(147).Var(kCRef).Var(kARef).EndParms().EndParms(),
         "\tA=B - (C - A);\r\n"},
        {"left operand of a minus",
         Code().Tok(0x0F).Var(kARef).Tok(147).Tok(147).Var(kBRef).Var(kCRef).EndParms().Var(kARef).EndParms(),
         "\tA=B - C - A;\r\n"},
        {"&& binds less than ==",
         Code().Tok(0x04).Tok(242).Tok(130).Var(kARef).Var(kBRef).EndParms().Var(kCRef).EndParms(),
         "\treturn (A && B) == C;\r\n"},
        {"== inside &&",
         Code().Tok(0x04).Tok(130).Tok(154).Var(kARef).Var(kBRef).EndParms().Var(kCRef).EndParms(),
         "\treturn A == B && C;\r\n"},
    };
    for (const CodeCase& c : cases) EXPECT_EQ(Body(c.code), c.expected) << c.what;
}

TEST_F(DecompilerTest, FloatsPrintAsTheShortestTextThatReadsBack) {
    const CodeCase cases[] = {
        {"thousandth", Code().Tok(0x0F).Var(kARef).Tok(0x1E).Float(0.001f), "\tA=0.001;\r\n"},
        {"integral", Code().Tok(0x0F).Var(kARef).Tok(0x1E).Float(2.0f), "\tA=2.0;\r\n"},
        {"tenth", Code().Tok(0x0F).Var(kARef).Tok(0x1E).Float(0.1f), "\tA=0.1;\r\n"},
        {"large", Code().Tok(0x0F).Var(kARef).Tok(0x1E).Float(1e8f), "\tA=100000000.0;\r\n"},
        {"vector", Code().Tok(0x0F).Var(kARef).Tok(0x23).Float(0.001f).Float(1.0f).Float(-2.5f),
         "\tA=vect(0.001,1.0,-2.5);\r\n"},
    };
    for (const CodeCase& c : cases) EXPECT_EQ(Body(c.code), c.expected) << c.what;
}

TEST_F(DecompilerTest, ValidSyntaxForConstantsThroughObjectsNewAndStop) {
    const CodeCase cases[] = {
        {"constant through an object",
         Code().Tok(0x0F).Var(kARef).Tok(0x19).Tok(0x17).Word(5).Byte(0).Tok(0x1D).Int(32),
         "\tA=32;\r\n"},
        {"new with outer and name",
         Code().Tok(0x0F).Var(kARef).Tok(0x11).Tok(0x17).Tok(0x21).Ref(kB).Tok(0x0B).Tok(0x20).Ref(kOtherRef),
         "\tA=new (self, 'B') Class'Other';\r\n"},
        {"new of a class alone",
         Code().Tok(0x0F).Var(kARef).Tok(0x11).Tok(0x0B).Tok(0x0B).Tok(0x0B).Tok(0x20).Ref(kOtherRef),
         "\tA=new Class'Other';\r\n"},
        {"stop before more code", Code().Tok(0x08).Tok(0x0F).Var(kARef).Tok(0x25), "\tstop;\r\n\tA=0;\r\n"},
        {"static call", Code().Tok(0x12).Tok(0x20).Ref(kOtherRef).Word(5).Byte(0).Tok(0x1B).Ref(kTestFunc).EndParms(),
         "\tClass'Other'.static.TestFunc();\r\n"},
        {"class default", Code().Tok(0x0F).Var(kARef).Tok(0x12).Tok(0x20).Ref(kOtherRef).Word(5).Byte(0).Tok(0x02).Ref(kBRef),
         "\tA=Class'Other'.Default.B;\r\n"},
    };
    for (const CodeCase& c : cases) EXPECT_EQ(Body(c.code), c.expected) << c.what;
}

TEST_F(DecompilerTest, ClosingReturnIsDroppedUnlessAJumpLeadsToIt) {
    Code closing;  // A = B; return (the compiler's own)
    closing.Tok(0x0F).Var(kARef).Var(kBRef).Tok(0x04).Tok(0x0B);
    EXPECT_EQ(Body(closing), "\tA=B;\r\n");
    EXPECT_EQ(Body(closing, false), "\tA=B;\r\n");
    Code jumpedTo;  // if (!A) goto END; B = 0; END: return
    jumpedTo.Tok(0x07).Word(15).Var(kARef).Tok(0x0F).Var(kBRef).Tok(0x25).Tok(0x04).Tok(0x0B);
    EXPECT_EQ(Body(jumpedTo, false), "\tif (! A ) goto JL000F;\r\n\tB=0;\r\nJL000F:\r\n\treturn;\r\n");
    Code written;  // return A; return (only the last one is the compiler's)
    written.Tok(0x04).Var(kARef).Tok(0x04).Tok(0x0B);
    EXPECT_EQ(Rebuilt(written), "\treturn A;\r\n");
}

TEST_F(DecompilerTest, LoopsAreRebuilt) {
    const CodeCase cases[] = {
        {"while",
         Code().Tok(0x07).Word(18).Var(kARef)           // 0..8    while (A)
             .Tok(0x0F).Var(kBRef).Tok(0x25)           // 8..15   B = 0
             .Tok(0x06).Word(0)                        // 15..18  back
             .Tok(0x0F).Var(kCRef).Tok(0x26),          // 18..25  C = 1
         "\twhile ( A )\r\n\t{\r\n\t\tB=0;\r\n\t}\r\n\tC=1;\r\n"},
        {"for",
         Code().Tok(0x0F).Var(kARef).Tok(0x25)                                    // 0..7    A = 0
             .Tok(0x07).Word(39).Tok(150).Var(kARef).Var(kBRef).EndParms()       // 7..22   A < B
             .Tok(0x0F).Var(kCRef).Tok(0x26)                                      // 22..29  C = 1
             .Tok(165).Var(kARef).EndParms()                                      // 29..36  A++
             .Tok(0x06).Word(7)                                                   // 36..39  back
             .Tok(0x04).Var(kBRef),                                               // 39..45  return B
         "\tfor ( A=0; A < B; A++ )\r\n\t{\r\n\t\tC=1;\r\n\t}\r\n\treturn B;\r\n"},
        {"do until with break and continue",
         Code().Tok(0x07).Word(11).Var(kARef)        // 0..8    if (A)
             .Tok(0x06).Word(37)                     // 8..11   break
             .Tok(0x07).Word(22).Var(kBRef)          // 11..19  if (B)
             .Tok(0x06).Word(29)                     // 19..22  continue
             .Tok(0x0F).Var(kCRef).Tok(0x26)         // 22..29  C = 1
             .Tok(0x07).Word(0).Var(kCRef)           // 29..37  until (C)
             .Tok(0x04).Var(kARef),                  // 37..43  return A
         "\tdo\r\n\t{\r\n\t\tif ( A )\r\n\t\t{\r\n\t\t\tbreak;\r\n\t\t}\r\n"
         "\t\tif ( B )\r\n\t\t{\r\n\t\t\tcontinue;\r\n\t\t}\r\n\t\tC=1;\r\n\t} until ( C );\r\n"
         "\treturn A;\r\n"},
        {"continue in foreach: the next round, else out to the end",
         Code().Tok(0x2F).Var(kARef).Word(28)        // 0..8    foreach A
             .Tok(0x07).Word(20).Var(kBRef)          // 8..16   if (B)
             .Tok(0x31).Tok(0x06).Word(28)           // 16..20  continue
             .Tok(0x0F).Var(kCRef).Tok(0x26)         // 20..27  C = 1
             .Tok(0x31).Tok(0x30)                    // 27..29  next round; end
             .Tok(0x04).Var(kARef),                  // 29..35  return A
         "\tforeach A\r\n\t{\r\n\t\tif ( B )\r\n\t\t{\r\n\t\t\tcontinue;\r\n\t\t}\r\n\t\tC=1;\r\n\t}\r\n"
         "\treturn A;\r\n"},
        {"a jump that is no loop keeps its label",
         Code().Tok(0x06).Word(10)                   // 0..3    goto
             .Tok(0x0F).Var(kCRef).Tok(0x26)         // 3..10   C = 1
             .Tok(0x0F).Var(kARef).Var(kBRef),       // 10..21  A = B
         "\tgoto JL000A;\r\n\tC=1;\r\nJL000A:\r\n\tA=B;\r\n"},
    };
    for (const CodeCase& c : cases) EXPECT_EQ(Rebuilt(c.code), c.expected) << c.what;
    // With the option off, loops stay labels and gotos.
    EXPECT_EQ(Body(cases[0].code),
              "JL0000:\r\n\tif ( A )\r\n\t{\r\n\t\tB=0;\r\n\t\tgoto JL0000;\r\n\t}\r\n\tC=1;\r\n");
}

// A package with declarations: classes with members, typed variables, an enum, functions with
// flags and parameters, and native declarations; for the rules that need to know what a
// reference names.
namespace typed {

enum Name { nNone, nCore, nObject, nClass, nPackage, nFunction, nIntProperty, nByteProperty,
            nFloatProperty, nEnum, nStrProperty, nMyClass, nParent, nOther, nTestFunc, nWork, nHelper,
            nSetMood, nM, nMood, nEMood, nCalm, nAngry, nHappy, nI, nF, nS, nTwice, nFromCore };

// Exports by reference.
enum Ref { rMyClass = 1, rParent, rOther, rWork, rHelper, rTestFunc, rMood, rEMood, rSetMood, rM, rI,
           rF, rS, rTwice, rParentTestFunc };

// Imports: 1 Core, 2 Object, 3 Function, 4 IntProperty, 5 ByteProperty, 6 FloatProperty, 7 Enum,
// 8 StrProperty.
constexpr int kFunctionClass = -3, kIntClass = -4, kByteClass = -5, kFloatClass = -6, kEnumClass = -7,
              kStrClass = -8;
constexpr std::uint32_t kDefined = 0x2, kFinal = 0x1, kNative = 0x400, kParm = 0x80;

std::string ClassSerial(int super, int children, int name) {
    Bytes b;
    b.Compact(super).Compact(0);                         // SuperField, Next
    b.Compact(0).Compact(children).Compact(name);        // ScriptText, Children, FriendlyName
    b.DWord(0).DWord(0).DWord(0);                        // Line, TextPos, ScriptSize
    b.DWord(0).DWord(0).DWord(0).DWord(0).Word(0).DWord(0);  // masks, label table, state flags
    b.DWord(0);                                          // ClassFlags
    for (int i = 0; i < 4; ++i) b.DWord(0);              // GUID
    b.Compact(0).Compact(0).Compact(0).Compact(nNone);   // dependencies, imports, within, config
    b.Compact(nNone);                                    // no default properties
    return b.str();
}

std::string FunctionSerial(const Code& code, int name, int next, std::uint32_t flags, int superField = 0,
                           int children = 0, int iNative = 0) {
    Bytes b;
    b.Compact(nNone).Compact(superField).Compact(next);
    b.Compact(0).Compact(children).Compact(name);
    b.DWord(1).DWord(0).DWord(code.units());
    b.Raw(code.bytes());
    b.Word(iNative).Byte(0).DWord(flags);
    return b.str();
}

std::string PropertySerial(int next, std::uint32_t flags, int extra = -1) {
    Bytes b;
    b.Compact(nNone).Compact(0).Compact(next);
    b.Word(1).Word(0).DWord(flags).Compact(nNone);
    if (extra >= 0) b.Compact(extra);
    return b.str();
}

std::string EnumSerial() {
    Bytes b;
    b.Compact(nNone).Compact(0).Compact(0);
    b.Compact(3).Compact(nCalm).Compact(nAngry).Compact(nHappy);
    return b.str();
}

PackageSpec Spec(const Code& code, int superField) {
    PackageSpec spec;
    spec.names = {"None", "Core", "Object", "Class", "Package", "Function", "IntProperty", "ByteProperty",
                  "FloatProperty", "Enum", "StrProperty", "MyClass", "Parent", "Other", "TestFunc", "Work",
                  "Helper", "SetMood", "M", "Mood", "EMood", "MOOD_Calm", "MOOD_Angry", "MOOD_Happy", "I",
                  "F", "S", "Twice", "FromCore"};
    spec.imports = {{nCore, nPackage, 0, nCore},          {nCore, nClass, -1, nObject},
                    {nCore, nClass, -1, nFunction},       {nCore, nClass, -1, nIntProperty},
                    {nCore, nClass, -1, nByteProperty},   {nCore, nClass, -1, nFloatProperty},
                    {nCore, nClass, -1, nEnum},           {nCore, nClass, -1, nStrProperty}};
    const Code none;
    spec.exports = {
        {0, rParent, 0, nMyClass, 0, ClassSerial(rParent, rTestFunc, nMyClass)},
        {0, 0, 0, nParent, 0, ClassSerial(0, rWork, nParent)},
        {0, 0, 0, nOther, 0, ClassSerial(0, rHelper, nOther)},
        {kFunctionClass, 0, rParent, nWork, 0, FunctionSerial(none, nWork, rParentTestFunc, kDefined)},
        {kFunctionClass, 0, rOther, nHelper, 0, FunctionSerial(none, nHelper, 0, kDefined)},
        {kFunctionClass, 0, rMyClass, nTestFunc, 0, FunctionSerial(code, nTestFunc, rMood, kDefined, superField)},
        {kByteClass, 0, rMyClass, nMood, 0, PropertySerial(rEMood, 0, rEMood)},
        {kEnumClass, 0, rMyClass, nEMood, 0, EnumSerial()},
        {kFunctionClass, 0, rMyClass, nSetMood, 0,
         FunctionSerial(none, nSetMood, rI, kDefined | kFinal, 0, rM)},
        {kByteClass, 0, rSetMood, nM, 0, PropertySerial(0, kParm, rEMood)},
        {kIntClass, 0, rMyClass, nI, 0, PropertySerial(rF, 0)},
        {kFloatClass, 0, rMyClass, nF, 0, PropertySerial(rS, 0)},
        {kStrClass, 0, rMyClass, nS, 0, PropertySerial(rTwice, 0)},
        {kFunctionClass, 0, rMyClass, nTwice, 0, FunctionSerial(none, nTwice, 0, kNative | kFinal, 0, 0, 600)},
        {kFunctionClass, 0, rParent, nTestFunc, 0, FunctionSerial(none, nTestFunc, 0, kDefined)},
    };
    return spec;
}

}  // namespace typed

class TypedDecompilerTest : public ::testing::Test {
protected:
    // The body of MyClass.TestFunc; with packagesAtHand, the natives of the package's own
    // declarations and of a Core.u beside it are known.
    std::string Body(const Code& code, int superField = 0, bool packagesAtHand = false) {
        package_ = std::make_unique<TUTPackage>(dir_.Write("Typed.u", testing::BuildPackage(typed::Spec(code, superField))));
        std::unique_ptr<DecompileContext> context;
        if (packagesAtHand) context = DecompileContext::WithPackagesAtHand(*package_);
        TUTObject& object = package_->GetExport(typed::rTestFunc - 1)->GetObject();
        ObjectReadScope scope(object, true);
        DecompileOptions options;
        options.context = context.get();
        const DecompiledBody body = DecompileBody(dynamic_cast<TUTObjectClassStruct&>(object), options);
        EXPECT_EQ(body.error, "");
        return body.text;
    }

    testing::TempDir dir_;
    std::unique_ptr<TUTPackage> package_;
};

TEST_F(TypedDecompilerTest, SuperWhereTheBytecodeCallsAParentsVersion) {
    using namespace typed;
    Code overridden;  // the version TestFunc overrides
    overridden.Tok(0x1C).Ref(rParentTestFunc).EndParms();
    EXPECT_EQ(Body(overridden, rParentTestFunc), "\tSuper.TestFunc();\r\n");
    Code parents;  // Parent declares Work: what Super finds from MyClass
    parents.Tok(0x1C).Ref(rWork).EndParms();
    EXPECT_EQ(Body(parents), "\tSuper.Work();\r\n");
    Code other;  // not a parent's: the class is named
    other.Tok(0x1C).Ref(rHelper).EndParms();
    EXPECT_EQ(Body(other), "\tSuper(Other).Helper();\r\n");
    Code final;  // a final function is called plainly
    final.Tok(0x1C).Ref(rSetMood).Tok(0x24).Byte(0).EndParms();
    EXPECT_EQ(Body(final), "\tSetMood(MOOD_Calm);\r\n");
}

TEST_F(TypedDecompilerTest, ConversionsPrintedWhereTheMeaningNeedsThem) {
    using namespace typed;
    const CodeCase cases[] = {
        {"truncation under an operator",  // F = int(F) % 60.0
         Code().Tok(0x0F).Var(rF).Tok(173).Tok(0x3F).Tok(0x44).Var(rF).Tok(0x1E).Float(60).EndParms(),
         "\tF=int(F) % 60.0;\r\n"},
        {"float division of integers",  // F = float(I) / I
         Code().Tok(0x0F).Var(rF).Tok(172).Tok(0x3F).Var(rI).Tok(0x3F).Var(rI).EndParms(),
         "\tF=float(I) / I;\r\n"},
        {"the conversion of an assignment", Code().Tok(0x0F).Var(rI).Tok(0x44).Var(rF), "\tI=F;\r\n"},
        {"string operators convert by themselves",
         Code().Tok(0x0F).Var(rS).Tok(112).Var(rS).Tok(0x53).Var(rI).EndParms(), "\tS=S $ I;\r\n"},
        {"an assigned string conversion stays", Code().Tok(0x0F).Var(rS).Tok(0x53).Var(rI), "\tS=string(I);\r\n"},
        {"a truncation under the assignment's own conversion",  // F = int(F)
         Code().Tok(0x0F).Var(rF).Tok(0x3F).Tok(0x44).Var(rF), "\tF=int(F);\r\n"},
        {"a truncation under a string operator's conversion",  // S = S $ int(F)
         Code().Tok(0x0F).Var(rS).Tok(112).Var(rS).Tok(0x53).Tok(0x44).Var(rF).EndParms(), "\tS=S $ int(F);\r\n"},
        {"a stored value that starts with a bracket keeps its conversion",  // I = int((F - F) / F)
         Code().Tok(0x0F).Var(rI).Tok(0x44).Tok(172).Tok(175).Var(rF).Var(rF).EndParms().Var(rF).EndParms(),
         "\tI=int((F - F) / F);\r\n"},
        {"one whose bracket has the stored type needs none",  // I = (I + 1) % 1
         Code().Tok(0x0F).Var(rI).Tok(0x44).Tok(173).Tok(0x3F).Tok(146).Var(rI).Tok(0x26).EndParms().Tok(0x3F).Tok(0x26).EndParms(),
         "\tI=(I + 1) % 1;\r\n"},
    };
    for (const CodeCase& c : cases) EXPECT_EQ(Body(c.code), c.expected) << c.what;
}

TEST_F(TypedDecompilerTest, EnumValuesPrintAsNamesWhereTheTypeIsKnown) {
    using namespace typed;
    const CodeCase cases[] = {
        {"assignment", Code().Tok(0x0F).Var(rMood).Tok(0x24).Byte(2), "\tMood=MOOD_Happy;\r\n"},
        {"comparison", Code().Tok(0x04).Tok(154).Tok(0x3A).Var(rMood).Tok(0x24).Byte(1).EndParms(),
         "\treturn Mood == MOOD_Angry;\r\n"},
        {"argument", Code().Tok(0x1C).Ref(rSetMood).Tok(0x24).Byte(1).EndParms(), "\tSetMood(MOOD_Angry);\r\n"},
        {"out of range", Code().Tok(0x0F).Var(rMood).Tok(0x24).Byte(7), "\tMood=7;\r\n"},
        {"switch",
         Code().Tok(0x05).Byte(1).Var(rMood)             // 0..7   switch (Mood)
             .Tok(0x0A).Word(22).Tok(0x24).Byte(0)       // 7..12  case 0:
             .Tok(0x0F).Var(rI).Tok(0x26)                // 12..19 I = 1
             .Tok(0x06).Word(25)                         // 19..22 break
             .Tok(0x0A).Word(0xFFFF)                     // 22..25 default (the compiler's)
             .Tok(0x04).Var(rI),                         // 25..31 return I
         "\tswitch (Mood)\r\n\t{\r\n\t\tcase MOOD_Calm:\r\n\t\tI=1;\r\n\t\tbreak;\r\n\t}\r\n\treturn I;\r\n"},
    };
    for (const CodeCase& c : cases) EXPECT_EQ(Body(c.code), c.expected) << c.what;
}

TEST_F(TypedDecompilerTest, NativesOfThePackagesAtHandComeFromTheirDeclarations) {
    using namespace typed;
    // Core beside the package declares native 601; the package itself declares 600.
    PackageSpec core;
    core.names = {"None", "Core", "Object", "Class", "Package", "Function", "FromCore"};
    core.imports = {{1, 3, 0, 5}};  // Class Function
    const Code none;
    core.exports = {{-1, 0, 0, 6, 0, FunctionSerial(none, 6, 0, kNative | kFinal, 0, 0, 601)}};
    dir_.Write("Core.u", testing::BuildPackage(core));
    Code code;
    code.Tok(0x0F).Var(rI).Tok(0x62).Byte(0x58).Var(rI).EndParms();  // native 600
    code.Tok(0x0F).Var(rI).Tok(0x62).Byte(0x59).EndParms();          // native 601
    EXPECT_EQ(Body(code, 0, true), "\tI=Twice(I);\r\n\tI=FromCore();\r\n");
    EXPECT_EQ(Body(code, 0, false), "\tI=UnknownFunction600(I);\r\n\tI=UnknownFunction601();\r\n");
}

std::string ReadExpected(const std::string& name) {
    std::ifstream in(std::string(TORVANE_EXPECTED_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Bodies of the package the game's compiler built from DecoTest/Classes, against the text the
// rules give (kept in expected/ with CR LF line ends).
TEST(DecoTestBodiesTest, MatchTheExpectedText) {
    const std::string file = testing::FixturesDir() + "/compiled/System/DecoTest.u";
    const struct {
        const char* path;
        bool structured;
        const char* expected;
    } cases[] = {
        {"DecoFlow.Branches", true, "DecoFlow.Branches.txt"},
        {"DecoFlow.Loops", true, "DecoFlow.Loops.txt"},
        {"DecoFlow.Pick", true, "DecoFlow.Pick.txt"},
        {"DecoFlow.Pick", false, "DecoFlow.Pick.flat.txt"},
        {"DecoStates.Working", true, "DecoStates.Working.txt"},
        {"DecoChild.Loops", true, "DecoChild.Loops.txt"},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(PrintDecompiledBody(file, c.path, c.structured, out, err), 0) << err.str();
        const std::string expected = ReadExpected(c.expected);
        ASSERT_FALSE(expected.empty()) << c.expected;
        EXPECT_EQ(out.str(), expected) << c.path;
    }
}

}  // namespace
}  // namespace torvane::unrealpkg
