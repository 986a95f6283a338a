#!/usr/bin/env python3
"""Times the tool's extraction against GNU tar (and bsdtar when installed) on three workloads.

Each workload is written by make_workloads as a POD archive and as a tar of the same files.
Every extractor writes into a fresh empty folder on the same disk, with its input in the page
cache and its standard output in a file; extractors take turns going first. Each of the tool's
trees is compared with GNU tar's, path by path (kind, size and SHA-256 of every file), so a
fast wrong answer fails the run.

Run through scripts/bench.sh, which builds the tool and make_workloads first.
"""

import argparse
import hashlib
import os
import re
import shutil
import statistics
import subprocess
import sys
import time
from dataclasses import dataclass, field
from pathlib import Path

# name: (ratio to GNU tar, syscalls per entry, peak RSS in MiB); None where no target applies.
TARGETS = {
    "small": (0.85, 4.0, 4.0),
    "mixed": (0.80, 4.0, 4.0),
    "large": (0.60, None, 4.0),
}
TIME_TOOL = "/usr/bin/time"


@dataclass
class extractor:
    name: str
    command: list  # argv; "{archive}" is replaced by the archive to read
    archive_suffix: str
    inside_output: bool  # run in data/<workload>/ (tars) or beside the archive (the tool)
    times: list = field(default_factory=list)
    peak_rss_kib: int = 0
    syscalls: int = 0


def fail(message):
    print(f"bench: FAILED: {message}", file=sys.stderr)
    sys.exit(1)


def fresh_folder(work, workload, ex, archive):
    """Makes an empty run folder; returns it, where the extractor runs and its argv."""
    folder = work / workload / f"run-{ex.name}"
    shutil.rmtree(folder, ignore_errors=True)
    out = folder / "data" / workload
    if ex.inside_output:
        out.mkdir(parents=True)
        return folder, out, [a.replace("{archive}", str(archive)) for a in ex.command]
    folder.mkdir(parents=True)
    # A hard link puts the output tree in the fresh folder without copying the archive.
    os.link(archive, folder / archive.name)
    return folder, folder, [a.replace("{archive}", archive.name) for a in ex.command]


def tree_digest(top):
    """Every path below top with its kind and, for files, size and SHA-256."""
    digest = {}
    for folder, folders, files in os.walk(top):
        for name in folders:
            digest[os.path.relpath(os.path.join(folder, name), top)] = "folder"
        for name in files:
            path = os.path.join(folder, name)
            if os.path.islink(path):
                digest[os.path.relpath(path, top)] = "link"
                continue
            with open(path, "rb") as f:
                digest[os.path.relpath(path, top)] = hashlib.file_digest(f, "sha256").hexdigest()
    return digest


def run_once(ex, work, workload, prefix=(), digest=False):
    """Extracts once into a fresh folder; returns the wall time and, if asked, the tree's digest.

    The output is removed before it is written back: deleting written-back files costs far more
    than extracting them, and no run should pay for an earlier run's dirty pages.
    """
    archive = work / workload / f"{workload}{ex.archive_suffix}"
    folder, cwd, argv = fresh_folder(work, workload, ex, archive)
    os.sync()
    log = work / workload / f"{ex.name}.out"
    with open(log, "wb") as out:
        start = time.perf_counter()
        status = subprocess.run([*prefix, *argv], cwd=cwd, stdout=out, stderr=subprocess.STDOUT)
        elapsed = time.perf_counter() - start
    if status.returncode != 0:
        fail(f"{ex.name} on {workload} exited with {status.returncode}, see {log}")
    if ex.name == "tool" and b"All done." not in log.read_bytes()[-64:]:
        fail(f"the tool did not finish {workload}, see {log}")
    tree = tree_digest(folder / "data" / workload) if digest else None
    shutil.rmtree(folder)
    return elapsed, tree


def timed_run(ex, work, workload, digest):
    rss_file = work / workload / "rss.txt"
    prefix = [TIME_TOOL, "-f", "%M", "-o", str(rss_file)] if shutil.which(TIME_TOOL) else []
    elapsed, tree = run_once(ex, work, workload, prefix, digest)
    ex.times.append(elapsed)
    if prefix:
        ex.peak_rss_kib = max(ex.peak_rss_kib, int(rss_file.read_text().split()[-1]))
    return tree


def strace_run(ex, work, workload):
    trace = work / workload / f"{ex.name}.strace"
    run_once(ex, work, workload, ["strace", "-c", "-f", "-o", str(trace)])
    total = re.search(r"^\S+\s+\S+\s+\S+\s+(\d+)\s+(?:\d+\s+)?total$", trace.read_text(), re.M)
    if not total:
        fail(f"no total line in {trace}")
    ex.syscalls = int(total.group(1))


def check_same(workload, ex, tree, reference):
    if tree == reference:
        return
    wrong = sorted(p for p in tree.keys() | reference.keys() if tree.get(p) != reference.get(p))
    fail(f"{ex.name} extracted {workload} unlike GNU tar, {len(wrong)} paths differ, e.g.:\n  "
         + "\n  ".join(wrong[:10]))


def make_workload(tools, work, workload):
    folder = work / workload
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir(parents=True)
    made = subprocess.run([tools.make_workloads, workload, str(folder)], stdout=subprocess.PIPE,
                          text=True)
    if made.returncode != 0:
        fail(f"make_workloads {workload} failed")
    # Written back once now, so the inputs stay in the page cache as clean pages.
    os.sync()
    return int(made.stdout.split()[0])


