extern "C" __declspec(dllexport) int __cdecl FixtureHelper() { return 1; }
