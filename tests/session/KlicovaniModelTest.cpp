#include <gtest/gtest.h>

#include "session/CKlicovaniModel.h"

namespace {

// The fields in use follow the input and the mode; keys come from the list, a port kept in the
// settings is offered beside the machine's.
TEST(KlicovaniModel, FieldsFollowTheInputAndTheMode) {
    KeyingSettings start;
    start.port = "/dev/ttyUSB3";
    CKlicovaniModel model(start, {"/dev/ttyS0", "/dev/ttyS1"});
    CKlicovaniModel::View view = model.GetView();
    EXPECT_TRUE(view.straightKeyEnabled);
    EXPECT_FALSE(view.leversEnabled);
    EXPECT_FALSE(view.portEnabled);
    EXPECT_EQ(view.straightKey, 0);
    EXPECT_EQ(view.dashKey, 1);
    EXPECT_EQ(view.ports, (std::vector<std::string>{"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyUSB3"}));
    EXPECT_EQ(view.port, 2);

    model.ChooseMode(2);
    model.ChooseDotKey(5);
    model.ChooseDashKey(99);
    view = model.GetView();
    EXPECT_FALSE(view.straightKeyEnabled);
    EXPECT_TRUE(view.leversEnabled);
    EXPECT_EQ(model.Settings().mode, KeyerMode::kIambicB);
    EXPECT_EQ(model.Settings().dotKey, 0x20);
    EXPECT_EQ(model.Settings().dashKey, KeyingSettings::kRightControl);

    model.ChooseInput(2);
    model.ChoosePort(0);
    view = model.GetView();
    EXPECT_FALSE(view.leversEnabled);
    EXPECT_TRUE(view.portEnabled);
    EXPECT_EQ(model.Settings().port, "/dev/ttyS0");
    // The port chosen before is no longer offered once another is chosen.
    EXPECT_EQ(view.ports.size(), 2U);

    KeyingSettings foreign;
    foreign.straightKey = 0x61;
    EXPECT_EQ(CKlicovaniModel(foreign, {}).GetView().straightKey, -1);
}

// The keying area is told what keys in the keying window's words.
TEST(KlicovaniModel, DescribesTheInput) {
    KeyingSettings paddle;
    paddle.mode = KeyerMode::kIambicA;
    paddle.dashKey = 0x78;
    KeyingSettings mouse;
    mouse.input = KeyInput::kMouse;
    KeyingSettings serial;
    serial.input = KeyInput::kSerial;
    serial.port = "/dev/ttyUSB0";
    const std::pair<KeyingSettings, std::string> cases[] = {
        {KeyingSettings{}, "Klávesa klíče: levý Ctrl"},
        {paddle, "Klávesa tečky: levý Ctrl, Klávesa čárky: X"},
        {mouse, "tlačítka myši v ploše pro klíčování"},
        {serial, "linky CTS a DSR sériového portu /dev/ttyUSB0"},
    };
    for (const auto& [settings, expected] : cases) {
        EXPECT_EQ(CKlicovaniModel(settings, {}).InputDescription(), expected);
    }
}

}  // namespace
