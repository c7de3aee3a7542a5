#!/usr/bin/env python3
"""Every page folder is wired the way the README's recipe says, and no two
controls share an id. Run from the build with the source root as argument."""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1])
src = root / "src"
cmake = (root / "CMakeLists.txt").read_text(encoding="utf-8")
control_ids = (src / "app" / "control_ids.h").read_text(encoding="utf-8")
app_line = re.search(r"morvane_layer\(morvane_app DIRS app DEPS([^)]*)\)", cmake)
app_deps = app_line.group(1).split() if app_line else []
problems = []
owner = {}  # id -> "folder::Name"

page_folders = sorted({p.parent.name for p in src.glob("*/page.h")} | {p.parent.name for p in src.glob("*/ids.h")})
for folder in page_folders:
    if not re.search(rf"morvane_layer\(morvane_{folder} DIRS {folder} DEPS", cmake):
        problems.append(f"src/{folder}/ is a page folder without a layer line "
                        f"'morvane_layer(morvane_{folder} DIRS {folder} DEPS morvane_common)' in CMakeLists.txt")
    elif f"morvane_{folder}" not in app_deps:
        problems.append(f"morvane_{folder} is not among morvane_app's DEPS in CMakeLists.txt")
    if f'#include "{folder}/ids.h"' not in control_ids:
        problems.append(f'src/app/control_ids.h does not include "{folder}/ids.h"')

for ids_h in [src / f / "ids.h" for f in page_folders if (src / f / "ids.h").exists()] + [src / "app" / "frame_ids.h"]:
    folder = ids_h.parent.name
    for line in ids_h.read_text(encoding="utf-8").splitlines():
        m = re.match(r"\s*constexpr int (\w+) = (\d+);(?:\s*// items ([\d, ]+))?", line)
        if not m:
            continue
        name = f"{folder}::{m.group(1)}"
        taken = [(int(m.group(2)), name)]
        taken += [(int(i), f"an item of {name}") for i in re.findall(r"\d+", m.group(3) or "")]
        for number, who in taken:
            if number in owner:
                problems.append(f"id {number} is given twice: {owner[number]} and {who}")
            owner[number] = who

for p in problems:
    print("page check:", p)
print(f"page check: {len(owner)} ids, {len(problems)} problems")
sys.exit(1 if problems else 0)
