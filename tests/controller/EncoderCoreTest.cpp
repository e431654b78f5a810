// The controller library's behaviour through its device-access seam: one table of
// scenarios, each a device script, a sequence of calls with their results, and the
// device calls that must (and must not) have been made.

#include "EncoderCore.h"
#include "FakeDeviceAccess.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Reply = FakeDeviceAccess::Reply;
const Reply kAccept = FakeDeviceAccess::Accepted();
const Reply kRefuse = FakeDeviceAccess::Refused();
Reply Reading(unsigned char knobCount, unsigned char keyByte)
{
    return FakeDeviceAccess::Reading(knobCount, keyByte);
}
Reply OfLength(std::size_t length)
{
    return FakeDeviceAccess::OfLength(length);
}

constexpr bool kPresent = true;
constexpr bool kAbsent = false;

// The caller's integers hold this before every ReadValue, so "untouched" shows.
constexpr int kUntouched = 0x5EED;

enum class Op { Open, Close, Read, Led };

struct Call {
    Op op;
    int expected;
    int ledState = 0;
    // What ReadValue must leave in the caller's knob and key integers.
    int value = kUntouched;
    int keys = kUntouched;
};

Call Open(int expected)
{
    return {Op::Open, expected};
}
Call Close()
{
    return {Op::Close, 1};
}
Call Led(int state, int expected)
{
    return {Op::Led, expected, state};
}
// A ReadValue that must write nothing.
Call ReadFails(int expected)
{
    return {Op::Read, expected};
}
Call ReadGives(int value, int keys)
{
    return {Op::Read, 0, 0, value, keys};
}

struct Case {
    const char* name;
    std::vector<bool> opens;
    std::vector<Reply> replies;
    std::vector<Call> calls;
    std::vector<std::string> trace;
};

const char* const kLedOnH1 = "request h1 01 00 00 01 00";
const char* const kLedOffH1 = "request h1 01 00 00 00 00";
const char* const kReadH1 = "request h1 0e 00 00 00 00";

const Case kCases[] = {
    {"NeverOpenedRequestsGoToTheEmptyHandleAndFail",
     {},
     {},
     {ReadFails(-4), Led(1, -2), Led(0, -2), Close()},
     {"request empty 0e 00 00 00 00", "request empty 01 00 00 01 00",
      "request empty 01 00 00 00 00"}},

    {"DeviceAbsentSendsNothing",
     {kAbsent},
     {},
     {Open(-1), ReadFails(-1), Led(1, -1), Close(), Close()},
     {"open absent"}},

    {"OpenBlinksTheLed",
     {kPresent},
     {kAccept, kAccept},
     {Open(1)},
     {"open h1", kLedOnH1, kLedOffH1}},

    {"LedOnFailureGivesMinus2AndReadsWork",
     {kPresent},
     {kRefuse, kAccept, Reading(120, 63)},
     {Open(-2), ReadGives(8, 63)},
     {"open h1", kLedOnH1, kLedOffH1, kReadH1}},

    {"LedOffFailureGivesMinus3AndReadsWork",
     {kPresent},
     {kAccept, kRefuse, Reading(120, 63)},
     {Open(-3), ReadGives(8, 63)},
     {"open h1", kLedOnH1, kLedOffH1, kReadH1}},

    {"LedOffFailureOutranksLedOnFailure",
     {kPresent},
     {kRefuse, kRefuse, Reading(120, 63)},
     {Open(-3), ReadGives(8, 63)},
     {"open h1", kLedOnH1, kLedOffH1, kReadH1}},

    {"KnobCountsAndKeyBytesAreUnsigned",
     {kPresent},
     {kAccept, kAccept, Reading(128, 63), Reading(0, 63), Reading(129, 0), Reading(255, 255)},
     {Open(1), ReadGives(0, 63), ReadGives(128, 63), ReadGives(-1, 0), ReadGives(-127, 255)},
     {"open h1", kLedOnH1, kLedOffH1, kReadH1, kReadH1, kReadH1, kReadH1}},

    {"ReplyOfWrongLengthWritesNothing",
     {kPresent},
     {kAccept, kAccept, OfLength(7), OfLength(9), OfLength(0), Reading(128, 63)},
     {Open(1), ReadFails(-5), ReadFails(-5), ReadFails(-5), ReadGives(0, 63)},
     {"open h1", kLedOnH1, kLedOffH1, kReadH1, kReadH1, kReadH1, kReadH1}},

    {"FailedReadWritesNothing",
     {kPresent},
     {kAccept, kAccept, kRefuse, Reading(127, 62)},
     {Open(1), ReadFails(-4), ReadGives(1, 62)},
     {"open h1", kLedOnH1, kLedOffH1, kReadH1, kReadH1}},

    {"SetLedSendsTheLowByte",
     {kPresent},
     {kAccept, kAccept, kAccept, kAccept, kAccept, kRefuse},
     {Open(1), Led(257, 0), Led(-1, 0), Led(0, 0), Led(1, -2)},
     {"open h1", kLedOnH1, kLedOffH1, kLedOnH1, "request h1 01 00 00 ff 00", kLedOffH1, kLedOnH1}},

    {"ReopenClosesTheHandleItReplaces",
     {kPresent, kPresent},
     {kAccept, kAccept, kAccept, kAccept, Reading(128, 63)},
     {Open(1), Open(1), ReadGives(0, 63)},
     {"open h1", kLedOnH1, kLedOffH1, "close h1", "open h2", "request h2 01 00 00 01 00",
      "request h2 01 00 00 00 00", "request h2 0e 00 00 00 00"}},

    {"FailedReopenTurnsLaterCallsToMinus1",
     {kPresent, kAbsent},
     {kAccept, kAccept},
     {Open(1), Open(-1), ReadFails(-1), Led(0, -1), Close()},
     {"open h1", kLedOnH1, kLedOffH1, "close h1", "open absent"}},

    {"AfterCloseNothingReachesTheStaleHandle",
     {kPresent},
     {kAccept, kAccept},
     {Open(1), Close(), ReadFails(-1), Led(0, -1), Close()},
     {"open h1", kLedOnH1, kLedOffH1, "close h1"}},

    {"OpenAfterCloseWorksAgain",
     {kPresent, kPresent},
     {kAccept, kAccept, kAccept, kAccept, Reading(128, 63)},
     {Open(1), Close(), Open(1), ReadGives(0, 63)},
     {"open h1", kLedOnH1, kLedOffH1, "close h1", "open h2", "request h2 01 00 00 01 00",
      "request h2 01 00 00 00 00", "request h2 0e 00 00 00 00"}},
};

