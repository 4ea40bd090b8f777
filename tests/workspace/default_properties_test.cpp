#include "workspace/default_properties.h"

#include <gtest/gtest.h>

#include "platform/game_install.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"
#include "workspace/class_browser.h"

namespace torvane::workspace {
namespace {

TEST(DefaultPropertiesRulesTest, DeclaredNames) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"int A,B,C;", {"C", "B", "A"}},
        {"float Speed, Accel;", {"Accel", "Speed"}},
        {"int A , B ;", {"B", "A"}},
        {"byte\tStrikeDamage;", {"StrikeDamage"}},  // a tab separates like a space
        {"float  Speeds[4]; // comment", {"Speeds[4]"}},
        {"int;", {}},       // a type without a name
        {"int Count", {}},  // no ";"
        {"", {}},
    };
    for (const auto& [body, names] : cases) EXPECT_EQ(DeclaredNames(body), names) << body;
}

TEST(DefaultPropertiesRulesTest, TypeDefaults) {
    const std::pair<const char*, const char*> cases[] = {
        {"var() int Count;", "0"},
        {"var() float Speed, Accel;", "0.0"},
        {"var() bool bOn;", "False"},
        {"var(Movement) vector V;", "(X=0,Y=0,Z=0)"},
        {"var(Movement) rotator R;", "(Pitch=0,Yaw=0,Roll=0)"},
        {"var() byte\tStrikeDamage;", "0"},
        {"var() string Text;", "None"},
        {"var() class<Actor> Spawned;", "None"},
        {"var() name Tag; // an int in the comment", "None"},  // the comment is no type
        {"var() FLOAT F;", "0.0"},
    };
    for (const auto& [line, value] : cases) EXPECT_EQ(TypeDefault(line), value) << line;
}

TEST(DefaultPropertiesRulesTest, DeclarationAndDefaultsLines) {
    const std::pair<const char*, bool> declarations[] = {
        {"var int X;", true},  {"var() int X;", true}, {"VAR(Display) int X;", true}, {"var\tint X;", true},
        {"\tvar int X;", false}, {"variable X;", false}, {"var", false},
    };
    for (const auto& [line, expected] : declarations) EXPECT_EQ(IsDeclarationLine(line), expected) << line;
    const std::pair<const char*, bool> defaults[] = {
        {"defaultproperties", true},
        {"  DefaultProperties", true},
        {"defaultproperties{", true},
        {"// You can set this property's value in defaultproperties", false},
        {"//defaultproperties", false},
        {"_defaultproperties", false},
    };
    for (const auto& [line, expected] : defaults) EXPECT_EQ(IsDefaultPropertiesLine(line), expected) << line;
}

// Two classes loaded root first: categories (the class name for "var()"), type defaults, values
// from the most derived class that sets them, uncategorised variables hidden, character-code order.
TEST(DefaultPropertiesTest, ChainKeepsDeclarationsAndTakesTheLastSetting) {
    const std::string base =
        "class Base extends Object;\r\n"                              // 1
        "var() float Speed, Accel;\r\n"                               // 2
        "var(Movement) vector V;\r\n"                                 // 3
        "var(movement) rotator R;\r\n"                                // 4
        "var int Count;\r\n"                                          // 5
        "// You can set this in defaultproperties, as below.\r\n"     // 6
        "var(Display) bool\tbShown;\r\n"                              // 7
        "var(Display) int zeta, Alpha;\r\n"                           // 8
        "function F()\r\n{\r\n\tSpeed = 1;\r\n}\r\n"                  // 9-12
        "defaultproperties\r\n{\r\n"                                  // 13-14
        "    Speed=300.000000\r\n"                                    // 15
        "    Count=4\r\n"                                             // 16
        "    Movement=(X=1)\r\n"                                      // 17: names a category only
        "}\r\n";
    const std::string derived =
        "class Derived extends Base;\n"        // 1 (LF only)
        "var(Derived) int Extra;\n"            // 2
        "defaultproperties\n{\n"               // 3-4
        "\tspeed=450.000000\n"                 // 5: any case
        "\tbShown=True\n"                      // 6
        "}\n";
    DefaultProperties properties;
    properties.LoadText(base, {"Base.uc", "Base", "MyMod"});
    properties.LoadText(derived, {"Derived.uc", "Derived", "MyMod"});

    std::vector<std::string> rows;
    for (const auto& row : properties.Rows()) rows.push_back(FormatDefaultPropertyRow(row));
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "Base\tAccel\t0.0\tBase:2\tBase:2",
                        "Base\tSpeed\t450.000000\tBase:2\tDerived:5",
                        "Derived\tExtra\t0\tDerived:2\tDerived:2",
                        "Display\tAlpha\t0\tBase:8\tBase:8",
                        "Display\tbShown\tTrue\tBase:7\tDerived:6",
                        "Display\tzeta\t0\tBase:8\tBase:8",
                        "Movement\tR\t(Pitch=0,Yaw=0,Roll=0)\tBase:4\tBase:4",
                        "Movement\tV\t(X=0,Y=0,Z=0)\tBase:3\tBase:3",
                    }));
    // The categories carry no values, and "var(movement)" joined "Movement".
    for (const DefaultPropertyItem& item : properties.items()) {
        EXPECT_TRUE(item.category) << item.caption;
        EXPECT_TRUE(item.value.empty()) << item.caption;
    }
    const DefaultPropertyItem& speed = properties.items()[0].children[1];
    EXPECT_EQ(speed.declaration.package, "MyMod");
}

