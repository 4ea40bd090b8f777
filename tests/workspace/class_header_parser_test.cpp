#include "workspace/class_header_parser.h"

#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "support/temp_dir.h"

namespace torvane::workspace {
namespace {

TEST(ClassHeaderParserTest, ScannerCases) {
    const struct {
        const char* text;
        const char* className;
        const char* parentName;
    } cases[] = {
        {"class Foo extends Bar;", "Foo", "Bar"},
        {"class Foo expands Bar\r\n{", "Foo", "Bar"},
        {"CLASS Foo EXTENDS Bar;", "Foo", "Bar"},
        {"class fOO extends bAR;", "fOO", "bAR"},
        {"// comment line\r\n// another\r\nclass A extends B;", "A", "B"},
        {"/* block */ text ignored to the line end\r\nclass A extends B;", "A", "B"},
        // A line end closes a comment: the next line's asterisk is text, so no class follows.
        {"/*\r\n * stars\r\n */\r\nclass A extends B;", "", ""},
        {"//=====\r\n// A: thing.\r\n//=====\r\nclass A extends B\r\n\tnative;", "A", "B"},
        {"class Object\r\n\tnative\r\n\tnoexport;", "Object", ""},
        {"class Foo;", "", ""},
        {"something class A extends B;", "", ""},
        {"class A extends B\n\tnative;", "A", "Bnative"},
        {"class A extends B\nnative;", "A", "Bnative"},
        {"class A\textends B;", "Aextends", ""},  // a tab does not end a name
        {"class A extends B config(User);", "A", "B"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const ClassHeader header = ParseClassHeaderText(c.text);
        EXPECT_EQ(header.className, c.className) << c.text;
        EXPECT_EQ(header.parentName, c.parentName) << c.text;
    }
}

TEST(ClassHeaderParserTest, ReadsFilesOnlyToTheEndOfTheDeclaration) {
    testing::TempDir dir;
    std::string big = "class Big extends Actor;\r\n";
    big += std::string(100000, 'x');
    const std::string path = dir.Write("Big.uc", big);
    const ClassHeader header = ParseClassHeader(path);
    EXPECT_EQ(header.className, "Big");
    EXPECT_EQ(header.parentName, "Actor");
    EXPECT_THROW(ParseClassHeader(dir.Path("missing.uc")), platform::FileError);
}

}  // namespace
}  // namespace torvane::workspace
