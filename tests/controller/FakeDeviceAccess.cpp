#include "FakeDeviceAccess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {
// Written out here rather than taken from the library, so a wrong constant there
// cannot agree with itself.
constexpr char kExpectedPath[] = "\\\\.\\VORN_OEMUSBA_0";
constexpr DWORD kExpectedControlCode = 0x808;
constexpr DWORD kExpectedCommandLength = 5;
constexpr DWORD kExpectedCapacity = 256;
constexpr std::size_t kReadReplyLength = 8;
constexpr std::size_t kKeyByte = 6;
constexpr std::size_t kKnobCountByte = 7;
// Handle values far from anything the system hands out in the test process.
constexpr std::uintptr_t kFirstHandleValue = 0x7A000;
constexpr std::uintptr_t kHandleStep = 4;
} // namespace

FakeDeviceAccess::Reply FakeDeviceAccess::Accepted()
{
    return {true, {}};
}

FakeDeviceAccess::Reply FakeDeviceAccess::Refused()
{
    return {false, {}};
}

FakeDeviceAccess::Reply FakeDeviceAccess::Reading(unsigned char knobCount, unsigned char keyByte)
{
    // Bytes 0 to 5 carry a pattern, so a reading taken from the wrong place shows.
    Reply reply{true, {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0, 0}};
    reply.bytes[kKeyByte] = keyByte;
    reply.bytes[kKnobCountByte] = knobCount;
    return reply;
}

FakeDeviceAccess::Reply FakeDeviceAccess::OfLength(std::size_t length)
{
    Reply reply = Reading(100, 10);
    reply.bytes.resize(length, 0xEE);
    return reply;
}

FakeDeviceAccess::FakeDeviceAccess(std::vector<bool> opensPresent, std::vector<Reply> replies)
    : opensPresent_(opensPresent.begin(), opensPresent.end()),
      replies_(replies.begin(), replies.end())
{
}

HANDLE FakeDeviceAccess::Open(const char* path)
{
    EXPECT_STREQ(path, kExpectedPath);
    if (opensPresent_.empty()) {
        ADD_FAILURE() << "unscripted open";
        return INVALID_HANDLE_VALUE;
    }
    const bool present = opensPresent_.front();
    opensPresent_.pop_front();
    if (!present) {
        trace_.push_back("open absent");
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = reinterpret_cast<HANDLE>(kFirstHandleValue + kHandleStep * handedOut_.size());
    handedOut_.push_back(handle);
    open_.push_back(handle);
    trace_.push_back("open " + NameOf(handle));
    return handle;
}

bool FakeDeviceAccess::Request(HANDLE device, DWORD controlCode, void* buffer, DWORD inputLength,
                               DWORD outputCapacity, DWORD* bytesReturned)
{
    EXPECT_EQ(controlCode, kExpectedControlCode);
    EXPECT_EQ(inputLength, kExpectedCommandLength);
    EXPECT_EQ(outputCapacity, kExpectedCapacity);

    auto* bytes = static_cast<unsigned char*>(buffer);
    std::string line = "request " + NameOf(device);
    for (DWORD i = 0; i < inputLength; ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02x", bytes[i]);
        line += hex;
    }
    trace_.push_back(line);

    if (!IsOpen(device)) {
        return false;
    }
    if (replies_.empty()) {
        ADD_FAILURE() << "unscripted request: " << line;
        return false;
    }
    const Reply reply = replies_.front();
    replies_.pop_front();
    if (!reply.accepted) {
        return false;
    }
    const std::size_t length = std::min<std::size_t>(reply.bytes.size(), outputCapacity);
    std::memcpy(bytes, reply.bytes.data(), length);
    *bytesReturned = static_cast<DWORD>(length);
    return true;
}

void FakeDeviceAccess::Close(HANDLE device)
{
    trace_.push_back("close " + NameOf(device));
    open_.erase(std::remove(open_.begin(), open_.end(), device), open_.end());
}

std::string FakeDeviceAccess::NameOf(HANDLE device) const
{
    if (device == nullptr) {
        return "empty";
    }
    const auto found = std::find(handedOut_.begin(), handedOut_.end(), device);
    if (found == handedOut_.end()) {
        return "unknown";
    }
    return "h" + std::to_string(found - handedOut_.begin() + 1);
}

bool FakeDeviceAccess::IsOpen(HANDLE device) const
{
    return std::find(open_.begin(), open_.end(), device) != open_.end();
}
