#!/usr/bin/env python3
"""Runs the test binaries of a checkout prepared by apply.py once per planted fault and
records which tests fail.

    tools/fault-matrix/run.py BIN_DIR OUT.jsonl [--suffix _cut] [--jobs 2] [IDS...]

BIN_DIR holds core_tests, gui_tests, TesslinGUI and tesslin built from the prepared checkout
(with --suffix, core_tests<suffix> and gui_tests<suffix>: another suite built on the same
program code). Without IDS: BASE (no fault on) and every fault. One JSON line per fault and
binary goes to OUT.jsonl; a pair already there is not run again, so a stopped run resumes.

A fault only runs the binaries that link its code: faults in the window's code run the GUI
tests, faults in cli/ the core tests, the rest both. The GUI tests run under xvfb-run. The
long stress tests run only for faults in the file move and the settings writer. A crash or a
hang (no output for 180 s) counts as the running test failing; the binary then runs again
without the tests already finished.
"""
import argparse
import json
import os
import re
import signal
import subprocess
import tempfile
import threading
import time
from concurrent.futures import ThreadPoolExecutor

HERE = os.path.dirname(os.path.abspath(__file__))
GUI_CODE = ('app/', 'ribbon/', 'wxplatform/', 'view/', 'res/', 'document/')
STRESS_CODE = {'rename/FileMove.cpp', 'settings/AtomicWrite.cpp'}

FILES = {}
for f in json.load(open(os.path.join(HERE, 'faults.json'), encoding='utf-8')):
    FILES.setdefault(f['id'], set()).add(f['file'])


def kinds(fid):
    if fid == 'BASE':
        return ['core', 'gui']
    found = set()
    for path in FILES[fid]:
        if path.startswith(GUI_CODE):
            found.add('gui')
        elif path.startswith('cli/'):
            found.add('core')
        else:
            found.update(['core', 'gui'])
    return sorted(found)


def run_once(cmd, env, cwd, idle_limit=180):
    """Output and return code of cmd; its process group is killed after idle_limit seconds
    without output."""
    p = subprocess.Popen(cmd, cwd=cwd, env=env, stdout=subprocess.PIPE,
                         stderr=subprocess.STDOUT, start_new_session=True)
    lines, last = [], [time.time()]

    def reader():
        for raw in p.stdout:
            lines.append(raw.decode(errors='replace'))
            last[0] = time.time()
    thread = threading.Thread(target=reader, daemon=True)
    thread.start()
    killed = False
    while p.poll() is None:
        time.sleep(1)
        if time.time() - last[0] > idle_limit:
            killed = True
            os.killpg(p.pid, signal.SIGKILL)
            break
    p.wait()
    thread.join(10)
    return ''.join(lines), killed


def run(args, fid, kind, lock):
    name = f'{kind}_tests{args.suffix}'
    env = dict(os.environ, GSETTINGS_BACKEND='memory', NO_AT_BRIDGE='1')
    env.pop('TESSLIN_FAULT', None)
    if fid != 'BASE':
        env['TESSLIN_FAULT'] = fid
    cmd = ['nice', os.path.join(args.bin_dir, name), '--gtest_color=no']
    if kind == 'gui':
        cmd[1:1] = ['xvfb-run', '-a', '-s', '-screen 0 1280x1024x24']
    skip = [] if fid == 'BASE' or FILES[fid] & STRESS_CODE or kind == 'gui' else ['Stress.*']
    failed, finished = set(), set()
    start = time.time()
    with tempfile.TemporaryDirectory(prefix=f'fault-{fid}-') as cwd:
        for _ in range(12):
            negative = skip + sorted(finished)
            text, killed = run_once(cmd + (['--gtest_filter=-' + ':'.join(negative)]
                                           if negative else []), env, cwd)
            running = None
            for line in text.splitlines():
                if m := re.match(r'\[ RUN      \] (\S+)', line):
                    running = m.group(1)
                elif m := re.match(r'\[       OK \] (\S+)', line):
                    finished.add(m.group(1))
                    running = None
                elif m := re.match(r'\[  FAILED  \] ([^\s,]+)(?:, where .*)? \(\d+ ms\)$', line):
                    failed.add(m.group(1))
                    finished.add(m.group(1))
                    running = None
            if running is None:
                break
            failed.add(running)  # crashed or hung inside this test
            finished.add(running)
    record = {'id': fid, 'bin': name, 'failed': sorted(failed), 'ran': len(finished),
              'secs': round(time.time() - start)}
    with lock, open(args.out, 'a') as out:
        out.write(json.dumps(record, ensure_ascii=False) + '\n')
    print(fid, name, 'failed', len(failed), 'of', len(finished), flush=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('bin_dir')
    parser.add_argument('out')
    parser.add_argument('--suffix', default='')
    parser.add_argument('--jobs', type=int, default=2)
    parser.add_argument('ids', nargs='*')
    args = parser.parse_args()
    done = set()
    if os.path.exists(args.out):
        done = {(r['id'], r['bin']) for r in map(json.loads, open(args.out))}
    tasks = [(fid, kind) for fid in (args.ids or ['BASE'] + list(FILES)) for kind in kinds(fid)
             if (fid, f'{kind}_tests{args.suffix}') not in done]
    lock = threading.Lock()
    with ThreadPoolExecutor(args.jobs) as pool:
        list(pool.map(lambda task: run(args, *task, lock), tasks))


if __name__ == '__main__':
    main()
