#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/kd.h>
#include <sys/ioctl.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "output/CBeepSpeakerOutput.h"
#include "output/CKeyLineOutput.h"
#include "output/COutputFactory.h"
#include "output/CPortSpeakerOutput.h"
#include "output/CSerialKeyLines.h"
#include "output/CSerialPortOutput.h"
#include "output/CSpeakerSidetone.h"
#include "output/MonotonicClock.h"
#include "output/SerialPorts.h"
#include "tests/support/CFakeSystemCalls.h"
#include "tests/support/CRecordingNotifier.h"

namespace {

const std::string kOpenFlags = std::to_string(O_WRONLY | O_NOCTTY | O_NONBLOCK);
const std::string kDtr = std::to_string(TIOCM_DTR);

struct LeverEdge {
    Paddle lever;
    bool down;
    bool operator==(const LeverEdge&) const = default;
};

// The lines a serial key interface closes, read as the changes the kernel reports: every change
// of CTS or DSR is an edge of its lever, in order, with the moment it was read; the lines can be
// swapped; a port that is no terminal is not read, and one that stops answering ends the reading.
TEST(SerialKeyLines, EachLineChangeIsAnEdgeOfItsLever) {
    for (const bool swap : {false, true}) {
        CFakeSystemCalls calls;
        calls.AddCharacterDevice("/dev/ttyUSB0", true);
        calls.ScriptModemLines({0, TIOCM_CTS, TIOCM_CTS | TIOCM_DSR | TIOCM_DTR, TIOCM_DSR, 0});
        CSerialKeyLines lines("/dev/ttyUSB0", swap, calls);
        std::mutex mutex;
        std::vector<LeverEdge> edges;
        std::vector<std::int64_t> moments;
        const std::int64_t before = MonotonicNanoseconds();
        ASSERT_TRUE(lines.Start([&](Paddle lever, bool down, std::int64_t at) {
            const std::lock_guard<std::mutex> lock(mutex);
            edges.push_back({lever, down});
            moments.push_back(at);
        }));
        for (int wait = 0; wait < 2000 && !lines.Lost(); ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_TRUE(lines.Lost());
        lines.Stop();
        const Paddle cts = swap ? Paddle::kDash : Paddle::kDot;
        const Paddle dsr = swap ? Paddle::kDot : Paddle::kDash;
        EXPECT_EQ(edges,
                  (std::vector<LeverEdge>{{cts, true}, {dsr, true}, {cts, false}, {dsr, false}}));
        for (std::size_t i = 0; i < moments.size(); ++i) {
            EXPECT_GE(moments[i], i == 0 ? before : moments[i - 1]);
        }
    }
    CFakeSystemCalls calls;
    calls.AddCharacterDevice("/dev/ttyS0", false);
    CSerialKeyLines notATerminal("/dev/ttyS0", false, calls);
    EXPECT_FALSE(notATerminal.Start([](Paddle, bool, std::int64_t) {}));
}

TEST(SerialPort, OpensExclusivelyDropsDtrAndKeysIt) {
    CFakeSystemCalls calls;
    CRecordingNotifier notifier;
    calls.AddCharacterDevice("/dev/ttyS2", true);
    std::int64_t keyed = 0;
    {
        CSerialPortOutput port("COM3", calls, notifier);
        EXPECT_TRUE(port.IsOpen());
        port.SetTone(800);
        keyed = MonotonicNanoseconds();
        port.Key(20000);  // 2 ms
        port.EndTransmission();
    }
    // DTR is dropped at open, after the element, when the transmission ends and before close.
    EXPECT_EQ(calls.Calls(), (std::vector<std::string>{
                                 "open /dev/ttyS2 flags " + kOpenFlags,
                                 "TIOCEXCL /dev/ttyS2 0",
                                 "TIOCMBIC /dev/ttyS2 " + kDtr,
                                 "TIOCMBIS /dev/ttyS2 " + kDtr,
                                 "TIOCMBIC /dev/ttyS2 " + kDtr,
                                 "TIOCMBIC /dev/ttyS2 " + kDtr,
                                 "TIOCMBIC /dev/ttyS2 " + kDtr,
                                 "TIOCNXCL /dev/ttyS2 0",
                                 "close /dev/ttyS2",
                             }));
    // DTR dropped no sooner than the Key duration after the call (the duration counts from the
    // call, not from the raise, so that the raise's own time does not lengthen the element).
    EXPECT_GE(calls.TimedCalls()[4].at - keyed, 2000000);
    EXPECT_TRUE(notifier.Events().empty());
}

// A line that cannot be keyed (a pseudo-terminal has no DTR) says so with the system's reason
// from the first refused edge of a transmission on, until the next transmission begins.
TEST(SerialPort, RefusedLineIsAFailureOfTheTransmission) {
    CFakeSystemCalls calls;
    CRecordingNotifier notifier;
    calls.AddCharacterDevice("/dev/ttyS0", true);
    calls.RefuseIoctl("/dev/ttyS0", TIOCMBIS);
    CSerialPortOutput port("COM1", calls, notifier);
    ASSERT_TRUE(port.IsOpen());
    port.BeginTransmission(TransmissionPace::Continuous, 0);
    port.BeginSegment();
    EXPECT_FALSE(port.Failure());
    port.KeyOnTimeline(0, 1000, 1000);
    EXPECT_EQ(port.Failure().fault, OutputFault::kLineRefused);
    EXPECT_EQ(port.Failure().error, ENOTTY);
    port.BeginTransmission(TransmissionPace::Continuous, 0);
    EXPECT_FALSE(port.Failure());
}

TEST(SerialPort, NameMapping) {
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(SerialDevicePath("COM" + std::to_string(i + 1)), "/dev/ttyS" + std::to_string(i));
    }
    EXPECT_EQ(SerialDevicePath("/dev/ttyUSB0"), "/dev/ttyUSB0");
    for (const char* name : {"COM9", "COM0", "com1", "ttyS0", "", "/dev/", "/etc/passwd"}) {
        EXPECT_FALSE(SerialDevicePath(name).has_value()) << name;
    }
}

TEST(SerialPort, RefusesWhatIsNotATerminal) {
    CFakeSystemCalls calls;
    CRecordingNotifier notifier;
    calls.AddCharacterDevice("/dev/null", false);
    calls.AddFile("/dev/../etc/passwd");
    EXPECT_FALSE(CSerialPortOutput("/dev/null", calls, notifier).IsOpen());
    EXPECT_FALSE(CSerialPortOutput("/dev/../etc/passwd", calls, notifier).IsOpen());
    EXPECT_FALSE(CSerialPortOutput("/etc/passwd", calls, notifier).IsOpen());
    EXPECT_FALSE(CSerialPortOutput("COM1", calls, notifier).IsOpen());  // no such port
    // The character device was opened and closed again; the regular file was never opened.
    EXPECT_EQ(calls.Calls(),
              (std::vector<std::string>{"open /dev/null flags " + kOpenFlags, "close /dev/null"}));
    EXPECT_TRUE(calls.OpenPaths().empty());
    EXPECT_TRUE(notifier.Events().empty());
}

TEST(SerialPort, PortInUseIsNotOpened) {
    CFakeSystemCalls calls;
    CRecordingNotifier notifier;
    calls.AddCharacterDevice("/dev/ttyS0", true);
    calls.RefuseIoctl("/dev/ttyS0", TIOCEXCL);
    EXPECT_FALSE(CSerialPortOutput("COM1", calls, notifier).IsOpen());
    EXPECT_TRUE(calls.OpenPaths().empty());
}

TEST(SerialPort, CloseFailureIsReported) {
    CFakeSystemCalls calls;
    CRecordingNotifier notifier;
    calls.AddCharacterDevice("/dev/ttyS0", true);
    calls.FailCloses();
    { CSerialPortOutput port("COM1", calls, notifier); }
    EXPECT_EQ(notifier.Events(), std::vector<std::string>{"SerialCloseFailed"});
}

TEST(SerialPort, ListOffersComPortsThenUsbAdapters) {
    CFakeSystemCalls calls;
    calls.SetFolder("/dev", {"ttyUSB10", "tty0", "ttyACM0", "ttyUSB2", "null", "ttyS0"});
    EXPECT_EQ(ListSerialPorts(calls),
              (std::vector<std::string>{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
                                        "COM8", "/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyUSB10"}));
}

TEST(PortSpeaker, DivisorsOfTheToneList) {
    CFakeSystemCalls calls;
    CPortSpeakerOutput speaker(calls);
    const std::pair<int, unsigned> cases[] = {{400, 2982}, {450, 2651}, {800, 1491}, {1000, 1193}};
    for (const auto& [hz, divisor] : cases) {
        speaker.SetTone(hz);
        EXPECT_EQ(speaker.Divisor(), divisor) << hz;
    }
}

TEST(PortSpeaker, KeysThroughTheConsole) {
    CFakeSystemCalls calls;
    calls.AddPcSpeaker();
    calls.AddCharacterDevice("/dev/console", false);
    {
        CPortSpeakerOutput speaker(calls);
        ASSERT_TRUE(speaker.IsOpen());
        speaker.SetTone(800);
        speaker.Key(10000);
    }
    EXPECT_EQ(calls.Calls(), (std::vector<std::string>{
                                 "open /dev/console flags " + kOpenFlags,
                                 "KIOCSOUND /dev/console 0",
                                 "KIOCSOUND /dev/console 1491",
                                 "KIOCSOUND /dev/console 0",
                                 "KIOCSOUND /dev/console 0",
                                 "close /dev/console",
                             }));
}

TEST(PortSpeaker, ConsoleWithoutSpeakerIsNotOpen) {
    CFakeSystemCalls calls;
    calls.AddPcSpeaker();
    calls.AddCharacterDevice("/dev/console", false);
    calls.AddCharacterDevice("/dev/tty0", false);
    calls.RefuseIoctl("/dev/console", KIOCSOUND);
    calls.RefuseIoctl("/dev/tty0", KIOCSOUND);
    EXPECT_FALSE(CPortSpeakerOutput(calls).IsOpen());
    EXPECT_TRUE(calls.OpenPaths().empty());
}

// A console takes KIOCSOUND whether or not a speaker driver is loaded: without a speaker in the
// kernel's input device list the output stays closed and opens nothing.
TEST(PortSpeaker, NotOpenWhereTheKernelListsNoSpeaker) {
    CFakeSystemCalls calls;
    calls.AddCharacterDevice("/dev/console", false);
    calls.SetText("/proc/bus/input/devices",
                  "I: Bus=0011 Vendor=0001 Product=0001\nN: Name=\"AT Translated Set 2 keyboard\"\n"
                  "B: EV=120013\nB: LED=7\n\n");
    EXPECT_FALSE(CPortSpeakerOutput(calls).IsOpen());
    EXPECT_TRUE(calls.Calls().empty());
}

TEST(PortSpeaker, SpeakerListedByItsToneCapability) {
    const std::pair<const char*, bool> lists[] = {
        {"", false},
        {"N: Name=\"PC Speaker\"\nB: EV=40001\nB: SND=6\n", true},
        {"N: Name=\"beeper\"\nB: SND=4\n", true},
        {"N: Name=\"clicker\"\nB: SND=1\n", false},
        {"N: Name=\"keyboard\"\nB: LED=7\nB: KEY=ff 0\n", false},
        {"B: SND=zz\n", false},
        {"XB: SND=6\n", false},
        {"N: Name=\"a\"\nB: SND=1\n\nN: Name=\"b\"\nB: SND=7", true},
    };
    for (const auto& [list, speaker] : lists) {
        CFakeSystemCalls calls;
        calls.SetText("/proc/bus/input/devices", list);
        EXPECT_EQ(CPortSpeakerOutput::MachineHasSpeaker(calls), speaker) << list;
    }
}

TEST(BeepSpeaker, FindsTheToneGeneratorAndBeepsWholeMilliseconds) {
    CFakeSystemCalls calls;
    calls.SetFolder("/dev/input", {"mice", "event1", "event0"});
    calls.AddCharacterDevice("/dev/input/event0", false);
    calls.AddCharacterDevice("/dev/input/event1", false);
    calls.AddToneGenerator("/dev/input/event1");
    {
        CBeepSpeakerOutput speaker(calls);
        ASSERT_TRUE(speaker.IsOpen());
        speaker.SetTone(600);
        speaker.Key(9999);  // below a millisecond: no beep at all
        speaker.Key(25000);
    }
    const std::vector<std::string> all = calls.Calls();
    const std::vector<std::string> beeps(all.begin() + 5, all.end());
    EXPECT_EQ(beeps,
              (std::vector<std::string>{"tone /dev/input/event1 600", "tone /dev/input/event1 0",
                                        "tone /dev/input/event1 0", "close /dev/input/event1"}));
    EXPECT_GE(calls.TimedCalls()[6].at - calls.TimedCalls()[5].at, 2000000);
    EXPECT_EQ(CBeepSpeakerOutput::BeepMilliseconds(9999), 0);
    EXPECT_EQ(CBeepSpeakerOutput::BeepMilliseconds(600000), 60);
}

TEST(BeepSpeaker, NoToneGeneratorIsNotOpen) {
    CFakeSystemCalls calls;
    calls.SetFolder("/dev/input", {"event0"});
    calls.AddCharacterDevice("/dev/input/event0", false);
    EXPECT_FALSE(CBeepSpeakerOutput(calls).IsOpen());
    EXPECT_TRUE(calls.OpenPaths().empty());
}

// The PC speaker's sidetone sounds the tone while the key is down; a set of sidetones keys only
// those that opened, and is open when one of them is.
TEST(SpeakerSidetone, SoundsWhileTheKeyIsDown) {
    CFakeSystemCalls calls;
    calls.SetFolder("/dev/input", {"event0"});
    calls.AddCharacterDevice("/dev/input/event0", false);
    calls.AddToneGenerator("/dev/input/event0");
    CFakeSystemCalls none;
    {
        CSidetoneSet sidetones;
        sidetones.Add(std::make_unique<CSpeakerSidetone>(calls));
        sidetones.Add(std::make_unique<CSpeakerSidetone>(none));
        ASSERT_TRUE(sidetones.Open(700, 0.5F));
        sidetones.Key(true, 0);
        sidetones.Key(false, 1);
    }
    const std::vector<std::string> all = calls.Calls();
    EXPECT_EQ(std::vector<std::string>(all.end() - 4, all.end()),
              (std::vector<std::string>{"tone /dev/input/event0 700", "tone /dev/input/event0 0",
                                        "tone /dev/input/event0 0", "close /dev/input/event0"}));
    CSidetoneSet nothing;
    nothing.Add(std::make_unique<CSpeakerSidetone>(none));
    EXPECT_FALSE(nothing.Open(700, 0.5F));
}

TEST(OutputFactory, SpeakerPrefersTheConsole) {
    CRecordingNotifier notifier;
    CFakeSystemCalls withConsole;
    withConsole.AddPcSpeaker();
    withConsole.AddCharacterDevice("/dev/console", false);
    CSystemOutputFactory first(withConsole, notifier);
    EXPECT_NE(dynamic_cast<CPortSpeakerOutput*>(first.Create(0, "").get()), nullptr);

    CFakeSystemCalls withoutConsole;
    CSystemOutputFactory second(withoutConsole, notifier);
    EXPECT_NE(dynamic_cast<CBeepSpeakerOutput*>(second.Create(0, "").get()), nullptr);
    EXPECT_EQ(second.Create(3, ""), nullptr);
    EXPECT_EQ(second.Create(-1, ""), nullptr);
}

// A key line whose first key-down is followed by a stall of the thread, longer than the element
// and the gap after it.
class CStallingLine : public CKeyLineOutput {
public:
    std::vector<std::int64_t> edges;

protected:
    int SetLine(bool on) override {
        edges.push_back(MonotonicNanoseconds());
        if (on && edges.size() == 1) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return 0;
    }
};

// A stall lengthens the interval it falls in; what follows keeps at least three quarters of its
// length, so that two elements never run into one.
TEST(KeyLine, AfterAStallEveryIntervalKeepsThreeQuarters) {
    constexpr std::int32_t kElementUnits = 50000;  // 5 ms
    CStallingLine line;
    line.BeginSegment();
    line.KeyOnTimeline(0, kElementUnits, kElementUnits);
    line.WaitOnTimeline(2 * kElementUnits);
    line.KeyOnTimeline(2 * kElementUnits, kElementUnits, kElementUnits);
    ASSERT_EQ(line.edges.size(), 4U);
    EXPECT_GE(line.edges[1] - line.edges[0], 20000000);
    EXPECT_GE(line.edges[2] - line.edges[1], 3700000);
    EXPECT_GE(line.edges[3] - line.edges[2], 3700000);
}

}  // namespace
