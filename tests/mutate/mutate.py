#!/usr/bin/env python3
"""Mutation testing of the product code: puts one small bug at a time into
src/, rebuilds only the tests that cover the changed file, runs them and puts
the file back. A mutation the tests notice is "killed", one they pass with is
"survived", one that does not compile is "invalid".

List lines (mutations.txt): FILE_BASENAME|ORIGINAL TEXT|REPLACEMENT TEXT, with
"\\|" for a "|" inside a text. The file is looked up by name anywhere under
src/, so the list survives files moving between folders; ORIGINAL must occur
exactly once in it. The last line printed is the summary
    mutations: N killed: K survived: S invalid: I
Exit status: 0 when the run completed, 2 for a broken list or setup, 3 when
the unmutated tests already fail.
"""
import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

SOURCE = Path(__file__).resolve().parents[2]

# The test programs holding the checks of each folder of src/: its own, and
# those of the folders that took over some of its checks (the value checks
# live in rules/, the download check in transfer/).
TESTS_FOR_FOLDER = {
    "base": "^(tst_base|tst_model|tst_catalogue|tst_rules|tst_files)$",
    "rules": "^(tst_rules|tst_files|tst_transfer)$",
    "files": "^(tst_files|tst_rules)$",
    "comm": "^(tst_comm|tst_comm_link|tst_modbuspeer|tst_transfer)$",
}
TESTS_FOR_FOLDER["model"] = TESTS_FOR_FOLDER["catalogue"] = TESTS_FOR_FOLDER["base"]
TESTS_FOR_FOLDER["transfer"] = TESTS_FOR_FOLDER["comm"]
# Programs the tests start or read: simulated drive, catalogue, second Modbus
# implementation.
HELPER_TARGETS = ["qxsim", "catalogue", "modbus_peer"]
TEST_TIMEOUT = "90"
JOBS = "2"


class Broken(Exception):
    pass


