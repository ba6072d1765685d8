// The card protocol end to end: the real termios layer, a pseudo-terminal, and the card
// simulator answering on its own thread. Short time-outs keep the suite fast.
#include "cardlink/openfailure.h"
#include "cardlink/vektrz4.h"
#include "platform/comports.h"
#include "platform/rs232.h"
#include "platform/tests/held_by_child.h"
#include "platform/tests/scratch_dir.h"
#include "tools/sim/trz4sim_engine.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kCom = 9;
constexpr double kTimeout = 0.1;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

SimOptions twoCardsAndAForeignDevice() {
    SimOptions options;
    options.com = kCom;
    SimCard first;
    first.id = "VEK-TRZ4-E2E";
    first.cardNumber = '3';
    first.status = 0x20;
    SimCard second;
    second.address = 'f';
    second.cardNumber = 'c';
    SimCard foreign;
    foreign.address = '2';
    foreign.foreign = true;
    foreign.id = "FREMDGERAET-X1";
    options.cards = {first, second, foreign};
    return options;
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        setComPortRoots(
            {(root / "dev").string(), (root / "sys").string(), (root / "ports").string()});
        ASSERT_EQ(sim.start(), 0);
        ASSERT_EQ(VEKTRZ4_Open(kCom, 9600), 0) << lastOpenFailureReason();
        ASSERT_EQ(VEKTRZ4_Timeout(kCom, kTimeout), 0);
    }
    void TearDown() override {
        VEKTRZ4_Close(kCom);
        sim.stop();
        setComPortRoots({});
    }

    int status(char address, int *value) {
        return VEKTRZ4_ParameterLesen(kCom, address, "status", nullptr, value, nullptr);
    }

    ScratchDir scratch{"vektrz4_e2e_"};
    const fs::path root{scratch.path()};
    CardSimulator sim{twoCardsAndAForeignDevice()};
};

TEST_F(EndToEnd, EachCommandSucceeds) {
    char text[32] = {};
    EXPECT_EQ(VEKTRZ4_IDLesen(kCom, '1', text), 0);
    EXPECT_STREQ(text, "VEK-TRZ4-E2E");
    char number = 0;
    EXPECT_EQ(VEKTRZ4_KartennummerLesen(kCom, '1', &number), 0);
    EXPECT_EQ(number, '3');
    EXPECT_EQ(VEKTRZ4_KartennummerSchreiben(kCom, '1', '5'), 0);
    EXPECT_EQ(sim.cardNumber('1'), '5');
    EXPECT_EQ(VEKTRZ4_KartennummerLesen(kCom, '1', &number), 0);
    EXPECT_EQ(number, '5');
    int value = -1;
    EXPECT_EQ(status('1', &value), 0);
    EXPECT_EQ(value, 32);
    sim.setStatus('1', 0xBEEF);
    EXPECT_EQ(status('1', &value), 0);
    EXPECT_EQ(value, 0xBEEF);
    EXPECT_EQ(sim.frames().back(), "#1S1R");
}

TEST_F(EndToEnd, PortOpenedAndClosedAroundEveryCommand) {
    // The program opens the port for each operation; every reopen of the pty must work.
    for (int round = 0; round < 3; ++round) {
        ASSERT_EQ(VEKTRZ4_Close(kCom), 0);
        ASSERT_EQ(VEKTRZ4_Open(kCom, 9600), 0) << lastOpenFailureReason();
        ASSERT_EQ(VEKTRZ4_Timeout(kCom, kTimeout), 0);
        int value = 0;
        EXPECT_EQ(status('1', &value), 0);
        EXPECT_EQ(value, 32);
    }
    EXPECT_EQ(VEKTRZ4_Close(kCom), 0);
    EXPECT_EQ(VEKTRZ4_Close(kCom), -103004) << "closing a closed port";
}

TEST_F(EndToEnd, SeveralCardsAndAForeignDeviceShareTheLine) {
    char text[32] = {};
    char number = 0;
    EXPECT_EQ(VEKTRZ4_KartennummerLesen(kCom, 'f', &number), 0);
    EXPECT_EQ(number, 'c');
    EXPECT_EQ(VEKTRZ4_IDLesen(kCom, 'f', text), 0);
    EXPECT_STREQ(text, "VEK-TRZ4-SIM");
    EXPECT_EQ(VEKTRZ4_IDLesen(kCom, '2', text), 0);
    EXPECT_STREQ(text, "FREMDGERAET-X1");
    EXPECT_EQ(VEKTRZ4_KartennummerLesen(kCom, '2', &number), -402022);
    EXPECT_EQ(VEKTRZ4_IDLesen(kCom, '7', text), -403012) << "no device at 7";
}

TEST_F(EndToEnd, SilenceCostsOneTimeoutAndNoMore) {
    sim.setFault(SimFault::Silence);
    char text[32];
    auto start = Clock::now();
    EXPECT_EQ(VEKTRZ4_IDLesen(kCom, '1', text), -403012);
    double elapsed = secondsSince(start);
    EXPECT_GE(elapsed, kTimeout);
    EXPECT_LE(elapsed, kTimeout * 1.8);
}

struct FaultCase {
    SimFault fault;
    int stallAfter;
    int id, readNumber, writeNumber, status;
};

