// Sound playing through the desktop's player: one sound at a time, no player left behind.
#include "platform/sound_player.h"

#include <signal.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <thread>

#include "core/text.h"
#include "support/temp_dir.h"

namespace torvane::platform {
namespace {

// PATH pointing at a directory of the test's own, put back afterwards.
class ScopedPath final {
public:
    explicit ScopedPath(const std::string& path) : previous_(std::getenv("PATH") ? std::getenv("PATH") : "") {
        ::setenv("PATH", path.c_str(), 1);
    }
    ~ScopedPath() { ::setenv("PATH", previous_.c_str(), 1); }

private:
    std::string previous_;
};

bool Eventually(const std::function<bool()>& condition) {
    for (int i = 0; i < 500; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(SoundPlayerTest, OneSoundAtATime) {
    testing::TempDir dir;
    const std::string log = dir.Path("played");
    // A player that notes its process id and the file, then plays for a long time.
    const std::string player = dir.Write("bin/paplay", "#!/bin/sh\necho $$ \"$1\" >> '" + log + "'\nexec sleep 30\n");
    ::chmod(player.c_str(), 0755);
    ScopedPath path(dir.Path("bin") + ":/usr/bin:/bin");

    ASSERT_TRUE(PlayWaveAsync("/sounds/first.wav"));
    ASSERT_TRUE(Eventually([&] { return core::SplitLines(dir.Read("played")).size() == 1; }));
    ASSERT_TRUE(PlayWaveAsync("/sounds/second.wav"));
    ASSERT_TRUE(Eventually([&] { return core::SplitLines(dir.Read("played")).size() == 2; }));
    const auto lines = core::SplitLines(dir.Read("played"));
    const pid_t first = std::stoi(lines[0]);
    const pid_t second = std::stoi(lines[1]);
    EXPECT_NE(lines[0].find("/sounds/first.wav"), std::string::npos);
    EXPECT_NE(lines[1].find("/sounds/second.wav"), std::string::npos);
    EXPECT_NE(::kill(first, 0), 0) << "the first sound still plays";
    EXPECT_EQ(::kill(second, 0), 0);

    // Without a player nothing plays, and the sound that played has ended.
    ScopedPath none(dir.Path("empty"));
    EXPECT_FALSE(PlayWaveAsync("/sounds/third.wav"));
    EXPECT_NE(::kill(second, 0), 0);
}

}  // namespace
}  // namespace torvane::platform