def call(command, log, cwd=None):
    """Runs a build or test in a process group of its own. When this script
    is stopped, the whole group (ninja and its compilers included) is ended
    before the mutated file is put back: a compiler still running on the
    mutation would otherwise leave an object newer than the restored source,
    which the next build would take as up to date."""
    child = subprocess.Popen(command, cwd=cwd, stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
    try:
        return child.wait() == 0
    except BaseException:
        os.killpg(child.pid, signal.SIGKILL)
        child.wait()
        raise


def parse_list(path):
    mutations = []
    lines = path.read_text(encoding="utf-8").splitlines()
    for line in (l for l in lines if l.strip() and not l.lstrip().startswith("#")):
        fields = [f.replace("\x01", "|") for f in line.replace("\\|", "\x01").split("|")]
        number = len(mutations) + 1
        if len(fields) != 3 or not fields[0] or not fields[1]:
            raise Broken(f"line #{number} needs FILE|ORIGINAL|REPLACEMENT: {line}")
        if fields[1] == fields[2]:
            raise Broken(f"line #{number}: replacement equals original: {line}")
        found = list((SOURCE / "src").rglob(fields[0]))
        if len(found) != 1:
            raise Broken(f"line #{number}: {len(found)} files named {fields[0]} under src/")
        count = found[0].read_text(encoding="utf-8").count(fields[1])
        if count != 1:
            raise Broken(f'line #{number}: "{fields[1]}" occurs {count} times in {found[0]}')
        folder = found[0].relative_to(SOURCE / "src").parts[0]
        if folder not in TESTS_FOR_FOLDER:
            raise Broken(f"line #{number}: no tests known for src/{folder}")
        mutations.append((number, found[0], fields[1], fields[2], TESTS_FOR_FOLDER[folder]))
    return mutations


class Build:
    def __init__(self, folder):
        self.folder = folder
        if not (folder / "CMakeCache.txt").exists():
            args = ["-DCMAKE_BUILD_TYPE=None", "-DCMAKE_CXX_FLAGS=-O0 -g0"]
            args += ["-G", "Ninja"] if shutil.which("ninja") else []
            args += ["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if shutil.which("ccache") else []
            print(f"configuring {folder}", file=sys.stderr)
        else:
            args = []  # look again, so tests added or merged since are known
        self.run(["cmake", "-S", str(SOURCE), "-B", str(folder), *args], "configuring failed")
        listing = self.run(["ctest", "-N"], "ctest -N failed", cwd=folder)
        self.tests = re.findall(r"^\s*Test\s+#\d+: (\S+)", listing, re.M)
        help_text = self.run(["cmake", "--build", str(folder), "--target", "help"], "no target list")
        self.targets = set(re.findall(r"^(?:\.\.\. )?([\w.+-]+)(?:: phony)?", help_text, re.M))

    @staticmethod
    def run(command, failure, cwd=None):
        done = subprocess.run(command, cwd=cwd, capture_output=True, text=True)
        if done.returncode != 0:
            sys.exit(f"{failure}:\n{done.stdout}{done.stderr}")
        return done.stdout

    def build(self, regex, log):
        programs = [t for t in self.tests if re.search(regex, t)]
        command = ["cmake", "--build", str(self.folder), "-j", JOBS]
        # A test without a program of its name: build everything.
        if all(p in self.targets for p in programs):
            command += ["--target", *programs, *(t for t in HELPER_TARGETS if t in self.targets)]
        return call(command, log)

    def test(self, regex, log):
        command = ["ctest", "--timeout", TEST_TIMEOUT, "--stop-on-failure", "-j", JOBS,
                   "-R", regex, "--output-on-failure"]
        return call(command, log, cwd=self.folder)


def run_mutation(build, mutation, log_dir):
    """Mutates, builds and tests; the file is put back whatever happens (the
    SIGTERM handler turns a kill into an exception, so this also holds then,
    after call() has ended the build).
    Writing the original back gives it a fresh time stamp, so the next build
    compiles it again (from ccache, where installed)."""
    number, path, original, replacement, regex = mutation
    text = path.read_bytes()
    mutated = text.replace(original.encode(), replacement.encode(), 1)
    with open(log_dir / f"mutation-{number}.log", "w") as log:
        log.write(f"mutation #{number} in {path}\n- {original}\n+ {replacement}\n")
        log.flush()
        try:
            path.write_bytes(mutated)
            if not build.build(regex, log):
                return "invalid"
            return "survived" if build.test(regex, log) else "killed"
        finally:
            path.write_bytes(text)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--list", type=Path, default=SOURCE / "tests/mutate/mutations.txt")
    parser.add_argument("--build", type=Path, default=SOURCE / "build-mutate")
    parser.add_argument("--only", help="run only these mutations: N[,M...], numbered as printed")
    args = parser.parse_args()
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(130))
    try:
        mutations = parse_list(args.list)
    except (Broken, OSError) as error:
        print(error, file=sys.stderr)
        return 2
    if args.only:
        wanted = {int(n) for n in args.only.split(",")}
        mutations = [m for m in mutations if m[0] in wanted]
    if not mutations:
        print("no mutation selected", file=sys.stderr)
        return 2

    build = Build(args.build.resolve())
    log_dir = build.folder / "mutate-logs"
    log_dir.mkdir(exist_ok=True)
    print(f"list: {args.list}\nsource: {SOURCE}  build: {build.folder}")
    # The unmutated tests must pass, or every mutation would count as killed.
    started = time.time()
    for n, regex in enumerate(sorted({m[4] for m in mutations})):
        with open(log_dir / f"baseline-{n + 1}.log", "w") as log:
            if not (build.build(regex, log) and build.test(regex, log)):
                print(f"the unmutated tests of {regex} fail; see {log.name}", file=sys.stderr)
                return 3
    print(f"baseline: unmutated tests pass ({int(time.time() - started)} s)")

    verdicts = []
    started = time.time()
    for mutation in mutations:
        begun = time.time()
        verdicts.append(run_mutation(build, mutation, log_dir))
        number, path, original, replacement, _ = mutation
        print(f"#{number:<3} {verdicts[-1]:<8} {path.name}: {original} => {replacement}  "
              f"({int(time.time() - begun)}s)", flush=True)
    # Leave the build matching the restored sources.
    with open(log_dir / "restore.log", "w") as log:
        for regex in {m[4] for m in mutations}:
            build.build(regex, log)
    elapsed = int(time.time() - started)
    print(f"time: {elapsed}s for {len(mutations)} mutation(s), {elapsed // len(mutations)}s each")
    print(f"mutations: {len(mutations)} killed: {verdicts.count('killed')} "
          f"survived: {verdicts.count('survived')} invalid: {verdicts.count('invalid')}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
