// The serial layer and the card protocol on a real serial device. Every other test runs on a
// pseudo-terminal, which cannot frame 7 data bits with parity, so the 7O1 path of the serial
// layer only runs here.
//
//   TRZ4_TEST_SERIAL_DEVICE=/dev/ttyUSB0   the device (a USB serial adapter); without it every
//                                          case is skipped
//   TRZ4_TEST_SERIAL_LOOPBACK=1            its TX is wired to its RX: bytes come back 7-bit
//   TRZ4_TEST_SERIAL_CARD=1                a trz-4 card answers at address "1"; without it the
//                                          card case probes and skips when nothing answers
#include "cardlink/openfailure.h"
#include "cardlink/vektrz4.h"
#include "platform/comports.h"
#include "platform/rs232.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The device goes into a scratch port map under this COM number, so that the protocol's own
// open (by number, with the card's link parameters) is what runs.
constexpr int kCom = 250;

std::string environment(const char *name) {
    const char *value = std::getenv(name);
    return value ? value : "";
}

class RealAdapter : public ::testing::Test {
protected:
    void SetUp() override {
        device = environment("TRZ4_TEST_SERIAL_DEVICE");
        if (device.empty())
            GTEST_SKIP() << "TRZ4_TEST_SERIAL_DEVICE is not set: no real serial adapter to test "
                            "(e.g. TRZ4_TEST_SERIAL_DEVICE=/dev/ttyUSB0)";
        struct stat info {};
        ASSERT_EQ(stat(device.c_str(), &info), 0) << device << ": " << std::strerror(errno);
        ASSERT_TRUE(S_ISCHR(info.st_mode)) << device << " is no character device";
        ASSERT_FALSE(major(info.st_rdev) >= 136 && major(info.st_rdev) <= 143)
            << device << " is a pseudo-terminal, which cannot carry 7O1; name a real adapter";

        std::string pattern = (fs::temp_directory_path() / "trz4-real-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        scratch = pattern;
        const char *config = std::getenv("XDG_CONFIG_HOME");
        savedConfig = config ? std::optional<std::string>(config) : std::nullopt;
        setenv("XDG_CONFIG_HOME", scratch.c_str(), 1);
        ASSERT_EQ(addPortMapLink(kCom, device), 0);

        // A descriptor of the test's own on the same tty, opened before the port takes it
        // exclusively, to read back the line settings the open applied.
        watcher = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(watcher, 0) << device << ": " << std::strerror(errno);
        ASSERT_EQ(VEKTRZ4_Open(kCom, kTrz4BaudRate), 0) << lastOpenFailureReason();
        opened = true;
        ASSERT_EQ(VEKTRZ4_Timeout(kCom, 1.0), 0);
    }

    void TearDown() override {
        if (opened) {
            EXPECT_EQ(VEKTRZ4_Close(kCom), 0);
        }
        if (watcher >= 0)
            close(watcher);
        if (!scratch.empty()) {
            if (savedConfig)
                setenv("XDG_CONFIG_HOME", savedConfig->c_str(), 1);
            else
                unsetenv("XDG_CONFIG_HOME");
            fs::remove_all(scratch);
        }
    }

    std::string device;
    fs::path scratch;
    std::optional<std::string> savedConfig;
    int watcher = -1;
    bool opened = false;
};

TEST_F(RealAdapter, OpenAppliesSevenDataBitsOddParityAt9600) {
    termios applied{};
    ASSERT_EQ(tcgetattr(watcher, &applied), 0) << std::strerror(errno);
    EXPECT_EQ(applied.c_cflag & CSIZE, static_cast<tcflag_t>(CS7));
    EXPECT_NE(applied.c_cflag & PARENB, 0u) << "parity on";
    EXPECT_NE(applied.c_cflag & PARODD, 0u) << "odd parity";
    EXPECT_EQ(applied.c_cflag & CSTOPB, 0u) << "one stop bit";
    EXPECT_EQ(cfgetospeed(&applied), static_cast<speed_t>(B9600));
    EXPECT_EQ(cfgetispeed(&applied), static_cast<speed_t>(B9600));
}

TEST_F(RealAdapter, LoopBackCarriesSevenBitBytes) {
    if (environment("TRZ4_TEST_SERIAL_LOOPBACK") != "1")
        GTEST_SKIP() << "TRZ4_TEST_SERIAL_LOOPBACK=1 is not set: TX is not wired to RX";
    ASSERT_EQ(PufferLeeren(kCom), 0);
    // 0xC4 has its eighth bit set: on a 7-bit line it cannot arrive as sent.
    const char sent[] = "#1IDR\r\xC4";
    const int length = static_cast<int>(sizeof sent - 1);
    ASSERT_EQ(ComWrt(kCom, sent, length), length);
    std::string received;
    for (int i = 0; i < length; ++i) {
        const int byte = ComRdByte(kCom);
        ASSERT_GE(byte, 0) << "byte " << i << " did not come back";
        received += static_cast<char>(byte);
    }
    EXPECT_EQ(received, std::string("#1IDR\r\x44"));
}

TEST_F(RealAdapter, ACardAnswersItsIdentificationNumberAndStatus) {
    const bool cardRequired = environment("TRZ4_TEST_SERIAL_CARD") == "1";
    char id[kTrz4IdBufferSize] = {};
    const int code = VEKTRZ4_IDLesen(kCom, '1', id);
    if (code != 0 && !cardRequired)
        GTEST_SKIP() << "no card answered at address 1 (code " << code
                     << "); TRZ4_TEST_SERIAL_CARD=1 makes that a failure";
    ASSERT_EQ(code, 0);
    EXPECT_EQ(std::strncmp(id, kTrz4CardPrefix, sizeof kTrz4CardPrefix - 1), 0) << id;

    int status = 0;
    EXPECT_EQ(VEKTRZ4_ParameterLesen(kCom, '1', "status", nullptr, &status, nullptr), 0);
    char number = 0;
    EXPECT_EQ(VEKTRZ4_KartennummerLesen(kCom, '1', &number), 0);
    EXPECT_TRUE(trz4ValidCharacter(number)) << static_cast<int>(number);
    std::printf("card: ID %s, status 0x%X, card number %c\n", id, static_cast<unsigned>(status),
                number);
}

} // namespace