class EncoderCoreTable : public testing::TestWithParam<Case> {};

TEST_P(EncoderCoreTable, CallsGiveTheirCodesAndDeviceCallsFollowTheScript)
{
    const Case& c = GetParam();
    FakeDeviceAccess device(c.opens, c.replies);
    EncoderCore encoder(device);

    for (std::size_t i = 0; i < c.calls.size(); ++i) {
        const Call& call = c.calls[i];
        SCOPED_TRACE("call " + std::to_string(i));
        switch (call.op) {
        case Op::Open:
            EXPECT_EQ(encoder.OpenConnection(), call.expected);
            break;
        case Op::Close:
            EXPECT_EQ(encoder.CloseConnection(), call.expected);
            break;
        case Op::Led:
            EXPECT_EQ(encoder.SetLed(call.ledState), call.expected);
            break;
        case Op::Read: {
            int value = kUntouched;
            int keys = kUntouched;
            EXPECT_EQ(encoder.ReadValue(&value, &keys), call.expected);
            EXPECT_EQ(value, call.value);
            EXPECT_EQ(keys, call.keys);
            break;
        }
        }
    }
    EXPECT_EQ(device.Trace(), c.trace);
    EXPECT_TRUE(device.ScriptUsedUp());
}

INSTANTIATE_TEST_SUITE_P(Scenarios, EncoderCoreTable, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(EncoderCoreReadValue, WritesOnlyThroughThePointersItIsGiven)
{
    FakeDeviceAccess device({kPresent}, {kAccept, kAccept, Reading(100, 7), Reading(100, 7),
                                         Reading(100, 7)});
    EncoderCore encoder(device);
    ASSERT_EQ(encoder.OpenConnection(), 1);

    int keys = kUntouched;
    EXPECT_EQ(encoder.ReadValue(nullptr, &keys), 0);
    EXPECT_EQ(keys, 7);

    int value = kUntouched;
    EXPECT_EQ(encoder.ReadValue(&value, nullptr), 0);
    EXPECT_EQ(value, 28);

    EXPECT_EQ(encoder.ReadValue(nullptr, nullptr), 0);
    EXPECT_TRUE(device.ScriptUsedUp());
}

} // namespace