TEST_F(EndToEnd, EachFaultGivesEachCommandsCode) {
    const FaultCase cases[] = {
        {SimFault::Silence, 0, -403012, -403024, -403040, -403160},
        {SimFault::Nak, 0, -402010, -402022, -402038, -402158},
        {SimFault::Can, 0, -405011, -405023, -405039, -405159},
        {SimFault::Err, 0, 0, 0, 0, -409164},
        {SimFault::Garbage, 0, -404015, -404027, -404041, -404163},
        {SimFault::HighBit, 0, -404014, -404026, -403040, -404162},
        {SimFault::Stall, 3, -404014, -404026, 0, -404162},
        {SimFault::Stall, 0, -403012, -403024, -403040, -403160},
        {SimFault::Overlong, 0, -404015, 0, 0, 0},
    };
    for (const FaultCase &c : cases) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        SCOPED_TRACE(c.stallAfter);
        sim.setFault(c.fault, c.stallAfter);
        char text[32];
        char number;
        int value;
        EXPECT_EQ(VEKTRZ4_IDLesen(kCom, '1', text), c.id);
        EXPECT_EQ(VEKTRZ4_KartennummerLesen(kCom, '1', &number), c.readNumber);
        EXPECT_EQ(VEKTRZ4_KartennummerSchreiben(kCom, '1', '4'), c.writeNumber);
        EXPECT_EQ(status('1', &value), c.status);
        if (c.status == 0) {
            EXPECT_EQ(value, 32);
        }
    }
    // The line is clean again for the next command: leftovers of an over-long answer were
    // flushed.
    sim.setFault(SimFault::None);
    char text[32];
    EXPECT_EQ(VEKTRZ4_IDLesen(kCom, '1', text), 0);
    EXPECT_STREQ(text, "VEK-TRZ4-E2E");
}

TEST_F(EndToEnd, VanishingOtherEndEndsTheCommandWithinOneTimeout) {
    ASSERT_EQ(VEKTRZ4_Timeout(kCom, 1.0), 0);
    sim.vanishAfter(4); // ACK, "#", "1", "V" - then the cable is pulled
    char text[32];
    auto start = Clock::now();
    EXPECT_EQ(VEKTRZ4_IDLesen(kCom, '1', text), -404014);
    EXPECT_LT(secondsSince(start), 1.0);
    // The next command fails at once as well, never hangs.
    start = Clock::now();
    int value;
    int result = status('1', &value);
    EXPECT_TRUE(result == -112155 || result == -101156 || result == -403160) << result;
    EXPECT_LT(secondsSince(start), 1.5);
    EXPECT_EQ(VEKTRZ4_Close(kCom), 0);
}

TEST_F(EndToEnd, PortHeldByAnotherProgramIsBusy) {
    ASSERT_EQ(VEKTRZ4_Close(kCom), 0);
    const std::string device = sim.devicePath();
    // Another program: opens the port for exclusive use and holds it until told to stop.
    HeldByChild other([&device] {
        int fd = open(device.c_str(), O_RDWR | O_NOCTTY);
        return fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
    });
    ASSERT_TRUE(other.holds());
    EXPECT_EQ(VEKTRZ4_Open(kCom, 9600), -100003);
    EXPECT_NE(std::string(lastOpenFailureReason()).find("belegt"), std::string::npos)
        << lastOpenFailureReason();
    other.release();
    EXPECT_EQ(VEKTRZ4_Open(kCom, 9600), 0) << "free once the other program has ended";
}

TEST_F(EndToEnd, SecondOpenThroughAnotherNumberIsBusy) {
    ASSERT_EQ(addPortMapLink(kCom + 1, sim.devicePath()), 0);
    EXPECT_EQ(VEKTRZ4_Open(kCom + 1, 9600), -100003);
    EXPECT_NE(std::string(lastOpenFailureReason()).find("belegt"), std::string::npos);
}

TEST_F(EndToEnd, MissingPortFailsToOpenWithReason) {
    EXPECT_EQ(VEKTRZ4_Open(200, 9600), -100003);
    EXPECT_NE(std::string(lastOpenFailureReason()).find("COM 200"), std::string::npos)
        << lastOpenFailureReason();
}

TEST_F(EndToEnd, LineDelayModelsTheWireTime) {
    sim.setByteDelay(kByteTime9600);
    int value = 0;
    auto start = Clock::now();
    ASSERT_EQ(status('1', &value), 0);
    double elapsed = secondsSince(start);
    // Frame 6, ACK 1, answer "#1S1R20" CR 8: 15 bytes on the line.
    double wire = 15 * kByteTime9600;
    EXPECT_GE(elapsed, wire * 0.95);
    EXPECT_LT(elapsed, wire * 1.8 + 0.1) << "generous: a loaded machine may oversleep";
}

TEST(SimulatorLink, StopRemovesThePortMapEntry) {
    const ScratchDir scratch("vektrz4_link_");
    const fs::path root = scratch.path();
    setComPortRoots({"", "", (root / "ports").string()});
    {
        SimOptions options;
        options.com = 21;
        CardSimulator sim(options);
        ASSERT_EQ(sim.start(), 0);
        EXPECT_EQ(comDevicePath(21), (root / "ports/com21").string());
        EXPECT_EQ(fs::read_symlink(root / "ports/com21"), sim.devicePath());
    }
    EXPECT_FALSE(fs::is_symlink(root / "ports/com21"));
    setComPortRoots({});
}

} // namespace
