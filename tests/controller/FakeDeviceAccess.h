#pragma once
// A scripted stand-in for the system's device calls. Opens follow a script of
// present/absent outcomes and hand out fresh handles h1, h2, ...; a request on an
// open handle takes the next scripted reply; a request on any other handle (the
// empty one, a closed one) is refused, as the system refuses it. Every call is
// written to a trace that the tests compare as a whole.

#include "DeviceAccess.h"

#include <deque>
#include <string>
#include <vector>

class FakeDeviceAccess final : public DeviceAccess {
public:
    struct Reply {
        bool accepted;
        std::vector<unsigned char> bytes;
    };
    static Reply Accepted();
    static Reply Refused();
    // An eight-byte read reply with the key byte at 6 and the knob count at 7.
    static Reply Reading(unsigned char knobCount, unsigned char keyByte);
    // An accepted reply of `length` bytes, for the wrong-length cases.
    static Reply OfLength(std::size_t length);

    FakeDeviceAccess(std::vector<bool> opensPresent, std::vector<Reply> replies);

    const std::vector<std::string>& Trace() const { return trace_; }
    // True when every scripted open and reply was used.
    bool ScriptUsedUp() const { return opensPresent_.empty() && replies_.empty(); }

    HANDLE Open(const char* path) override;
    bool Request(HANDLE device, DWORD controlCode, void* buffer, DWORD inputLength,
                 DWORD outputCapacity, DWORD* bytesReturned) override;
    void Close(HANDLE device) override;

private:
    std::string NameOf(HANDLE device) const;
    bool IsOpen(HANDLE device) const;

    std::deque<bool> opensPresent_;
    std::deque<Reply> replies_;
    std::vector<HANDLE> handedOut_;
    std::vector<HANDLE> open_;
    std::vector<std::string> trace_;
};
