#include "farcall/farcall_window.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QElapsedTimer>
#include <QUdpSocket>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "farcall/farcall_settings.h"
#include "support/qt_wait.h"
#include "support/temp_dir.h"

namespace torvane::farcall {
namespace {

using testing::TempDir;
using testing::WaitUntil;

class FarcallWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = testing::CopySampleGame(dir_);
        settings_ = QString::fromStdString(dir_.Path("Farcall.ini"));
        window_ = std::make_unique<TMain>(0, settings_);
        ASSERT_TRUE(window_->listening());
    }
    void TearDown() override {
        if (window_) window_->service().launcher().StopAll();
    }
    void Send(const QByteArray& bytes) {
        sender_.writeDatagram(bytes, QHostAddress::LocalHost, window_->boundPort());
    }
    QStringList LogLines() const {
        QStringList lines;
        for (int i = 0; i < window_->Log()->count(); ++i) lines << window_->Log()->item(i)->text();
        return lines;
    }

    TempDir dir_;
    std::string root_;
    QString settings_;
    std::unique_ptr<TMain> window_;
    QUdpSocket sender_;
};

TEST_F(FarcallWindowTest, CaptionAndDefaults) {
    EXPECT_EQ(window_->windowTitle(),
              "Farcall Shell (Torvane Tools) 1.0 - Listening on Port 6995");
    EXPECT_EQ(kListenPort, 6995);
    EXPECT_TRUE(window_->PathEdit()->text().isEmpty());
    EXPECT_EQ(window_->ExitButton()->text(), "Exit");
}

TEST_F(FarcallWindowTest, RealDatagramsStartTwoServersAndStopBoth) {
    window_->PathEdit()->setText(QString::fromStdString(root_ + "/System"));
    window_->ParamEdit()->setText("server DM-Demo");
    Send("START_SERVER");
    Send("START_SERVER");
    ASSERT_TRUE(WaitUntil([&] { return window_->Log()->count() >= 4; }));
    EXPECT_EQ(window_->service().launcher().RunningCount(), 2);
    Send("server_stop");
    ASSERT_TRUE(WaitUntil([&] { return window_->Log()->count() >= 7; }));
    EXPECT_EQ(LogLines(), (QStringList{"Received [127.0.0.1]: START_SERVER", " - Server Started",
                                       "Received [127.0.0.1]: START_SERVER", " - Server Started",
                                       "Received [127.0.0.1]: server_stop",
                                       " - Shutting down Server", " - Shutting down Server"}));
    EXPECT_EQ(window_->service().launcher().RunningCount(), 0);
}

TEST_F(FarcallWindowTest, SettingsAreWrittenOnDestructionEvenWhenNothingStarted) {
    dir_.Write("Farcall.ini", "[Settings]\r\nUCCPath=/old\r\nCmdLine=x\r\n");
    window_ = std::make_unique<TMain>(0, settings_);
    EXPECT_EQ(window_->PathEdit()->text(), "/old");
    window_->PathEdit()->setText("/new/System");
    window_.reset();
    EXPECT_EQ(dir_.Read("Farcall.ini"), "[Settings]\r\nUCCPath=/new/System\r\nCmdLine=x\r\n");
}

TEST_F(FarcallWindowTest, ExitClosesTheWindow) {
    window_->show();
    QTest::mouseClick(window_->ExitButton(), Qt::LeftButton);
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(FarcallWindowTest, FloodOfRandomDatagramsIsSurvivedWithACappedLog) {
    std::mt19937 random(42);
    const int kCount = TMain::kMaxLogLines + 2000;
    for (int i = 0; i < kCount; ++i) {
        QByteArray bytes(static_cast<int>(random() % 3000), '\0');
        for (auto& b : bytes) b = static_cast<char>(random());
        Send(bytes);
        if (i % 20 == 0) {
            for (int k = 0; k < 5; ++k) QCoreApplication::processEvents();
        }
    }
    // Resent until seen: the kernel may drop datagrams while the receiver is busy.
    ASSERT_TRUE(WaitUntil(
        [&] {
            Send("last one");
            QCoreApplication::processEvents();
            const int n = window_->Log()->count();
            return n > 0 && window_->Log()->item(n - 1)->text().endsWith("last one");
        },
        20000));
    EXPECT_EQ(window_->Log()->count(), TMain::kMaxLogLines);
}

TEST_F(FarcallWindowTest, PortInUseIsReportedAndCanBeRetried) {
    QUdpSocket blocker;
    ASSERT_TRUE(blocker.bind(QHostAddress::AnyIPv4, 0));
    const quint16 port = blocker.localPort();
    TMain second(port, QString::fromStdString(dir_.Path("Second.ini")));
    EXPECT_FALSE(second.listening());
    ASSERT_EQ(second.Log()->count(), 1);
    EXPECT_TRUE(second.Log()->item(0)->text().startsWith(QString("Port %1 cannot be opened").arg(port)));
    EXPECT_FALSE(second.RetryButton()->isHidden());
    blocker.close();
    QTest::mouseClick(second.RetryButton(), Qt::LeftButton);
    EXPECT_TRUE(second.listening());
    EXPECT_TRUE(second.RetryButton()->isHidden());
}

// Child processes of this program that have ended and were not reaped.
int ZombieChildren() {
    int zombies = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        const auto close = line.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(line.substr(close + 2));
        char state = 0;
        long parent = 0;
        rest >> state >> parent;
        if (state == 'Z' && parent == ::getpid()) ++zombies;
    }
    return zombies;
}

TEST_F(FarcallWindowTest, ServersThatEndByThemselvesAreReapedAtOnce) {
    dir_.Write("quick/UCC.EXE", "#!/bin/sh\nexit 0\n");
    ASSERT_EQ(::chmod(dir_.Path("quick/UCC.EXE").c_str(), 0755), 0);
    window_->PathEdit()->setText(QString::fromStdString(dir_.Path("quick")));
    Send("START_SERVER");
    Send("START_SERVER");
    ASSERT_TRUE(WaitUntil([&] { return LogLines().count(" - Server Started") == 2; }));
    EXPECT_TRUE(WaitUntil([] { return ZombieChildren() == 0; }, 3000)) << ZombieChildren() << " zombies";
}

// SERVER_STOP signals every server first and then waits once for them all: five servers that
// ignore the request take one grace period together, not one each.
TEST_F(FarcallWindowTest, StopEndsStubbornServersTogether) {
    dir_.Write("stubborn/UCC.EXE", "#!/bin/sh\ntrap '' TERM\nwhile :; do sleep 0.05; done\n");
    ASSERT_EQ(::chmod(dir_.Path("stubborn/UCC.EXE").c_str(), 0755), 0);
    window_->PathEdit()->setText(QString::fromStdString(dir_.Path("stubborn")));
    window_->service().launcher().SetStopGrace(500);
    for (int i = 0; i < 5; ++i) Send("START_SERVER");
    ASSERT_TRUE(WaitUntil([&] { return LogLines().count(" - Server Started") == 5; }));
    QTest::qWait(200);  // every server has set its trap
    QElapsedTimer stopping;
    stopping.start();
    Send("SERVER_STOP");
    ASSERT_TRUE(WaitUntil([&] { return LogLines().count(" - Shutting down Server") == 5; }));
    EXPECT_LT(stopping.elapsed(), 2000);  // five grace periods one after the other take 2500 ms
    EXPECT_EQ(window_->service().launcher().RunningCount(), 0);
    EXPECT_EQ(ZombieChildren(), 0);
}

}  // namespace
}  // namespace torvane::farcall
