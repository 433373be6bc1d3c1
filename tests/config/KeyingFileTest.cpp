#include <gtest/gtest.h>

#include <string>

#include "config/CKeyingFile.h"
#include "tests/support/CTemporaryFolder.h"
#include "tests/support/CaseName.h"

namespace {

KeyingSettings SerialPaddle() {
    KeyingSettings settings;
    settings.input = KeyInput::kSerial;
    settings.mode = KeyerMode::kIambicB;
    settings.straightKey = KeyingSettings::kHighestKeysym;
    settings.dotKey = KeyingSettings::kLowestKeysym;
    settings.dashKey = 'b';
    settings.port = "/dev/ttyUSB0";
    settings.swapLines = true;
    settings.sidetone = false;
    settings.speakerSidetone = true;
    return settings;
}

// What is written reads back the same, through a real file; the defaults are the left Ctrl key as
// a straight key, with the sidetone on the sound card.
TEST(KeyingFile, ReadsAsWrittenWithTheDefaultsOfAMissingFile) {
    const CTemporaryFolder folder;
    const CKeyingFile file(folder.File(CKeyingFile::kFileName));
    EXPECT_EQ(file.Read(), KeyingSettings{});
    EXPECT_EQ(KeyingSettings{}.straightKey, KeyingSettings::kLeftControl);
    EXPECT_EQ(KeyingSettings{}.mode, KeyerMode::kStraight);
    ASSERT_TRUE(file.Write(SerialPaddle()));
    EXPECT_EQ(file.Read(), SerialPaddle());
    EXPECT_EQ(CKeyingFile::Format(KeyingSettings{}),
              "vstup=0\nrezim=0\nklic=65507\ntecka=65507\ncarka=65508\nprohodit=0\npriposlech=1\n"
              "reproduktor=0\n");
}

struct HostileCase {
    std::string name;
    std::string bytes;
    std::string expected;  // as written back
};

class KeyingHostile : public testing::TestWithParam<HostileCase> {};

// A damaged, out-of-range or foreign line keeps that setting's default; a port that is no device
// path is not taken.
TEST_P(KeyingHostile, BadLinesKeepDefaults) {
    EXPECT_EQ(CKeyingFile::Format(CKeyingFile::Parse(GetParam().bytes)), GetParam().expected);
}

const std::string kDefaults = CKeyingFile::Format(KeyingSettings{});

INSTANTIATE_TEST_SUITE_P(
    Lines, KeyingHostile,
    testing::Values(
        HostileCase{"OutOfRange", "vstup=3\nrezim=-1\nklic=0\ntecka=16777216\ncarka=x\n",
                    kDefaults},
        HostileCase{"PortOutsideDev", "port=/etc/passwd\nport=/dev/../etc\nport=ttyS0\n",
                    kDefaults},
        HostileCase{"PortWithControlBytes", std::string("port=/dev/tty\x01S0\nport=/dev/tty S0\n"),
                    kDefaults},
        HostileCase{"PortTooLong", "port=/dev/" + std::string(60, 'a') + "\n", kDefaults},
        HostileCase{"GoodPortAndCrLf", "port=/dev/ttyACM0\r\nrezim=1\r\n",
                    "vstup=0\nrezim=1\nklic=65507\ntecka=65507\ncarka=65508\nport=/dev/ttyACM0\n"
                    "prohodit=0\npriposlech=1\nreproduktor=0\n"},
        HostileCase{"ZeroBytes", std::string("vstup=2\0\nrezim=2\n", 18),
                    "vstup=0\nrezim=2\nklic=65507\ntecka=65507\ncarka=65508\nprohodit=0\n"
                    "priposlech=1\nreproduktor=0\n"}),
    CaseName());

}  // namespace
