#include "intel/declaration_parser.h"

#include <gtest/gtest.h>

namespace torvane::intel {
namespace {

const Symbol* Find(const ClassSymbols& cls, std::string_view scope, std::string_view name) {
    for (const Symbol& member : cls.members) {
        if (member.scope == scope && member.name == name) return &member;
    }
    return nullptr;
}

constexpr std::string_view kClass =
    "//=====\r\n"
    "// Weapon: a test class.\r\n"
    "class Weapon extends Inventory\r\n"
    "\tabstract native config(User);\r\n"
    "#exec Texture Import File=Textures\\W.pcx Name=W\r\n"
    "const MaxAmmo = 99;\r\n"
    "var(Firing) config int AmmoCount, ReserveCount[4];\r\n"
    "var enum EFireMode { FM_Single, FM_Burst } FireMode;\r\n"
    "var array<class<Actor> > Spawnables;\r\n"
    "struct HitInfo extends Base\r\n"
    "{\r\n"
    "\tvar vector Location;\r\n"
    "\tvar Actor Victim;\r\n"
    "};\r\n"
    "replication\r\n"
    "{\r\n"
    "\treliable if (Role == ROLE_Authority) AmmoCount;\r\n"
    "}\r\n"
    "native(300) static final function int Clamp2(int V, optional out int Low);\r\n"
    "simulated event Fire( float Value )\r\n"
    "{\r\n"
    "\tlocal int i;\r\n"
    "\tif ( \"}\" == \"{\" ) i = 1; // } in a string and a comment\r\n"
    "}\r\n"
    "auto state Idle extends Ready\r\n"
    "{\r\n"
    "\tignores Fire, Touch;\r\n"
    "\tfunction Touch(Actor Other) { }\r\n"
    "Begin:\r\n"
    "\tSleep(1.0);\r\n"
    "Loop:\r\n"
    "\tgoto 'Begin';\r\n"
    "}\r\n"
    "defaultproperties\r\n"
    "{\r\n"
    "\tAmmoCount=10\r\n"
    "}\r\n";

TEST(DeclarationParserTest, HeaderAndPlaces) {
    const ClassSymbols cls = ParseClassSymbols(kClass);
    EXPECT_EQ(cls.name, "Weapon");
    EXPECT_EQ(cls.parent, "Inventory");
    EXPECT_EQ(cls.line, 3);
    EXPECT_EQ(cls.column, 7);
    EXPECT_NE(cls.modifiers.find("config(User)"), std::string::npos);
    ASSERT_GT(cls.replicationEnd, cls.replicationBegin);
    EXPECT_NE(std::string_view(kClass).substr(cls.replicationBegin, cls.replicationEnd - cls.replicationBegin).find("AmmoCount"),
              std::string::npos);
    ASSERT_GT(cls.defaultsEnd, cls.defaultsBegin);
    EXPECT_NE(std::string_view(kClass).substr(cls.defaultsBegin, cls.defaultsEnd - cls.defaultsBegin).find("AmmoCount=10"),
              std::string::npos);
}

TEST(DeclarationParserTest, EveryKindOfMember) {
    const ClassSymbols cls = ParseClassSymbols(kClass);
    struct Row {
        std::string_view scope, name;
        SymbolKind kind;
        std::string_view type;
        int line, column;
    };
    const Row rows[] = {
        {"", "MaxAmmo", SymbolKind::Constant, "99", 6, 7},
        {"", "AmmoCount", SymbolKind::Variable, "int", 7, 24},
        {"", "ReserveCount", SymbolKind::Variable, "int", 7, 35},
        {"", "EFireMode", SymbolKind::Enum, "", 8, 10},
        {"EFireMode", "FM_Burst", SymbolKind::EnumValue, "EFireMode", 8, 33},
        {"", "FireMode", SymbolKind::Variable, "EFireMode", 8, 44},
        {"", "Spawnables", SymbolKind::Variable, "array<class<Actor>>", 9, 26},
        {"", "HitInfo", SymbolKind::Struct, "Base", 10, 8},
        {"HitInfo", "Victim", SymbolKind::Variable, "Actor", 13, 12},
        {"", "Clamp2", SymbolKind::Function, "int", 19, 39},
        {"", "Fire", SymbolKind::Function, "", 20, 17},
        {"", "Idle", SymbolKind::State, "Ready", 25, 12},
        {"Idle", "Touch", SymbolKind::Function, "", 28, 11},
        {"Idle", "Begin", SymbolKind::Label, "", 29, 1},
        {"Idle", "Loop", SymbolKind::Label, "", 31, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.scope) + "." + std::string(row.name));
        const Symbol* symbol = Find(cls, row.scope, row.name);
        ASSERT_NE(symbol, nullptr);
        EXPECT_EQ(symbol->kind, row.kind);
        std::string type = symbol->type;
        std::erase(type, ' ');
        EXPECT_EQ(type, row.type);
        EXPECT_EQ(symbol->line, row.line);
        EXPECT_EQ(symbol->column, row.column);
    }
    EXPECT_EQ(Find(cls, "", "ReserveCount")->arraySize, "4");
    EXPECT_EQ(Find(cls, "", "i"), nullptr) << "locals are not members";
}

TEST(DeclarationParserTest, FunctionsAndStates) {
    const ClassSymbols cls = ParseClassSymbols(kClass);
    const Symbol& clamp = *Find(cls, "", "Clamp2");
    EXPECT_TRUE(HasModifier(clamp.modifiers, "native"));
    EXPECT_TRUE(HasModifier(clamp.modifiers, "static"));
    ASSERT_EQ(clamp.parameters.size(), 2u);
    EXPECT_EQ(clamp.parameters[1].name, "Low");
    EXPECT_EQ(clamp.parameters[1].modifiers, "optional out");
    EXPECT_EQ(clamp.bodyEnd, clamp.bodyBegin) << "a native declaration has no body";
    EXPECT_EQ(FunctionSignature(clamp), "native(300) static final function int Clamp2(int V, optional out int Low)");

    const Symbol& fire = *Find(cls, "", "Fire");
    EXPECT_EQ(FunctionSignature(fire), "simulated event Fire(float Value)");
    ASSERT_GT(fire.bodyEnd, fire.bodyBegin);
    EXPECT_NE(std::string_view(kClass).substr(fire.bodyBegin, fire.bodyEnd - fire.bodyBegin).find("local int i"),
              std::string::npos) << "braces in strings and comments do not end the body";

    const Symbol& idle = *Find(cls, "", "Idle");
    EXPECT_TRUE(HasModifier(idle.modifiers, "auto"));
    EXPECT_EQ(idle.ignores, (std::vector<std::string>{"Fire", "Touch"}));
    EXPECT_GT(idle.codeBegin, 0u);
    EXPECT_EQ(DeclarationText(idle), "auto state Idle extends Ready");
}

TEST(DeclarationParserTest, TextBeingTypedYieldsWhatIsComplete) {
    const ClassSymbols cls = ParseClassSymbols(
        "class Half extends Actor;\n"
        "var int Done;\n"
        "function Broken(int A\n"
        "var int");
    EXPECT_EQ(cls.name, "Half");
    ASSERT_NE(Find(cls, "", "Done"), nullptr);
    EXPECT_TRUE(ParseClassSymbols("").members.empty());
    EXPECT_TRUE(ParseClassSymbols("}}}{{{ ;;; var var").name.empty());
}

}  // namespace
}  // namespace torvane::intel
