#!/usr/bin/env python3
"""Static checks of a built flavour: machine type, imported DLLs, export names.

  check_binaries.py deliverables BIN_DIR win32|win64
  check_binaries.py selftest BIN_DIR win32|win64   (the checks catch planted faults)
"""
import re
import subprocess
import sys
from pathlib import Path

MACHINE = {  # flavour: (objdump file format, optional-header magic)
    "win32": ("pei-i386", "010b"),
    "win64": ("pei-x86-64", "020b"),
}
OBJDUMP = {"win32": "i686-w64-mingw32-objdump", "win64": "x86_64-w64-mingw32-objdump"}

# DLLs every Windows installation has.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "winmm.dll", "msvcrt.dll", "advapi32.dll",
    "ntdll.dll", "comctl32.dll", "shell32.dll", "ole32.dll",
}
ENCODER_EXPORTS = {"OpenConnection", "CloseConnection", "ReadValue", "SetLed"}
EXTIO_EXPORTS = {
    "InitHW", "OpenHW", "StartHW", "StopHW", "CloseHW", "SetHWLO", "GetHWLO", "TuneChanged",
    "SetCallback", "ShowGUI", "HideGUI",
}
SIZE_LIMITS = {"TARVO.exe": 300 * 1024, "VORN_Encoder.dll": 64 * 1024}


def objdump(flavour, path):
    return subprocess.run([OBJDUMP[flavour], "-p", str(path)], check=True,
                          capture_output=True, text=True).stdout


def check_machine(flavour, path, dump):
    fmt, magic = MACHINE[flavour]
    problems = []
    if f"file format {fmt}" not in dump:
        problems.append(f"{path.name}: not {fmt}")
    if not re.search(rf"^Magic\s+{magic}\b", dump, re.M):
        problems.append(f"{path.name}: optional header magic is not {magic}")
    return problems


def imports(dump):
    return {m.lower() for m in re.findall(r"^\s*DLL Name:\s*(\S+)", dump, re.M)}


def check_imports(path, dump):
    foreign = sorted(imports(dump) - SYSTEM_DLLS)
    return [f"{path.name}: imports non-system DLL(s) {', '.join(foreign)}"] if foreign else []


def exports(dump):
    table = re.search(r"\[Ordinal/Name Pointer\] Table\n(.*?)(?:\n\s*\n|\Z)", dump, re.S)
    if not table:
        return set()
    return set(re.findall(r"\[\s*\d+\]\s+(\S+)", table.group(1)))


def check_exports(path, dump, expected):
    found = exports(dump)
    problems = []
    if found != expected:
        missing = sorted(expected - found)
        extra = sorted(found - expected)
        problems.append(f"{path.name}: exports differ; missing {missing}, unexpected {extra}")
    return problems


def check_size(path):
    limit = SIZE_LIMITS.get(path.name)
    size = path.stat().st_size
    return [f"{path.name}: {size} bytes, over {limit}"] if limit and size > limit else []


def check_deliverable(flavour, path, expected_exports=None):
    if not path.exists():
        return [f"{path}: missing"]
    dump = objdump(flavour, path)
    problems = check_machine(flavour, path, dump) + check_imports(path, dump) + check_size(path)
    if expected_exports is not None:
        problems += check_exports(path, dump, expected_exports)
    return problems


def deliverables(bin_dir, flavour):
    problems = check_deliverable(flavour, bin_dir / "TARVO.exe")
    problems += check_deliverable(flavour, bin_dir / "VORN_Encoder.dll", ENCODER_EXPORTS)
    problems += check_deliverable(flavour, bin_dir / "EXTIO_TARVO.DLL", EXTIO_EXPORTS)
    variants = sorted((bin_dir / "receiver-variants").glob("no-*/EXTIO_TARVO.DLL"))
    if len(variants) != len(EXTIO_EXPORTS):
        problems.append(f"expected {len(EXTIO_EXPORTS)} plug-in variants, found {len(variants)}")
    for variant in variants:
        lacking = variant.parent.name[len("no-"):]
        problems += check_deliverable(flavour, variant, EXTIO_EXPORTS - {lacking})
    return problems


def selftest(bin_dir, flavour):
    """The checks must fail on a decorated export and on a foreign import."""
    problems = []
    decorated = bin_dir / "fixture_decorated_exports.dll"
    if not check_exports(decorated, objdump(flavour, decorated), ENCODER_EXPORTS):
        problems.append("a decorated export name passed the export check")
    foreign = bin_dir / "fixture_foreign_import.dll"
    if not check_imports(foreign, objdump(flavour, foreign)):
        problems.append("an import of a non-system DLL passed the import check")
    return problems


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("deliverables", "selftest") \
            or sys.argv[3] not in MACHINE:
        print(__doc__, file=sys.stderr)
        return 2
    mode, bin_dir, flavour = sys.argv[1], Path(sys.argv[2]), sys.argv[3]
    problems = (deliverables if mode == "deliverables" else selftest)(bin_dir, flavour)
    for problem in problems:
        print(f"FAIL {problem}")
    print(f"static checks ({mode}, {flavour}): {'failed' if problems else 'passed'}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
