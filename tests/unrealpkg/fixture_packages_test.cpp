// Every real package of the fixtures opens, every export reads and parses, every body
// decompiles, and known values come out as the sources say.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "support/temp_dir.h"
#include "unrealpkg/package_commands.h"
#include "unrealpkg/ut_decompiler.h"
#include "unrealpkg/ut_object.h"
#include "unrealpkg/ut_packages.h"
#include "unrealpkg/ut_properties.h"
#include "unrealpkg/ut_script_objects.h"

namespace torvane::unrealpkg {
namespace {

std::vector<std::string> FixturePackages() {
    std::vector<std::string> files;
    const std::string root = testing::FixturesDir();
    for (const char* dir : {"/ut99/System", "/ut99/Textures", "/ut99/Sounds", "/compiled/System"}) {
        for (const auto& entry : std::filesystem::directory_iterator(root + dir)) {
            const std::string ext = entry.path().extension().string();
            if (ext == ".u" || ext == ".utx" || ext == ".uax") files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(FixturePackagesTest, EveryExportReadsParsesAndFormats) {
    const auto files = FixturePackages();
    ASSERT_GE(files.size(), 15u);
    for (const std::string& file : files) {
        TUTPackage package(file);
        EXPECT_GT(package.ExportCount(), 0) << file;
        for (const auto& entry : package.Exports) {
            TUTObject& object = entry->GetObject();
            try {
                ObjectReadScope scope(object, true);
                const TUTPropertyList& properties = object.Properties();
                for (int i = 0; i < properties.Count(); ++i) FormatValue(*properties.Get(i));
            } catch (const std::exception& e) {
                ADD_FAILURE() << file << " " << object.GetFullPath() << ": " << e.what();
            }
        }
        EXPECT_EQ(package.StreamOpenCount(), 0);
    }
}

TEST(FixturePackagesTest, EveryBodyDecompilesInEveryMode) {
    const BodyPrintMode modes[] = {{true, true}, {true, false}, {false, false}};
    for (const std::string& file : FixturePackages()) {
        if (std::filesystem::path(file).extension() != ".u") continue;
        for (const BodyPrintMode& mode : modes) {
            std::ostringstream out, err;
            EXPECT_EQ(PrintAllDecompiledBodies(file, mode, out, err), 0)
                << file << " structured " << mode.structured << " loops " << mode.loops << "\n"
                << out.str() << err.str();
        }
    }
}

std::string Props(const std::string& file, const std::string& path) {
    std::ostringstream out, err;
    EXPECT_EQ(PrintProperties(file, path, out, err), 0) << err.str();
    return out.str();
}

TEST(FixturePackagesTest, DecoTestDefaultsAreTheSourceValues) {
    const std::string file = testing::FixturesDir() + "/compiled/System/DecoTest.u";
    EXPECT_EQ(Props(file, "DecoFlow"),
              "Total=7\nRatio=0.50\nLabel=\"Hello\"\nTag=Idle\nbReady=True\nLevel=3\n");
    EXPECT_EQ(Props(file, "DecoChild"), "Limit=50\nGreeting=\"Hi there\"\n");
    EXPECT_EQ(Props(file, "DecoStates"),
              "Mood=MOOD_Happy\n"
              "Items(0)=(Key=1, Value=\"one\")\n"
              "Items(2)=(Key=3, Value=\"three\")\n"
              "Where=(X=1.00,Y=2.00,Z=3.00)\n"
              "Facing=(Pitch=0,Yaw=100,Roll=0)\n");
}

TEST(FixturePackagesTest, RealDefaultsByValue) {
    const std::string system = testing::FixturesDir() + "/ut99/System/";
    const std::string beacon = Props(system + "IpDrv.u", "UdpBeacon");
    for (const char* line : {"DoBeacon=True\n", "ServerBeaconPort=8777\n", "BeaconPort=9777\n",
                             "BeaconTimeout=5.00\n"}) {
        EXPECT_NE(beacon.find(line), std::string::npos) << line << " in\n" << beacon;
    }
}

// What the fuzzer does with an input: every export read and its properties formatted, every body
// decompiled structured and flat without declarations at hand. The bodies' errors, in export order.
std::vector<std::string> BodyErrorsOfEveryExport(const std::string& file) {
    std::vector<std::string> errors;
    TUTPackage package(file);
    for (const auto& entry : package.Exports) {
        try {
            TUTObject& object = entry->GetObject();
            ObjectReadScope scope(object, true);
            const TUTPropertyList& properties = object.Properties();
            for (int i = 0; i < properties.Count(); ++i) FormatValue(*properties.Get(i));
            auto* body = dynamic_cast<TUTObjectClassStruct*>(&object);
            if (!body || !object.Parsed()) continue;
            for (const bool structured : {true, false}) errors.push_back(DecompileBody(*body, structured).error);
        } catch (const std::exception& e) {
            errors.push_back(e.what());
        }
    }
    return errors;
}

std::string DataFile(const std::string& name) { return std::string(TORVANE_EXPECTED_DIR) + "/../data/" + name; }

// Inputs the fuzzer found crashing once: they must read, format and decompile without harm.
TEST(FixturePackagesTest, FuzzFindingsStayFixed) {
    const std::string dir = std::string(TORVANE_EXPECTED_DIR) + "/../data";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        ++files;
        const std::string file = entry.path().string();
        std::ostringstream out, err;
        PrintAllDecompiledBodies(file, BodyPrintMode{}, out, err);
        try {
            BodyErrorsOfEveryExport(file);
            TUTPackage package(file);
            for (int i = 0; i < package.ExportCount(); ++i) {
                PrintProperties(file, package.GetObjectPath(-1, i + 1), out, err);
            }
        } catch (const std::exception&) {
        }
    }
    EXPECT_GT(files, 0);
}

// Native calls nested hundreds deep through damaged operators: each body ends with an error at
// the first operator whose operands are not closed, long before the depth bound (which the
// decompiler tests reach with well-formed code).
TEST(FixturePackagesTest, NativeCallsNestedThroughDamagedOperatorsEndTheirBody) {
    const auto errors = BodyErrorsOfEveryExport(DataFile("native-calls-nested-400-deep.u"));
    const auto notClosed = std::count_if(errors.begin(), errors.end(), [](const std::string& error) {
        return error.rfind("Operator ", 0) == 0 && error.find(" not closed: token 0x") != std::string::npos;
    });
    const auto nested = std::count_if(errors.begin(), errors.end(), [](const std::string& error) {
        return error.find("nested") != std::string::npos;
    });
    EXPECT_GT(notClosed, 0);
    EXPECT_EQ(nested, 0);
}

// Functions whose outer lies past the export table: those that read decompile as functions
// without an outer (their bodies are damaged too, so each ends with an error).
TEST(FixturePackagesTest, FunctionsWithAnOuterPastTheExportsDecompile) {
    TUTPackage package(DataFile("function-outer-past-the-exports.u"));
    int decompiled = 0;
    for (const auto& entry : package.Exports) {
        if (entry->GetClassName() != "Function" || entry->PackageIndex <= package.ExportCount()) continue;
        TUTObject& object = entry->GetObject();
        try {
            object.ReadObject(true);
        } catch (const std::exception&) {
            continue;  // damaged beyond reading
        }
        auto* body = dynamic_cast<TUTObjectClassStruct*>(&object);
        if (body && object.Parsed()) {
            EXPECT_NE(DecompileBody(*body, true).error, "") << entry->exportIndex;
            ++decompiled;
        }
        object.Release();
    }
    EXPECT_EQ(decompiled, 2);
}

// A function export that cannot be read is left out of the package's native declarations; the
// other bodies are still tried and listed (the whole listing once ended with "Stream read error").
TEST(FixturePackagesTest, AFunctionThatCannotBeReadLeavesTheOtherBodiesListed) {
    std::ostringstream bodies, err;
    PrintAllDecompiledBodies(DataFile("function-outer-past-the-exports.u"), BodyPrintMode{}, bodies, err);
    EXPECT_EQ(err.str(), "");
    const std::string listing = bodies.str();
    const std::size_t summary = listing.rfind("bodies: ");
    ASSERT_NE(summary, std::string::npos) << listing;
    EXPECT_EQ(std::stoi(listing.substr(summary + 8)), 55);
}

// Struct values read through a damaged definition (arrays of millions, nested sixteen deep):
// the members end with the value's bytes, a member at most per byte read.
TEST(FixturePackagesTest, StructMembersEndWithTheValuesBytes) {
    TUTPackage package(DataFile("struct-members-past-the-value.u"));
    int structs = 0;
    for (const auto& entry : package.Exports) {
        try {
            TUTObject& object = entry->GetObject();
            ObjectReadScope scope(object, true);
            const TUTPropertyList& properties = object.Properties();
            for (int i = 0; i < properties.Count(); ++i) {
                const TUTProperty& property = *properties.Get(i);
                if (property.Type != kPropStruct) continue;
                ++structs;
                const std::string text = FormatValue(property).display;
                const auto members = std::count(text.begin(), text.end(), '=');
                EXPECT_LE(members, static_cast<long>(property.Data.size()) + 16) << property.Name;
            }
        } catch (const std::exception&) {
            // damaged beyond reading
        }
    }
    EXPECT_GT(structs, 0);
}

// A byte property prints its enum value's name, found through its declaration: in the object's
// own class or in the nearest class up the chain that declares it.
TEST(FixturePackagesTest, ByteValuesPrintTheirEnumNamesFromTheDeclaration) {
    const std::string engine = testing::FixturesDir() + "/ut469/System/Engine.u";
    const struct {
        const char* object;
        const char* line;
    } cases[] = {
        {"Pawn", "AttitudeToPlayer=ATTITUDE_Hate"},  // declared in Pawn
        {"Pawn", "RemoteRole=ROLE_SimulatedProxy"},  // declared in Actor
        {"Projectile", "Physics=PHYS_Projectile"},    // declared in Actor
        {"Mover", "MoverGlideType=MV_GlideByTime"},   // declared in Mover
        {"Light", "LightType=LT_Steady"},             // declared in Actor
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        ASSERT_EQ(PrintProperties(engine, c.object, out, err), 0) << c.object << err.str();
        EXPECT_NE(out.str().find(std::string(c.line) + "\n"), std::string::npos) << c.object << " " << c.line;
    }
}

// Packages whose outer references chain hundreds deep: every path is cut to the depth bound, so
// the listing stays proportional to the number of objects.
TEST(FixturePackagesTest, DeepOuterChainsGiveShortPaths) {
    for (const char* name : {"deep-outer-chains.u", "deep-outer-chains-2.u"}) {
        const std::string file = DataFile(name);
        TUTPackage package(file);
        std::size_t longestName = 0;
        for (const auto& entry : package.Names) longestName = std::max(longestName, entry.text.size());
        const std::size_t longestPath = kMaxObjectPathDepth * (longestName + 1);
        const int references = package.ImportCount() + package.ExportCount();
        for (int reference = -package.ImportCount(); reference <= package.ExportCount(); ++reference) {
            const std::string path = package.GetObjectPath(-1, reference);
            EXPECT_EQ(path, package.GetObjectPath(kMaxObjectPathDepth, reference)) << name << " " << reference;
            EXPECT_LE(path.size(), longestPath) << name << " " << reference;
        }
        std::ostringstream out, err;
        EXPECT_EQ(PrintPackageInfo(file, out, err), 0) << err.str();
        EXPECT_LT(out.str().size(), static_cast<std::size_t>(references) * (2 * longestPath + 100)) << name;
        // Every body is tried: a failure is one line naming its path, then the summary ends the list.
        std::ostringstream bodies, bodiesErr;
        PrintAllDecompiledBodies(file, BodyPrintMode{}, bodies, bodiesErr);
        const std::string listing = bodies.str();
        const std::size_t summary = listing.rfind("\nbodies: ");
        ASSERT_NE(summary, std::string::npos) << name << bodiesErr.str();
        EXPECT_EQ(listing.find('\n', summary + 1), listing.size() - 1) << name;
        EXPECT_GT(std::stoi(listing.substr(summary + 9)), 0) << name;  // the damaged bodies are reached
        EXPECT_LT(listing.size(), static_cast<std::size_t>(references) * (longestPath + 100)) << name;
    }
}

TEST(FixturePackagesTest, CommandsReportBadFiles) {
    testing::TempDir dir;
    const std::string bad = dir.Write("Bad.u", "this is not a package");
    std::ostringstream out, err;
    EXPECT_NE(PrintPackageInfo(bad, out, err), 0);
    EXPECT_NE(err.str().find("ERROR! This isn't an Unreal package"), std::string::npos);
    EXPECT_NE(PrintProperties(bad, "X", out, err), 0);
    EXPECT_NE(PrintAllDecompiledBodies(bad, BodyPrintMode{}, out, err), 0);
}

}  // namespace
}  // namespace torvane::unrealpkg
