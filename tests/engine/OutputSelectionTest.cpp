#include <gtest/gtest.h>

#include <typeinfo>

#include <map>

#include "engine/CKeyingEngine.h"
#include "core/OutputKind.h"

namespace {

// A device that opens or not as told.
class CScriptedDevice : public COutputDevice {
public:
    explicit CScriptedDevice(bool open) { SetOpen(open); }
};

// Which kinds (and ports) open, and every creation in order.
class CScriptedFactory : public COutputFactory {
public:
    std::unique_ptr<COutputDevice> Create(int kind, const std::string& portName) override {
        created.push_back(std::to_string(kind) + (kind == kSerialPortOutput ? ":" + portName : ""));
        if (kind < 0 || kind > 2) {
            return nullptr;
        }
        const auto found = opens.find(created.back());
        return std::make_unique<CScriptedDevice>(found != opens.end() && found->second);
    }
    std::map<std::string, bool> opens;
    std::vector<std::string> created;
};

struct Selection : testing::Test {
    Selection() {
        auto owned = std::make_unique<CScriptedFactory>();
        factory = owned.get();
        engine = std::make_unique<CKeyingEngine>(nullptr, nullptr, nullptr, std::move(owned));
    }
    CScriptedFactory* factory;
    std::unique_ptr<CKeyingEngine> engine;
};

TEST_F(Selection, SameKindIsCreatedAgain) {
    factory->opens["1"] = true;
    EXPECT_TRUE(engine->SelectOutput(kSoundCardOutput));
    EXPECT_TRUE(engine->SelectOutput(kSoundCardOutput));
    EXPECT_EQ(factory->created, (std::vector<std::string>{"1", "1"}));
    EXPECT_EQ(engine->GetOutputKind(), kSoundCardOutput);
}

TEST_F(Selection, SerialUsesThePortName) {
    factory->opens["2:COM4"] = true;
    engine->SetPortName("COM4");
    EXPECT_TRUE(engine->SelectOutput(kSerialPortOutput));
    engine->SetPortName("COM5");
    EXPECT_FALSE(engine->SelectOutput(kSerialPortOutput));
    EXPECT_EQ(engine->GetOutputKind(), kSerialPortOutput);
}

TEST_F(Selection, KindOutsideTheListSelectsNothing) {
    factory->opens["1"] = true;
    ASSERT_TRUE(engine->SelectOutput(kSoundCardOutput));
    EXPECT_FALSE(engine->SelectOutput(3));
    EXPECT_FALSE(engine->SelectOutput(-7));
    // What is then current is the silent device, of no kind, which keys nothing.
    EXPECT_EQ(engine->GetOutputKind(), -1);
    EXPECT_FALSE(engine->Device().IsOpen());
    EXPECT_EQ(typeid(engine->Device()), typeid(COutputDevice));
}

TEST_F(Selection, FallbackStopsAtTheFirstOutputThatOpens) {
    factory->opens["0"] = true;
    EXPECT_TRUE(engine->OpenDefaultOutput());
    EXPECT_EQ(factory->created, (std::vector<std::string>{"1", "0"}));
    EXPECT_EQ(engine->GetOutputKind(), kSpeakerOutput);

    factory->created.clear();
    factory->opens = {{"2:COM3", true}};
    EXPECT_TRUE(engine->OpenDefaultOutput());
    EXPECT_EQ(factory->created, (std::vector<std::string>{"1", "0", "2:COM1", "2:COM2", "2:COM3"}));
    EXPECT_EQ(engine->GetPortName(), "COM3");
}

TEST_F(Selection, NothingOpensLeavesTheLastSerialPort) {
    EXPECT_FALSE(engine->OpenDefaultOutput());
    EXPECT_EQ(factory->created.size(), 10u);
    EXPECT_EQ(engine->GetPortName(), "COM8");
    EXPECT_EQ(engine->GetOutputKind(), kSerialPortOutput);
    EXPECT_FALSE(engine->Device().IsOpen());
}

class CVolumeDevice : public COutputDevice {
public:
    explicit CVolumeDevice(std::uint32_t& seen) : volume(seen) {}
    void SetVolume(std::uint32_t newVolume) override { volume = newVolume; }

private:
    std::uint32_t& volume;
};

TEST(OutputVolume, ReachesOnlyTheSoundCard) {
    CKeyingEngine engine;
    std::uint32_t seen = 0xFFFFFFFFU;
    ASSERT_TRUE(engine.ReplaceDevice(std::make_unique<CVolumeDevice>(seen), kSpeakerOutput));
    engine.SetVolume(0x40004000U);
    EXPECT_EQ(seen, 0xFFFFFFFFU);
    ASSERT_TRUE(engine.ReplaceDevice(std::make_unique<CVolumeDevice>(seen), kSerialPortOutput));
    engine.SetVolume(0x40004000U);
    EXPECT_EQ(seen, 0xFFFFFFFFU);
    ASSERT_TRUE(engine.ReplaceDevice(std::make_unique<CVolumeDevice>(seen), kSoundCardOutput));
    engine.SetVolume(0x40004000U);
    EXPECT_EQ(seen, 0x40004000U);
}

}  // namespace
