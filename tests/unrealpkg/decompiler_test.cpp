#include "unrealpkg/ut_decompiler.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/package_builder.h"
#include "support/temp_dir.h"
#include "unrealpkg/package_commands.h"
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
            {-3, 0, kMyClassRef, functionName, 0, FunctionSerial(code, superField)},
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

    testing::TempDir dir_;
    std::unique_ptr<TUTPackage> package_;
    TUTObject* read_ = nullptr;
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
    EXPECT_EQ(Body(IfWithoutElse()),
              "\tif ( A )\r\n\t{\r\n\t\tB=0;\r\n\t}\r\n\tC=1;\r\n\treturn;\r\n");
}

TEST_F(DecompilerTest, FlatModeLabelsEveryJumpTarget) {
    EXPECT_EQ(Body(IfWithoutElse(), false),
              "\tif (! A ) goto JL000F;\r\n\tB=0;\r\nJL000F:\r\n\tC=1;\r\n\treturn;\r\n");
}

TEST_F(DecompilerTest, IfElseInStructuredMode) {
    Code code;  // if (A) B = 0; else B = 1; return;
    code.Tok(0x07).Word(18).Var(kARef);   // 0..8
    code.Tok(0x0F).Var(kBRef).Tok(0x25);  // 8..15
    code.Tok(0x06).Word(25);              // 15..18
    code.Tok(0x0F).Var(kBRef).Tok(0x26);  // 18..25
    code.Tok(0x04).Tok(0x0B);             // 25..27
    EXPECT_EQ(Body(code),
              "\tif ( A )\r\n\t{\r\n\t\tB=0;\r\n\t}\r\n\telse\r\n\t{\r\n\t\tB=1;\r\n\t}\r\n"
              "\treturn;\r\n");
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
