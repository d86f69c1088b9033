#!/usr/bin/env python3
"""Plants every fault of faults.json into the checkout CHECKOUT as a run-time switch.

    tools/fault-matrix/apply.py CHECKOUT

Each fault replaces a piece of program code (`old`) with a version (`new`) that behaves wrongly
only while FaultOn("<id>") is true, that is while the environment holds TESSLIN_FAULT=<id>; one
build then serves every fault. Writes CHECKOUT/fault/Fault.h. Use a throwaway checkout (a git
worktree): the files are changed in place. A fault whose `old` text is no longer found exactly
once (the code moved on) is left out and named.
"""
import json
import os
import sys

here = os.path.dirname(os.path.abspath(__file__))
checkout = sys.argv[1]
faults = json.load(open(os.path.join(here, 'faults.json'), encoding='utf-8'))
os.makedirs(os.path.join(checkout, 'fault'), exist_ok=True)
with open(os.path.join(checkout, 'fault', 'Fault.h'), 'w') as header:
    header.write('#pragma once\n#include <cstdlib>\n#include <cstring>\n'
                 '// Planted faults, switched on one at a time by TESSLIN_FAULT=<id>.\n'
                 'inline bool FaultOn(const char* id) {\n'
                 '    static const char* on = std::getenv("TESSLIN_FAULT");\n'
                 '    return on && std::strcmp(on, id) == 0;\n}\n')
texts, planted, left_out = {}, set(), set()
for f in faults:
    if f['old'] is None:  # shares the switch block of an earlier fault
        planted.add(f['id'])
        continue
    path = os.path.join(checkout, f['file'])
    text = texts.get(path) or open(path, encoding='utf-8').read()
    if text.count(f['old']) != 1:
        left_out.add(f['id'])
        continue
    texts[path] = text.replace(f['old'], f['new'])
    planted.add(f['id'])
for path, text in texts.items():
    lines = text.split('\n')
    first_include = next(i for i, line in enumerate(lines) if line.startswith('#include'))
    lines.insert(first_include + 1, '#include "fault/Fault.h"')
    open(path, 'w', encoding='utf-8').write('\n'.join(lines))
print(f'{len(planted - left_out)} faults planted in {len(texts)} files')
if left_out:
    print('left out (their code changed):', ' '.join(sorted(left_out)))
