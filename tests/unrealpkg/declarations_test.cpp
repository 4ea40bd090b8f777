// Declarations rebuilt from compiled classes: property modifiers on built properties, function and
// state headers, class modifiers and replication on the real packages, and the declarations of
// the DecoTest classes against hand-derived files.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "core/text.h"
#include "support/package_builder.h"
#include "support/temp_dir.h"
#include "unrealpkg/class_declaration.h"
#include "unrealpkg/class_lookup.h"
#include "unrealpkg/function_declarations.h"
#include "unrealpkg/member_declarations.h"
#include "unrealpkg/ut_object.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_resource_objects.h"
#include "unrealpkg/ut_script_objects.h"

namespace torvane::unrealpkg {
namespace {

using testing::Bytes;

TUTObject& ExportAt(TUTPackage& package, const std::string& path) {
    for (int i = 0; i < package.ExportCount(); ++i) {
        if (core::EqualsIgnoringCase(package.GetObjectPath(-1, i + 1), path)) return package.GetExport(i)->GetObject();
    }
    throw std::runtime_error("no export " + path);
}

template <typename T>
std::string Write(TUTPackage& package, const std::string& path,
                  std::string (*writer)(T&, bool, DecompileContext*)) {
    auto& object = dynamic_cast<T&>(ExportAt(package, path));
    ObjectReadScope scope(object, true);
    return writer(object, true, nullptr);
}

// --- property modifiers on built properties -------------------------------------------------------

enum Name { kNone, kCore, kPackage, kClass, kIntProperty, kCount, kDisplay, kThing };

struct PropertyCase {
    std::uint32_t propertyFlags;
    std::int32_t category;
    std::uint32_t objectFlags;
    std::uint16_t arrayDim;
    const char* prefix;
    const char* expected;
};

TEST(PropertyDeclarationTest, ModifiersFromTheFlags) {
    const PropertyCase cases[] = {
        {0x0, kNone, 0x4, 1, "var", "var int Count"},
        {0x1, kThing, 0x4, 1, "var", "var() int Count"},                // category = the owner's name
        {0x1, kDisplay, 0x4, 1, "var", "var(Display) int Count"},
        {0x4000, kNone, 0x4, 1, "var", "var config int Count"},
        {0x4000 | 0x40000, kNone, 0x4, 1, "var", "var globalconfig int Count"},
        {0x80 | 0x100, kNone, 0x4, 1, "", "out int Count"},
        {0x80 | 0x100 | 0x400, kNone, 0x4, 1, "", "int Count"},        // a return value is never "out"
        {0x80 | 0x10 | 0x800, kNone, 0x4, 1, "", "optional coerce int Count"},
        {0x0, kNone, 0x0, 1, "var", "var private int Count"},
        {0x1, kThing, 0x0, 1, "var", "var() private int Count"},
        {0x0, kNone, 0x4, 4, "local", "local int Count[4]"},
        {0x2 | 0x4 | 0x8 | 0x40 | 0x200 | 0x1000 | 0x2000 | 0x8000 | 0x10000 | 0x20000 | 0x100000 | 0x200000,
         kNone, 0x4, 1, "var",
         "var const input export constref skip native transient localized travel editconst ondemand new int Count"},
    };
    testing::PackageSpec spec;
    spec.names = {"None", "Core", "Package", "Class", "IntProperty", "Count", "Display", "Thing"};
    spec.imports = {{kCore, kPackage, 0, kCore}, {kCore, kClass, -1, kIntProperty}};
    for (const PropertyCase& c : cases) {
        Bytes serial;
        serial.Compact(kNone).Compact(0).Compact(0).Word(c.arrayDim).Word(4).DWord(c.propertyFlags).Compact(c.category);
        spec.exports.push_back({-2, 0, 0, kCount, c.objectFlags, serial.str()});
    }
    testing::TempDir dir;
    TUTPackage package(dir.Write("Props.u", testing::BuildPackage(spec)));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        auto& property = dynamic_cast<TUTObjectClassProperty&>(package.GetExport(static_cast<int>(i))->GetObject());
        ObjectReadScope scope(property, true);
        EXPECT_EQ(PropertyDeclaration(property, cases[i].prefix, "Thing"), cases[i].expected) << "case " << i;
    }
}

// --- functions, states and classes of the real packages ------------------------------------------

TEST(FunctionDeclarationTest, HeadersOfNativesOperatorsAndEvents) {
    TUTPackage core(testing::FixturesDir() + "/ut99/System/Core.u");
    const std::pair<const char*, const char*> cases[] = {
        {"Object.Not_PreBool", "native(129) static final preoperator bool ! (bool A);\r\n"},
        {"Object.AddAdd_Byte", "native(139) static final postoperator byte ++ (out byte A);\r\n"},
        {"Object.Concat_StrStr", "native(112) static final operator(40) string $ (coerce string A, coerce string B);\r\n"},
        {"Object.OrthoRotation", "native static final function Rotator OrthoRotation (Vector X, Vector Y, Vector Z);\r\n"},
        {"Object.RotRand", "native(320) static final function Rotator RotRand (optional bool bRoll);\r\n"},
        {"Object.BeginState", "event BeginState ();\r\n"},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(Write<TUTObjectClassFunction>(core, path, &FunctionDeclaration), expected) << path;
    }
}

TEST(FunctionDeclarationTest, LocalsComeFirstAndTheClosingReturnGoes) {
    TUTPackage deco(testing::FixturesDir() + "/compiled/System/DecoTest.u");
    const std::string text = Write<TUTObjectClassFunction>(deco, "DecoFlow.Loops", &FunctionDeclaration);
    EXPECT_EQ(text.rfind("function int Loops (int N)\r\n{\r\n\tlocal int i;\r\n\tlocal int j;\r\n\r\n", 0), 0u) << text;
    EXPECT_EQ(text.substr(text.size() - 3), "}\r\n");
    EXPECT_EQ(text.find("\treturn;\r\n"), std::string::npos) << text;  // the compiler's own last statement
    EXPECT_NE(text.find("\treturn Total;\r\n}\r\n"), std::string::npos) << text;
}

std::set<std::string> IgnoredNames(const std::string& state) {
    const std::size_t at = state.find("ignores ");
    if (at == std::string::npos) return {};
    std::set<std::string> names;
    std::string list = state.substr(at + 8, state.find(';', at) - at - 8);
    std::stringstream in(list);
    for (std::string name; std::getline(in, name, ',');) names.insert(std::string(core::Trim(name)));
    return names;
}

TEST(StateDeclarationTest, IgnoredFunctionsAndProbeEvents) {
    TUTPackage engine(testing::FixturesDir() + "/ut469/System/Engine.u");
    const std::string dying = Write<TUTObjectClassState>(engine, "Pawn.Dying", &StateDeclaration);
    EXPECT_EQ(dying.rfind("state Dying\r\n{\r\n\tignores  ", 0), 0u) << dying;
    // Died, KilledBy, LongFall, WarnTarget are declared without a body; the rest are probes.
    EXPECT_EQ(IgnoredNames(dying),
              (std::set<std::string>{"Died", "KilledBy", "LongFall", "WarnTarget", "Trigger", "HitWall", "Falling",
                                     "ZoneChange", "Bump", "FootZoneChange", "HeadZoneChange", "PainTimer",
                                     "SeePlayer", "EnemyNotVisible", "HearNoise"}));
    EXPECT_EQ(IgnoredNames(Write<TUTObjectClassState>(engine, "Inventory.Sleeping", &StateDeclaration)),
              (std::set<std::string>{"Touch"}));
    // The player's Dying overrides the pawn's: no parent is named.
    const std::string playerDying = Write<TUTObjectClassState>(engine, "PlayerPawn.Dying", &StateDeclaration);
    EXPECT_EQ(playerDying.rfind("state Dying\r\n{\r\n", 0), 0u) << playerDying.substr(0, 80);
    const std::string text = Write<TUTObjectClassState>(engine, "Pawn.Dying", &StateDeclaration);
    EXPECT_EQ(text.substr(text.size() - 3), "}\r\n");
}

std::string ClassText(TUTPackage& package, const std::string& name, ClassLookup* lookup = nullptr) {
    auto& cls = dynamic_cast<TUTObjectClassClass&>(ExportAt(package, name));
    ObjectReadScope scope(cls, true);
    return ClassDeclaration(cls, true, lookup);
}

// The class line and its modifiers, up to the ";".
std::string ClassHeader(const std::string& text) {
    const std::size_t at = text.find("class ");
    return text.substr(at, text.find(';', at) - at);
}

TEST(ClassDeclarationTest, ModifiersWrittenWhereTheyAreNotInherited) {
    const std::string fixtures = testing::FixturesDir();
    TUTPackage engine(fixtures + "/ut469/System/Engine.u");
    TUTPackage ipDrv(fixtures + "/ut99/System/IpDrv.u");
    TUTPackage deco(fixtures + "/compiled/System/DecoTest.u");
    PackageFolderLookup lookup({fixtures + "/ut469/System", fixtures + "/ut99/System"});
    const std::pair<std::string, std::string> cases[] = {
        {ClassText(engine, "PlayerPawn"), "class PlayerPawn expands Pawn\r\n\tnative\r\n\tnativereplication\r\n\tconfig(User)"},
        // The parent says config(User): the class inherits it.
        {ClassText(engine, "Spectator"), "class Spectator expands PlayerPawn"},
        // Config variables make a class config by themselves.
        {ClassText(deco, "DecoChild"), "class DecoChild expands DecoFlow\r\n\tabstract"},
        // Transient comes from the parent in another package, found through the lookup...
        {ClassText(ipDrv, "InternetLink", &lookup), "class InternetLink expands InternetInfo\r\n\tnative"},
        // ... and is written when that package is not at hand.
        {ClassText(ipDrv, "InternetLink"), "class InternetLink expands InternetInfo\r\n\tnative\r\n\ttransient"},
    };
    for (const auto& [text, header] : cases) EXPECT_EQ(ClassHeader(text), header);
}

TEST(ClassDeclarationTest, ReplicationGroupsMembersByCondition) {
    TUTPackage engine(testing::FixturesDir() + "/ut469/System/Engine.u");
    const std::string text = ClassText(engine, "Pawn");
    const std::size_t start = text.find("replication\r\n{\r\n");
    ASSERT_NE(start, std::string::npos);
    const std::string block = text.substr(start, text.find("}\r\n\r\n", start) - start);
    const std::regex line("\t(reliable|unreliable) if \\( (.+) \\)\r\n\t\t([A-Za-z0-9_,]+);\r\n");
    std::map<std::string, std::string> keywordOf;
    int lines = 0;
    for (std::sregex_iterator it(block.begin(), block.end(), line), end; it != end; ++it, ++lines) {
        std::stringstream names((*it)[3].str());
        for (std::string name; std::getline(names, name, ',');) {
            EXPECT_FALSE(keywordOf.count(name)) << name << " listed twice";
            keywordOf[name] = (*it)[1].str();
        }
    }
    EXPECT_GE(lines, 8);
    // Functions keep their own reliability; variables sharing a function's condition are on its
    // line, the others say "reliable".
    EXPECT_EQ(keywordOf["ClientHearSound"], "unreliable");
    EXPECT_EQ(keywordOf["ClientDying"], "reliable");
    EXPECT_EQ(keywordOf["Health"], "reliable");
    EXPECT_EQ(text.find("un?reliable"), std::string::npos);
    // Conditions know the types of what they compare: enum values by name, not by number.
    EXPECT_NE(block.find("if ( Role == ROLE_Authority"), std::string::npos) << block;
    EXPECT_FALSE(std::regex_search(block, std::regex("Role [<>=!]+ [0-9]"))) << block;
}

TEST(ClassSourceTest, EmbeddedTextAndGeneratedDefaults) {
    TUTPackage deco(testing::FixturesDir() + "/compiled/System/DecoTest.u");
    auto& cls = dynamic_cast<TUTObjectClassClass&>(ExportAt(deco, "DecoChild"));
    ObjectReadScope scope(cls, true);
    auto& buffer = dynamic_cast<TUTObjectClassTextBuffer&>(deco.GetExport(cls.ScriptText() - 1)->GetObject());
    ObjectReadScope textScope(buffer, true);
    EXPECT_EQ(ClassSource(cls, true),
              buffer.Text() + "defaultproperties\r\n{\r\n    Limit=50\r\n    Greeting=\"Hi there\"\r\n}\r\n");
    testing::TempDir dir;
    SaveClassSource(cls, dir.Path("DecoChild.uc"));
    EXPECT_EQ(dir.Read("DecoChild.uc"), ClassSource(cls, true));
}

// --- DecoTest rebuilt against hand-derived declarations ------------------------------------------

std::string ReadExpected(const std::string& name) {
    std::ifstream in(std::string(TORVANE_EXPECTED_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The declarations of a rebuilt class: bodies keep only their locals, state code goes.
std::string Declarations(const std::string& text) {
    const std::vector<std::string> lines = core::SplitLines(text);
    static const std::regex header("(\t*)(.*\\b(function|event|operator\\(\\d+\\)|preoperator|postoperator) .*\\))");
    std::vector<std::string> kept;
    std::string bodyEnd;        // the closing line of the body being skipped
    bool stateCode = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        std::smatch match;
        if (!bodyEnd.empty()) {
            if (line == bodyEnd) {
                kept.push_back(line);
                bodyEnd.clear();
            } else if (line.rfind(bodyEnd.substr(0, bodyEnd.size() - 1) + "\tlocal ", 0) == 0) {
                kept.push_back(line);
            }
            continue;
        }
        if (stateCode) {
            if (line == "}") {
                kept.push_back(line);
                stateCode = false;
            }
            continue;
        }
        if (!line.empty() && line[0] != '\t' && line.back() == ':' && line.find(' ') == std::string::npos) {
            stateCode = true;  // a label: the state's code runs to its closing brace
            continue;
        }
        kept.push_back(line);
        if (std::regex_match(line, match, header) && i + 1 < lines.size() && lines[i + 1] == match[1].str() + "{") {
            kept.push_back(lines[++i]);
            bodyEnd = match[1].str() + "}";
        }
    }
    return core::JoinLinesCrLf(kept);
}

TEST(DecoTestDeclarationsTest, RebuiltClassesDeclareWhatTheSourcesDeclare) {
    TUTPackage deco(testing::FixturesDir() + "/compiled/System/DecoTest.u");
    for (const char* name : {"DecoFlow", "DecoChild", "DecoStates"}) {
        const std::string expected = ReadExpected(std::string(name) + ".declarations.uc");
        ASSERT_FALSE(expected.empty()) << name;
        EXPECT_EQ(Declarations(ClassText(deco, name)), expected) << name;
    }
}

}  // namespace
}  // namespace torvane::unrealpkg
