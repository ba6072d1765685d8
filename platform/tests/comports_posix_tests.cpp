// COM numbering over a scratch /dev, /sys and port map.
#include "platform/comports.h"
#include "platform/comporthelp.h"
#include "platform/tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class ComPorts : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dev);
        fs::create_directories(sys / "class/tty");
        setComPortRoots({dev.string(), sys.string(), map.string()});
    }
    void TearDown() override { setComPortRoots({}); }

    void touch(const fs::path &path, const std::string &text = "") {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }

    // A UART as sysfs shows it: a device link (driver bound) and its type (0 = unknown).
    void uart(int k, const std::string &type) {
        touch(dev / ("ttyS" + std::to_string(k)));
        fs::path base = sys / "class/tty" / ("ttyS" + std::to_string(k));
        fs::create_directories(base / "device");
        touch(base / "type", type + "\n");
    }

    // A USB adapter: the tty's device link points into the USB device that has "product".
    void usb(const std::string &name, const std::string &product) {
        touch(dev / name);
        fs::path usbDevice = sys / "devices/pci0/usb1/1-2";
        fs::path iface = usbDevice / "1-2:1.0" / name;
        fs::create_directories(iface);
        touch(usbDevice / "product", product + "\n");
        fs::create_directories(sys / "class/tty" / name);
        fs::create_symlink(iface, sys / "class/tty" / name / "device");
    }

    ScratchDir scratch{"comports_"};
    const fs::path root{scratch.path()};
    const fs::path dev{root / "dev"}, sys{root / "sys"}, map{root / "ports"};
};

TEST_F(ComPorts, FixedRuleMapsEachFamilyToItsRange) {
    uart(0, "4");
    usb("ttyUSB0", "FT232R USB UART");
    touch(dev / "ttyACM2");
    EXPECT_EQ(comDevicePath(1), (dev / "ttyS0").string());
    EXPECT_EQ(comDevicePath(33), (dev / "ttyUSB0").string());
    EXPECT_EQ(comDevicePath(67), (dev / "ttyACM2").string());
    EXPECT_EQ(comDevicePath(34), "") << "no ttyUSB1";
    EXPECT_EQ(comDevicePath(0), "");
    EXPECT_EQ(comDevicePath(257), "");
    EXPECT_EQ(comDevicePath(-1), "");
}

TEST_F(ComPorts, SerialNodeWithoutUartIsNoPort) {
    uart(0, "4");
    uart(1, "0");         // driver bound, type unknown
    touch(dev / "ttyS2"); // no sysfs entry at all
    EXPECT_NE(comDevicePath(1), "");
    EXPECT_EQ(comDevicePath(2), "");
    EXPECT_EQ(comDevicePath(3), "");
    std::vector<ComPortInfo> ports = listComPorts();
    ASSERT_EQ(ports.size(), 1u);
    EXPECT_EQ(ports[0].number, 1);
}

TEST_F(ComPorts, ListingIsOrderedAndCarriesUsbProduct) {
    touch(dev / "ttyACM0");
    usb("ttyUSB1", "FT232R USB UART");
    uart(3, "4");
    std::vector<ComPortInfo> ports = listComPorts();
    ASSERT_EQ(ports.size(), 3u);
    EXPECT_EQ(ports[0].number, 4);
    EXPECT_EQ(ports[0].product, "");
    EXPECT_EQ(ports[1].number, 34);
    EXPECT_EQ(ports[1].device, (dev / "ttyUSB1").string());
    EXPECT_EQ(ports[1].product, "FT232R USB UART");
    EXPECT_EQ(ports[2].number, 65);
}

TEST_F(ComPorts, ListingTakesOnlyPlainlyNumberedNames) {
    touch(dev / "ttyUSB01");     // not how the kernel names a device
    touch(dev / "ttyUSB0.lock"); // a stray file beside the devices
    touch(dev / "ttyUSB32");     // beyond the family's range
    touch(dev / "ttyACM191");    // the last number of all: COM 256
    touch(root / "pts3");
    fs::create_directories(map);
    fs::create_symlink(root / "pts3", map / "com07");
    fs::create_symlink(root / "pts3", map / "com300");
    fs::create_symlink(root / "pts3", map / "com12");
    std::vector<ComPortInfo> ports = listComPorts();
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].number, 12);
    EXPECT_EQ(ports[0].device, (root / "pts3").string());
    EXPECT_EQ(ports[1].number, 256);
}