TEST(DefaultPropertiesTest, ASourceWithoutDefaultsGivesItsDeclarationsOnly) {
    DefaultProperties properties;
    properties.LoadText("class A extends Object;\r\nvar() int Health;\r\nvar int Hidden;\r\n", {"A.uc", "A", ""});
    ASSERT_EQ(properties.Rows().size(), 1u);
    EXPECT_EQ(FormatDefaultPropertyRow(properties.Rows()[0]), "A\tHealth\t0\tA:2\tA:2");
}

// The class of a real game type and a real weapon, each value from the most derived class of the
// chain that sets it.
class FixtureDefaultsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ClassBrowserContext context;
        context.install = platform::GameInstall::Detect(testing::FixturesDir() + "/ut99");
        context.prompter = &prompter_;
        browser_ = new ClassBrowser(context);
        ASSERT_TRUE(browser_->LoadEditPackages());
        ASSERT_TRUE(browser_->RebuildClassTrees());
    }
    static void TearDownTestSuite() { delete browser_; }

    static std::vector<std::string> Rows(const std::string& className) {
        const ClassNode* node = browser_->objectTree().NodeAt(browser_->FindClass(className));
        EXPECT_NE(node, nullptr) << className;
        if (!node) return {};
        DefaultProperties properties;
        LoadClassChain(properties, ClassChain(*node));
        std::vector<std::string> rows;
        for (const auto& row : properties.Rows()) rows.push_back(FormatDefaultPropertyRow(row));
        return rows;
    }
    static bool Has(const std::vector<std::string>& rows, const std::string& row) {
        return std::find(rows.begin(), rows.end(), row) != rows.end();
    }

    static inline testing::ScriptedPrompter prompter_;
    static inline ClassBrowser* browser_ = nullptr;
};

TEST_F(FixtureDefaultsTest, ShockRifle) {
    const std::vector<std::string> rows = Rows("ShockRifle");
    const char* expected[] = {
        "ShockRifle\tHitDamage\t40\tShockRifle:50\tShockRifle:409",
        "Weapon\tAmmoName\tClass'Botpack.ShockCore'\tWeapon:15\tShockRifle:416",
        "Inventory\tPickupMessageClass\tClass'Botpack.PickupMessagePlus'\tInventory:110\tTournamentWeapon:705",
        "Collision\tCollisionHeight\t8.000000\tActor:297\tShockRifle:448",
        "Display\tTexture\tTexture'Engine.S_Weapon'\tActor:210\tWeapon:988",  // Actor, Inventory, Weapon set it
        "Advanced\tbIsItemGoal\tTrue\tActor:242\tInventory:848",
        // Declared after the comment that names "defaultproperties" (Actor.uc line 132).
        "Sound\tTransientSoundPriority\t16\tActor:136\tActor:1096",
    };
    for (const char* row : expected) EXPECT_TRUE(Has(rows, row)) << row;
    // Nothing uncategorised: Actor's "var travel Inventory Inventory;" is no entry.
    for (const std::string& row : rows) EXPECT_NE(row.rfind("\t", 0), 0u) << row;
    EXPECT_FALSE(Has(rows, "Inventory\tInventory\tNone\tActor:121\tActor:121"));
}

TEST_F(FixtureDefaultsTest, DeathMatchPlus) {
    const std::vector<std::string> rows = Rows("DeathMatchPlus");
    const char* expected[] = {
        "DeathMatchPlus\tFragLimit\t30\tDeathMatchPlus:12\tDeathMatchPlus:1622",
        "GameInfo\tDefaultWeapon\tClass'Botpack.ImpactHammer'\tGameInfo:43\tTournamentGameInfo:498",
        "GameInfo\tBeaconName\t\"DM\"\tGameInfo:63\tDeathMatchPlus:1703",
    };
    for (const char* row : expected) EXPECT_TRUE(Has(rows, row)) << row;
}

}  // namespace
}  // namespace torvane::workspace
