// A library that imports a DLL no Windows installation has.
extern "C" __declspec(dllimport) int __cdecl FixtureHelper();
extern "C" __declspec(dllexport) int __cdecl UsesHelper() { return FixtureHelper(); }
