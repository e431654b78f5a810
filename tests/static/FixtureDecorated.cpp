// A controller library whose SetLed is exported under a decorated name.
extern "C" {
__declspec(dllexport) int __cdecl OpenConnection() { return 1; }
__declspec(dllexport) int __cdecl CloseConnection() { return 1; }
__declspec(dllexport) int __cdecl ReadValue(int*, int*) { return 0; }
__declspec(dllexport) int __stdcall SetLed(int) { return 0; }
}
