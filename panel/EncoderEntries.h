#pragma once
// The controller library's exports as the panel calls them: each with its
// exported name and exact pointer type (cdecl, 32-bit integers).
namespace encoder {

struct OpenConnection {
    static constexpr char Name[] = "OpenConnection";
    using Fn = int(__cdecl*)();
};
struct CloseConnection {
    static constexpr char Name[] = "CloseConnection";
    using Fn = int(__cdecl*)();
};
struct ReadValue {
    static constexpr char Name[] = "ReadValue";
    using Fn = int(__cdecl*)(int* value, int* keys);
};
struct SetLed {
    static constexpr char Name[] = "SetLed";
    using Fn = int(__cdecl*)(int led);
};

} // namespace encoder
