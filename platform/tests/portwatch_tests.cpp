// The port watch over a scratch /dev and port map: what it reports, what it keeps quiet about,
// and directories that appear only after the start.
#include "platform/comports.h"
#include "platform/portwatch.h"
#include "platform/tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Long enough for an event to arrive on a loaded machine; a quiet wait costs kQuiet.
constexpr int kArrives = 5000;
constexpr int kQuiet = 150;

class PortWatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dev);
        setComPortRoots({dev.string(), (root / "sys").string(), map.string()});
        ASSERT_EQ(watch.start(), 0);
        ASSERT_GE(watch.descriptor(), 0);
    }
    void TearDown() override {
        watch.stop();
        setComPortRoots({});
    }

    // A change is reported; whatever else the same step sets off (one step may take several
    // events, and the watch may report them in more than one batch) is let through.
    void expectChange(const char *what) {
        EXPECT_TRUE(watch.waitForChange(kArrives)) << what;
        while (watch.waitForChange(kQuiet)) {
        }
    }
    void expectQuiet(const char *what) { EXPECT_FALSE(watch.waitForChange(kQuiet)) << what; }

    static void touch(const fs::path &path) {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "";
    }

    ScratchDir scratch{"portwatch_"};
    const fs::path root{scratch.path()};
    const fs::path dev{root / "dev"};
    // The port map and its parent do not exist yet.
    const fs::path map{root / "config" / "trz4steuerung" / "ports"};
    PortWatch watch;
};

TEST_F(PortWatchTest, PortMapEntriesAreFollowedEvenWhenTheMapIsMadeLater) {
    expectQuiet("nothing happened");

    // addPortMapLink creates the missing levels, then renames its link into place.
    ASSERT_EQ(addPortMapLink(9, "/dev/null"), 0);
    expectChange("com9 linked");

    ASSERT_EQ(addPortMapLink(10, "/dev/zero"), 0);
    expectChange("a port concerned");
    ASSERT_EQ(removePortMapLink(9), 0);
    expectChange("a port concerned");

    // A file that is no entry (a backup, another program's temporary link) is no change.
    touch(map / "com9.bak");
    touch(map / "notes");
    expectQuiet("no port concerned");

    // The whole map removed and made again: still followed.
    fs::remove_all(map);
    expectChange("a port concerned");
    ASSERT_EQ(addPortMapLink(11, "/dev/null"), 0);
    expectChange("a port concerned");
}

TEST_F(PortWatchTest, DeviceNodesOfTheThreeFamiliesComeAndGo) {
    touch(dev / "ttyUSB0");
    expectChange("a port concerned");
    touch(dev / "ttyACM3");
    expectChange("a port concerned");
    fs::remove(dev / "ttyUSB0");
    expectChange("a port concerned");

    // Other devices, and names outside the families' ranges, change nothing.
    touch(dev / "loop3");
    touch(dev / "tty5");
    touch(dev / "ttyUSB32");
    touch(dev / "ttyUSB01");
    expectQuiet("no port concerned");
}

TEST_F(PortWatchTest, ByIdLinksAreFollowedOnceTheirDirectoryAppears) {
    // udev makes /dev/serial/by-id with the first adapter and its links after the node.
    fs::create_directories(dev / "serial" / "by-id");
    expectChange("a port concerned");
    fs::create_symlink("../../ttyUSB0", dev / "serial" / "by-id" / "usb-FTDI_A1-if00-port0");
    expectChange("a port concerned");
    fs::remove(dev / "serial" / "by-id" / "usb-FTDI_A1-if00-port0");
    expectChange("a port concerned");
}

TEST_F(PortWatchTest, APseudoTerminalCountsOnlyWhenThePortMapNamesIt) {
    fs::create_directories(dev / "pts");
    expectChange("a port concerned"); // the directory itself appeared
    touch(dev / "pts" / "4");
    expectQuiet("a terminal window's pty is no port");

    ASSERT_EQ(addPortMapLink(9, (dev / "pts" / "7").string()), 0);
    expectChange("a port concerned");
    touch(dev / "pts" / "7");
    expectChange("a port concerned");
    fs::remove(dev / "pts" / "7"); // the simulator behind com9 is gone
    expectChange("a port concerned");
    fs::remove(dev / "pts" / "4");
    expectQuiet("no port concerned");
}

TEST_F(PortWatchTest, EveryLinkOfAnEntrysChainIsFollowed) {
    // com9 reaches the simulator's terminal through a second link outside every watched folder.
    fs::create_directories(dev / "pts");
    const fs::path elsewhere = root / "elsewhere";
    fs::create_directories(elsewhere);
    fs::create_symlink(dev / "pts" / "7", elsewhere / "adapter");
    ASSERT_EQ(addPortMapLink(9, (elsewhere / "adapter").string()), 0);
    expectChange("com9 linked");

    touch(dev / "pts" / "7");
    expectChange("the device at the chain's end came");
    fs::remove(dev / "pts" / "7");
    expectChange("the device at the chain's end went");
    fs::remove(elsewhere / "adapter");
    expectChange("the link in the middle went");
    fs::create_symlink("../dev/ttyUSB0", elsewhere / "adapter");
    expectChange("the link in the middle came back");
    touch(elsewhere / "unrelated");
    expectQuiet("a neighbour of the link is no port");
}

TEST_F(PortWatchTest, ARenamedAndRemadeSettingsFolderIsFollowed) {
    ASSERT_EQ(addPortMapLink(9, "/dev/null"), 0);
    expectChange("com9 linked");
    const fs::path folder = map.parent_path();
    fs::rename(folder, folder.string() + ".old");
    expectChange("the map went with its folder");
    touch(folder.string() + ".old/ports/com10");
    expectQuiet("the renamed copy is no longer the map");
    ASSERT_EQ(addPortMapLink(11, "/dev/zero"), 0);
    expectChange("the remade map");
}

TEST_F(PortWatchTest, TakeChangesNeverWaitsAndAStoppedWatchReportsNothing) {
    EXPECT_FALSE(watch.takeChanges());
    touch(dev / "ttyS1");
    // The event may take a moment to be queued; takeChanges itself does not wait for it.
    bool seen = false;
    for (int i = 0; i < 100 && !seen; ++i) {
        seen = watch.takeChanges();
        if (!seen)
            usleep(10000);
    }
    EXPECT_TRUE(seen);
    EXPECT_FALSE(watch.takeChanges());

    watch.stop();
    EXPECT_EQ(watch.descriptor(), -1);
    touch(dev / "ttyS2");
    EXPECT_FALSE(watch.takeChanges());
    EXPECT_FALSE(watch.waitForChange(kQuiet));
}

} // namespace