TEST_F(ComPorts, PortMapEntryWinsOverFixedRule) {
    usb("ttyUSB0", "adapter");
    touch(root / "pts7");
    ASSERT_EQ(addPortMapLink(33, (root / "pts7").string()), 0);
    ASSERT_EQ(addPortMapLink(9, (root / "pts7").string()), 0);
    EXPECT_EQ(comDevicePath(33), (map / "com33").string());
    EXPECT_EQ(comDevicePath(9), (map / "com9").string());
    std::vector<ComPortInfo> ports = listComPorts();
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].number, 9);
    EXPECT_EQ(ports[0].device, (root / "pts7").string());
    EXPECT_EQ(ports[1].number, 33);
    EXPECT_EQ(ports[1].device, (root / "pts7").string());
}

TEST_F(ComPorts, StaleEntryIsNotListedButStillNamesItsNumber) {
    ASSERT_EQ(addPortMapLink(5, (root / "gone").string()), 0);
    EXPECT_TRUE(listComPorts().empty());
    // Opening it then reports the missing device instead of silently taking another one.
    EXPECT_EQ(comDevicePath(5), (map / "com5").string());
}

TEST_F(ComPorts, LinksAreReplacedAndRemovedOnlyByTheirOwner) {
    EXPECT_EQ(addPortMapLink(0, "/x"), -EINVAL);
    EXPECT_EQ(addPortMapLink(257, "/x"), -EINVAL);
    EXPECT_EQ(addPortMapLink(9, ""), -EINVAL);
    ASSERT_EQ(addPortMapLink(9, "/dev/pts/100"), 0);
    ASSERT_EQ(addPortMapLink(9, "/dev/pts/101"), 0);
    EXPECT_EQ(fs::read_symlink(map / "com9"), "/dev/pts/101");
    EXPECT_EQ(removePortMapLink(9, "/dev/pts/100"), 0);
    EXPECT_TRUE(fs::is_symlink(map / "com9")) << "another program's entry stays";
    EXPECT_EQ(removePortMapLink(9, "/dev/pts/101"), 0);
    EXPECT_FALSE(fs::is_symlink(map / "com9"));
    EXPECT_EQ(removePortMapLink(9), 0) << "nothing to remove is no failure";
    // No temporary names are left behind.
    EXPECT_TRUE(fs::is_empty(map));
}

TEST_F(ComPorts, PortMapFollowsXdgConfigHome) {
    setComPortRoots({dev.string(), sys.string(), ""});
    const char *saved = std::getenv("XDG_CONFIG_HOME");
    std::string savedValue = saved ? saved : "";
    setenv("XDG_CONFIG_HOME", (root / "cfg").c_str(), 1);
    EXPECT_EQ(portMapDirectory(), (root / "cfg/trz4steuerung/ports").string());
    EXPECT_EQ(addPortMapLink(12, "/dev/null"), 0) << "the directory is created";
    EXPECT_EQ(comDevicePath(12), (root / "cfg/trz4steuerung/ports/com12").string());
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_NE(portMapDirectory().find("/.config/trz4steuerung/ports"), std::string::npos);
    if (saved)
        setenv("XDG_CONFIG_HOME", savedValue.c_str(), 1);
}

// The "?" help names the port map in effect and offers its text for translation whole.
TEST_F(ComPorts, HelpNamesThePortMapInEffectAndIsTranslatedWhole) {
    std::vector<std::string> asked;
    const std::string text = comPortHelpText([&asked](const char *context, const char *source) {
        asked.push_back(std::string(context) + "|" + source);
        return std::string(source);
    });
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].rfind("ComHilfe|Die trz-4 Karte muss", 0), 0u);
    EXPECT_NE(text.find(map.string() + ", z. B. \"trz4ctl map 5"), std::string::npos) << text;
    EXPECT_EQ(text.find("%1"), std::string::npos);
    EXPECT_EQ(text.back(), '\n');

    // A translation places the directory where its "%1" is.
    const std::string english =
        comPortHelpText([](const char *, const char *) { return std::string("map: %1.\n"); });
    EXPECT_EQ(english, "map: " + map.string() + ".\n");
}

} // namespace
