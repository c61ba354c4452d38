#!/usr/bin/env python3
"""Checks the layering of src/ (see src/platform/README.md):

- a portable folder includes only its own folder and the folders below it:
  shared and the platform contract (platform/*.h) < payload < bridge < browser < startup;
- the platform contract headers include only shared/ and each other, and no OS header;
- platform code (platform/<name>/) includes only shared/, the contract and its own folder;
- no portable file includes an OS or toolkit header;
- no source or test uses conditional compilation (#if, #ifdef, ...): platforms are picked by CMake;
- every contract header has an implementation of the same stem on every platform, unless it is
  listed in VELMORA_PLANNED_SERVICES (src/CMakeLists.txt).
Prints every violation and exits 1 when there is one."""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
SRC = ROOT / "src"
PLATFORMS = ("win32", "gtk")
LEVEL = {"shared": 0, "platform": 0, "payload": 1, "bridge": 2, "browser": 3, "startup": 4}
# Third-party headers that are portable themselves.
PORTABLE_LIBRARIES = {"zip.h", "nlohmann/json.hpp"}
# Headers the build generates beside the platform code (resources/CMakeLists.txt).
GENERATED = {"EmbeddedResourceTable.h"}

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
CONDITIONAL = re.compile(r'^\s*#\s*(if|ifdef|ifndef|elif|elifdef|elifndef)\b', re.M)


def sources(folder):
    return sorted(p for p in folder.rglob("*") if p.suffix in (".h", ".cpp"))


def main():
    problems = []
    for path in sources(SRC):
        rel = path.relative_to(SRC)
        text = path.read_text(encoding="utf-8")
        top = rel.parts[0]
        platform_code = top == "platform" and len(rel.parts) > 2
        contract = top == "platform" and len(rel.parts) == 2
        for kind, name in INCLUDE.findall(text):
            if kind == "<":
                if not platform_code and name.endswith(".h") and name not in PORTABLE_LIBRARIES:
                    problems.append(f"{rel}: portable code includes the system header <{name}>")
                continue
            target = pathlib.PurePosixPath(name).parts
            if platform_code and name in GENERATED:
                continue
            if platform_code:
                allowed = target[0] == "shared" or (target[0] == "platform" and (len(target) == 2 or target[1] == rel.parts[1]))
                if not allowed:
                    problems.append(f"{rel}: platform code includes {name}")
            elif contract:
                if target[0] not in ("shared", "platform") or len(target) != 2:
                    problems.append(f"{rel}: the contract includes {name}")
            elif target[0] in LEVEL and LEVEL[target[0]] > LEVEL[top]:
                problems.append(f"{rel}: {top}/ includes {name}, a folder above it")
            elif target[0] == "platform" and len(target) > 2:
                problems.append(f"{rel}: portable code includes platform code {name}")

    for folder in ("src", "tests", "tools", "bench", "fuzz"):
        for path in sources(ROOT / folder):
            for match in CONDITIONAL.finditer(path.read_text(encoding="utf-8")):
                line = path.read_text(encoding="utf-8")[: match.start()].count("\n") + 1
                problems.append(f"{path.relative_to(ROOT)}:{line}: conditional compilation (#{match.group(1)})")

    planned = set(re.search(r"set\(VELMORA_PLANNED_SERVICES ([^)]*)\)", (SRC / "CMakeLists.txt").read_text()).group(1).split())
    for header in sorted((SRC / "platform").glob("*.h")):
        for platform in PLATFORMS:
            implemented = (SRC / "platform" / platform / (header.stem + ".cpp")).exists()
            if header.stem in planned and implemented:
                problems.append(f"platform/{header.name}: implemented on {platform} but still listed as planned")
            if header.stem not in planned and not implemented:
                problems.append(f"platform/{header.name}: no implementation platform/{platform}/{header.stem}.cpp")

    for problem in problems:
        print(problem)
    print(f"layout: {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
