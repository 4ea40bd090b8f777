#include "shell/program_paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/desktop_association.h"
#include "platform/file_ops.h"
#include "support/temp_dir.h"

namespace torvane::shell {
namespace {

TEST(ProgramPathsTest, WritableProgramDirectoryHoldsTheFiles) {
    testing::TempDir dir;
    const ProgramPaths paths = ResolveProgramPaths(dir.Path("Torvane"));
    EXPECT_EQ(paths.programDirectory, dir.path());
    EXPECT_EQ(paths.dataDirectory, dir.path());
    EXPECT_EQ(paths.File("Torvane.ini"), dir.Path("Torvane.ini"));
}

TEST(ProgramPathsTest, ReadOnlyProgramDirectoryUsesTheUserDataDirectory) {
    testing::TempDir dir;
    ::setenv("XDG_DATA_HOME", dir.Path("data").c_str(), 1);
    const ProgramPaths paths =
        ResolveProgramPaths(dir.Path("usr/bin/Torvane"), [](const std::string&) { return false; });
    EXPECT_EQ(paths.programDirectory, dir.Path("usr/bin"));
    EXPECT_EQ(paths.dataDirectory, dir.Path("data/Torvane"));
    EXPECT_TRUE(platform::DirectoryExists(paths.dataDirectory));
}

TEST(DesktopAssociationTest, WritesTheMimeTypeAndTheDesktopEntry) {
    testing::TempDir dir;
    const auto result = platform::AssociateUnrealScriptFiles("/opt/My Tools/Torvane", dir.path(),
                                                             {{16, "png of 16"}, {48, "png of 48"}});
    EXPECT_TRUE(result.desktopEntryWritten);
    EXPECT_TRUE(result.mimeTypeWritten);
    EXPECT_EQ(result.iconsWritten, 2);
    EXPECT_EQ(dir.Read("icons/hicolor/16x16/apps/torvane.png"), "png of 16");
    EXPECT_EQ(dir.Read("icons/hicolor/48x48/apps/torvane.png"), "png of 48");
    const std::string entry = dir.Read("applications/torvane.desktop");
    EXPECT_NE(entry.find("Exec=\"/opt/My Tools/Torvane\" %f\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nIcon=torvane\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("MimeType=text/x-unrealscript;"), std::string::npos);
    const std::string mime = dir.Read("mime/packages/torvane-unrealscript.xml");
    EXPECT_NE(mime.find("<glob pattern=\"*.uc\""), std::string::npos);
}

TEST(DesktopAssociationTest, UnwritablePlacesAreSkippedSilently) {
    testing::TempDir dir;
    dir.Write("blocked", "a file where the directories would go");
    const auto result = platform::AssociateUnrealScriptFiles("/usr/bin/Torvane", dir.Path("blocked"));
    EXPECT_FALSE(result.desktopEntryWritten);
    EXPECT_FALSE(result.mimeTypeWritten);
}

}  // namespace
}  // namespace torvane::shell