def bench_workload(tools, work, workload, rounds):
    entries = make_workload(tools, work, workload)
    extractors = [extractor("tool", [tools.tool, "{archive}"], ".pod", False),
                  extractor("tar", ["tar", "-xf", "{archive}"], ".tar", True)]
    if shutil.which("bsdtar"):
        extractors.append(extractor("bsdtar", ["bsdtar", "-xf", "{archive}"], ".tar", True))
    tool, gnu_tar = extractors[0], extractors[1]
    reference = None
    for r in range(rounds):
        # GNU tar goes first in round one, so its tree is there to compare every other with.
        turn = (r + 1) % len(extractors)
        for ex in extractors[turn:] + extractors[:turn]:
            tree = timed_run(ex, work, workload, digest=ex is tool or r == 0)
            if ex is gnu_tar and r == 0:
                reference = tree
            elif tree is not None:
                check_same(workload, ex, tree, reference)
        print(f"  {workload} round {r + 1}/{rounds}: "
              + ", ".join(f"{ex.name} {ex.times[-1]:.3f} s" for ex in extractors), flush=True)
    if shutil.which("strace"):
        for ex in (tool, gnu_tar):
            strace_run(ex, work, workload)
    shutil.rmtree(work / workload)
    return entries, extractors


def measured(value, target, digits=2):
    """A table cell: the figure, and against its target where there is one."""
    if value is None:
        return "n/a"
    if target is None:
        return f"{value:.{digits}f}"
    return f"{value:.{digits}f} (<= {target:g} {'ok' if value <= target else 'MISS'})"


def table(results):
    """One column per workload, one row per figure; returns the lines and the missed targets."""
    rows = [("entries", []), ("runs per extractor", [])]
    names = [ex.name for ex in results[0][2]]
    rows += [(f"median wall s, {n}", []) for n in names]
    rows += [("tool / GNU tar wall ratio", []), ("syscalls per entry, tool", []),
             ("syscalls per entry, tar", []), ("peak RSS MiB, tool", [])]
    rows += [(f"peak RSS MiB, {n}", []) for n in names[1:]]
    cells = dict(rows)
    missed = []
    for workload, entries, extractors in results:
        tool, gnu_tar = extractors[0], extractors[1]
        target_ratio, target_calls, target_rss = TARGETS[workload]
        ratio = statistics.median(t / g for t, g in zip(tool.times, gnu_tar.times))
        calls = tool.syscalls / entries if tool.syscalls else None
        rss = tool.peak_rss_kib / 1024 if tool.peak_rss_kib else None
        cells["entries"].append(str(entries))
        cells["runs per extractor"].append(str(len(tool.times)))
        for ex in extractors:
            cells[f"median wall s, {ex.name}"].append(f"{statistics.median(ex.times):.3f}")
        cells["tool / GNU tar wall ratio"].append(measured(ratio, target_ratio))
        cells["syscalls per entry, tool"].append(
            measured(calls, target_calls) if target_calls else measured(calls, None) + " (-)")
        cells["syscalls per entry, tar"].append(
            measured(gnu_tar.syscalls / entries if gnu_tar.syscalls else None, None))
        cells["peak RSS MiB, tool"].append(measured(rss, target_rss))
        for ex in extractors[1:]:
            cells[f"peak RSS MiB, {ex.name}"].append(
                measured(ex.peak_rss_kib / 1024 if ex.peak_rss_kib else None, None))
        checks = ((ratio, target_ratio, "ratio"), (calls, target_calls, "syscalls"),
                  (rss, target_rss, "RSS"))
        for value, target, what in checks:
            if value is not None and target is not None and value > target:
                missed.append(f"{workload} {what}")
    lines = [f"{'':28}" + "".join(f"{w:22}" for w, _, _ in results)]
    lines += [f"{label:28}" + "".join(f"{c:22}" for c in cells[label]) for label, _ in rows]
    lines = [line.rstrip() for line in lines]
    return lines, missed


def floor_rss_kib():
    """Peak RSS of a program that does nothing, the floor any child measured this way has."""
    if not shutil.which(TIME_TOOL) or not shutil.which("true"):
        return None
    out = subprocess.run([TIME_TOOL, "-f", "%M", "true"], stderr=subprocess.PIPE, text=True)
    return int(out.stderr.split()[-1])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--tool", required=True)
    parser.add_argument("--make-workloads", required=True)
    parser.add_argument("--work", required=True, type=Path)
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--workloads", default="small,mixed,large")
    tools = parser.parse_args()
    tools.tool = str(Path(tools.tool).resolve())
    tools.make_workloads = str(Path(tools.make_workloads).resolve())
    tools.work = tools.work.resolve()
    if not shutil.which("tar") or "GNU tar" not in subprocess.run(
            ["tar", "--version"], stdout=subprocess.PIPE, text=True).stdout:
        fail("GNU tar is needed as the reference")
    for missing in [t for t in ("bsdtar", "strace", TIME_TOOL) if not shutil.which(t)]:
        print(f"bench: {missing} not installed, its figures are left out")
    tools.work.mkdir(parents=True, exist_ok=True)
    started = time.perf_counter()
    results = [(w, *bench_workload(tools, tools.work, w, tools.rounds))
               for w in tools.workloads.split(",")]
    lines, missed = table(results)
    print("\n" + "\n".join(lines))
    floor = floor_rss_kib()
    if floor:
        print(f"peak RSS of 'true' (a C program doing nothing), MiB: {floor / 1024:.2f}")
    print(f"targets: {'all met' if not missed else 'MISSED ' + ', '.join(missed)}")
    print(f"benchmark took {time.perf_counter() - started:.0f} s")


if __name__ == "__main__":
    main()
