#!/usr/bin/env python3
"""Plants faults one at a time in a throwaway copy of Glyphsmith and counts those the tests catch.

The program code comes from one revision (--rev); the tests/ folder from the same revision, from
another one or from a folder (--tests-from), so that one fault list can be counted against two
test suites over the same program. For each fault in faults.txt: apply it, rebuild, run ctest,
restore the file. A fault is CAUGHT when some test fails or times out, MISSED when all pass, and
INVALID when the program no longer builds (those are not counted as caught).

    tests/fault-seeding/seed-faults.py --rev 500886a --out before.txt
    tests/fault-seeding/seed-faults.py --rev 500886a --tests-from other-branch --out after.txt

Every build and test command runs under `nice -n 19`. Standard library only.
"""

import argparse
import datetime
import os
import re
import shutil
import signal
import subprocess
import sys
import tarfile
import tempfile
import time
from dataclasses import dataclass, field
from pathlib import Path

HERE = Path(__file__).resolve().parent
FOLDERS = ("engine", "app", "viewer")


@dataclass
class Fault:
    id: str
    file: str = ""
    what: str = ""
    original: str = ""
    replacement: str = ""
    line: int = 0  # where it starts in the faults file

    @property
    def folder(self):
        return self.file.split("/", 1)[0]


@dataclass
class Outcome:
    fault: Fault
    result: str  # CAUGHT, MISSED or INVALID
    failing: list = field(default_factory=list)
    seconds: float = 0.0


class SetupError(Exception):
    pass


# ------------------------------------------------------------------------------------------------
# The fault list


def is_comment(line):
    # "#" alone or followed by a space: a preprocessor line in a snippet has no space after it.
    return line == "#" or line.startswith("# ")


def parse_faults(path):
    faults, current, section, lines = [], None, None, []

    def close_section():
        nonlocal section, lines
        if current is not None and section is not None:
            setattr(current, section, "\n".join(lines))
        section, lines = None, []

    for number, raw in enumerate(Path(path).read_text(encoding="utf-8").split("\n"), start=1):
        if raw.startswith("=== "):
            close_section()
            current = Fault(id=raw[4:].strip(), line=number)
            faults.append(current)
        elif raw in ("--- original", "--- replacement"):
            if current is None:
                raise SetupError(f"{path}:{number}: snippet outside a fault")
            close_section()
            section = raw[4:]
        elif section is not None and not is_comment(raw):
            lines.append(raw)
        elif section is not None:
            close_section()
        elif current is not None and raw.startswith("file:"):
            current.file = raw[5:].strip()
        elif current is not None and raw.startswith("what:"):
            current.what = raw[5:].strip()
        elif raw.strip() and not is_comment(raw):
            raise SetupError(f"{path}:{number}: unexpected line: {raw!r}")
    close_section()

    # A snippet ends at the blank line before the next fault or comment; that blank line is
    # layout, not part of it.
    for f in faults:
        f.original = f.original.rstrip("\n")
        f.replacement = f.replacement.rstrip("\n")
    seen = set()
    for f in faults:
        problems = []
        if f.id in seen:
            problems.append("duplicate id")
        seen.add(f.id)
        if not f.file or f.folder not in FOLDERS:
            problems.append(f"file must be under {', '.join(FOLDERS)}")
        if not f.original:
            problems.append("empty original")
        if f.original == f.replacement:
            problems.append("replacement equals original")
        if problems:
            raise SetupError(f"{path}:{f.line}: fault {f.id}: {'; '.join(problems)}")
    return faults


# Byte for byte: line ends are left as they are.
def read(path):
    return path.read_bytes().decode("utf-8")


def write(path, text):
    path.write_bytes(text.encode("utf-8"))


def occurrences(source_root, fault):
    target = source_root / fault.file
    if not target.is_file():
        return -1
    return read(target).count(fault.original)


def check_applicable(source_root, faults):
    bad = []
    for f in faults:
        n = occurrences(source_root, f)
        if n != 1:
            bad.append(f"  {f.id}: {'no such file ' + f.file if n < 0 else f'original found {n} times in {f.file}'}")
    if bad:
        raise SetupError("faults that do not apply exactly once:\n" + "\n".join(bad))


# ------------------------------------------------------------------------------------------------
# Commands


class Runner:
    """Runs commands in their own process group, so that a stop ends all they started."""

    def __init__(self, log_dir):
        self.log_dir = log_dir
        self.current = None

    def run(self, args, log_name, cwd=None, env=None, timeout=None):
        log_path = self.log_dir / log_name
        with open(log_path, "w", encoding="utf-8", errors="replace") as log:
            log.write("$ " + " ".join(str(a) for a in args) + "\n")
            log.flush()
            self.current = subprocess.Popen(
                ["nice", "-n", "19", *map(str, args)], cwd=cwd, env=env, stdout=log, stderr=subprocess.STDOUT,
                start_new_session=True)
            try:
                code = self.current.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                self.stop()
                code = None
            finally:
                self.current = None
        return code, log_path.read_text(encoding="utf-8", errors="replace")

    def stop(self):
        process = self.current
        if process and process.poll() is None:
            try:
                os.killpg(process.pid, signal.SIGTERM)
                process.wait(timeout=10)
            except (ProcessLookupError, subprocess.TimeoutExpired):
                try:
                    os.killpg(process.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                process.wait()


def git(repo, *args):
    done = subprocess.run(["git", "-C", str(repo), *args], capture_output=True, text=True)
    if done.returncode != 0:
        raise SetupError(f"git {' '.join(args)}: {done.stderr.strip()}")
    return done.stdout.strip()


def extract(repo, rev, destination, paths=()):
    archive = destination.parent / "copy.tar"
    git(repo, "archive", "--format=tar", "-o", str(archive), rev, *paths)
    with tarfile.open(archive) as tar:
        if hasattr(tarfile, "tar_filter"):
            tar.extractall(destination, filter="tar")
        else:
            tar.extractall(destination)
    archive.unlink()


def make_copy(repo, rev, tests_from, source):
    """The program at `rev`, its tests/ folder replaced when `tests_from` names another."""
    commit = git(repo, "rev-parse", "--verify", rev + "^{commit}")
    source.mkdir(parents=True)
    extract(repo, commit, source)
    tests_origin = f"{commit[:12]} (same revision)"
    if tests_from:
        shutil.rmtree(source / "tests")
        folder = Path(tests_from)
        if folder.is_dir():
            shutil.copytree(folder.resolve(), source / "tests", ignore=shutil.ignore_patterns(".git"))
            tests_origin = f"folder {folder.resolve()}"
        else:
            try:
                tests_commit = git(repo, "rev-parse", "--verify", tests_from + "^{commit}")
            except SetupError:
                raise SetupError(f"--tests-from {tests_from}: neither a folder nor a revision") from None
            extract(repo, tests_commit, source, ["tests"])
            tests_origin = f"{tests_commit[:12]} ({tests_from})"
        if not (source / "tests" / "CMakeLists.txt").is_file():
            raise SetupError(f"--tests-from {tests_from}: no tests/CMakeLists.txt there")
    return commit, tests_origin


FAILED_LINE = re.compile(r"^\s*\d+\s+-\s+(\S+)\s+\(([^)]*)\)")


def failing_tests(ctest_output):
    failing, after = [], False
    for line in ctest_output.splitlines():
        if line.startswith("The following tests FAILED"):
            after = True
        elif after:
            m = FAILED_LINE.match(line)
            if m:
                failing.append(m.group(1) + ("" if m.group(2) == "Failed" else f" ({m.group(2)})"))
    return failing


# ------------------------------------------------------------------------------------------------
# The check


class Check:
    def __init__(self, args):
        self.args = args
        self.work = Path(tempfile.mkdtemp(prefix="glyphsmith-seed-", dir=args.workdir))
        self.source = self.work / "src"
        self.build = self.work / "build"
        self.logs = self.work / "logs"
        self.logs.mkdir()
        self.runner = Runner(self.logs)
        self.env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        self.out = None

    def say(self, text=""):
        print(text, flush=True)
        if self.out:
            self.out.write(text + "\n")
            self.out.flush()

    def configure_and_build(self):
        generator = ["-G", "Ninja"] if shutil.which("ninja") else []
        code, log = self.runner.run(
            ["cmake", "-S", self.source, "-B", self.build, *generator, "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
             "-DGLYPHSMITH_WERROR=OFF", "-DGLYPHSMITH_SANITIZE=OFF", "-DBUILD_TESTING=ON"], "configure.log", env=self.env)
        if code != 0:
            raise SetupError("configuring failed:\n" + log[-3000:])
        code, log = self.build_all("build.log")
        if code != 0:
            raise SetupError("the unmodified program does not build:\n" + log[-3000:])

    def build_all(self, log_name):
        return self.runner.run(["cmake", "--build", self.build, "-j", self.args.jobs], log_name, env=self.env)

    def test(self, log_name):
        """Failing tests (empty when all pass); None when ctest ran no tests at all."""
        args = ["ctest", "--test-dir", self.build, "--timeout", self.args.timeout, "-j", self.args.jobs]
        if self.args.stop_on_failure:
            args.append("--stop-on-failure")
        code, log = self.runner.run(args, log_name, env=self.env, timeout=self.args.suite_timeout)
        if code is None:
            return [f"(whole suite past {self.args.suite_timeout} s)"]
        if "No tests were found" in log:
            return None
        failing = failing_tests(log)
        if code != 0 and not failing:
            failing = [f"(ctest exit {code})"]
        return failing

    def plant(self, fault):
        target = self.source / fault.file
        original = read(target)
        count = original.count(fault.original)
        if count != 1:
            raise SetupError(f"fault {fault.id}: original found {count} times in {fault.file}")
        write(target, original.replace(fault.original, fault.replacement))
        return original

    def run_fault(self, fault):
        started = time.monotonic()
        target = self.source / fault.file
        original = self.plant(fault)
        try:
            code, _ = self.build_all(f"{fault.id}.build.log")
            if code != 0:
                return Outcome(fault, "INVALID", ["(does not build; see log)"], time.monotonic() - started)
            failing = self.test(f"{fault.id}.test.log")
            if failing is None:
                raise SetupError("ctest found no tests")
            return Outcome(fault, "CAUGHT" if failing else "MISSED", failing, time.monotonic() - started)
        finally:
            # Rewritten, not moved back: the new time stamp makes the next build recompile it.
            write(target, original)

    def run(self, faults):
        started = time.monotonic()
        args = self.args
        self.say(f"Fault seeding, {datetime.datetime.now():%Y-%m-%d %H:%M}")
        commit, tests_origin = make_copy(args.repo, args.rev, args.tests_from, self.source)
        self.say(f"program: {commit[:12]} ({args.rev})")
        self.say(f"tests:   {tests_origin}")
        self.say(f"faults:  {len(faults)} from {args.faults}")
        self.say(f"copy:    {self.work}")
        check_applicable(self.source, faults)

        self.say("building the unmodified program ...")
        self.configure_and_build()
        self.say("running the tests on the unmodified program ...")
        baseline = self.test("baseline.test.log")
        if baseline is None:
            raise SetupError("ctest found no tests")
        if baseline:
            raise SetupError("the unmodified program fails tests: " + ", ".join(baseline)
                             + f"\n(see {self.logs / 'baseline.test.log'}; use --keep to keep it)")
        self.say(f"baseline: all tests pass ({time.monotonic() - started:.0f} s so far)\n")

        width = max(len(f.id) for f in faults)
        self.say(f"{'fault':<{width}}  {'folder':<6}  {'result':<7}  {'s':>4}  failing tests")
        outcomes = []
        for fault in faults:
            o = self.run_fault(fault)
            outcomes.append(o)
            self.say(f"{o.fault.id:<{width}}  {o.fault.folder:<6}  {o.result:<7}  {o.seconds:4.0f}  {', '.join(o.failing)}")
        self.summary(outcomes, time.monotonic() - started)
        return outcomes

    def summary(self, outcomes, seconds):
        self.say("\nSummary (caught / valid faults; invalid ones are counted apart)")
        for folder in (*FOLDERS, None):
            mine = [o for o in outcomes if folder is None or o.fault.folder == folder]
            if not mine:
                continue
            caught = sum(o.result == "CAUGHT" for o in mine)
            invalid = sum(o.result == "INVALID" for o in mine)
            valid = len(mine) - invalid
            share = f"{100.0 * caught / valid:.0f} %" if valid else "-"
            extra = f", {invalid} invalid" if invalid else ""
            self.say(f"  {folder or 'overall':<8} {caught:>3} / {valid:<3} caught ({share}){extra}")
        missed = [o for o in outcomes if o.result == "MISSED"]
        if missed:
            self.say("\nMissed:")
            for o in missed:
                self.say(f"  {o.fault.id}: {o.fault.what} ({o.fault.file})")
        invalid = [o for o in outcomes if o.result == "INVALID"]
        if invalid:
            self.say("\nInvalid (do not build):")
            for o in invalid:
                self.say(f"  {o.fault.id} ({o.fault.file})")
        self.say(f"\nRun time: {seconds / 60:.1f} min")

    def cleanup(self):
        self.runner.stop()
        if self.args.keep:
            print(f"kept {self.work}", file=sys.stderr)
        else:
            shutil.rmtree(self.work, ignore_errors=True)


def stop_on_signal(number, frame):
    raise KeyboardInterrupt()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--rev", default="HEAD", help="revision whose program code is used (default HEAD)")
    parser.add_argument("--tests-from", metavar="REV_OR_PATH",
                        help="take tests/ from this revision or folder instead of from --rev")
    parser.add_argument("--faults", default=str(HERE / "faults.txt"), help="the fault list (default: beside this script)")
    parser.add_argument("--only", help="comma-separated fault ids (or id prefixes such as E03) to run")
    parser.add_argument("--out", help="also write the results to this file")
    parser.add_argument("--jobs", type=int, default=2, help="parallel build jobs and tests (default 2)")
    parser.add_argument("--timeout", type=int, default=60, help="per-test timeout in seconds (default 60)")
    parser.add_argument("--suite-timeout", type=int, default=600, help="limit for one whole ctest run (default 600)")
    parser.add_argument("--stop-on-failure", action="store_true", help="stop ctest at the first failing test")
    parser.add_argument("--workdir", help="where the throwaway copy goes (default: the system temp folder)")
    parser.add_argument("--keep", action="store_true", help="keep the throwaway copy and its logs")
    parser.add_argument("--list", action="store_true", help="only list the faults and check that they apply")
    args = parser.parse_args()
    args.repo = Path(git(HERE, "rev-parse", "--show-toplevel"))

    try:
        faults = parse_faults(args.faults)
        if args.only:
            wanted = [w.strip() for w in args.only.split(",") if w.strip()]
            faults = [f for f in faults if any(f.id == w or f.id.startswith(w + "-") for w in wanted)]
            if not faults:
                raise SetupError(f"--only {args.only}: no such fault")
        if args.list:
            with tempfile.TemporaryDirectory(prefix="glyphsmith-seed-", dir=args.workdir) as scratch:
                make_copy(args.repo, args.rev, None, Path(scratch) / "src")
                check_applicable(Path(scratch) / "src", faults)
            for f in faults:
                print(f"{f.id:<36} {f.file:<36} {f.what}")
            counts = ", ".join(f"{folder} {sum(f.folder == folder for f in faults)}" for folder in FOLDERS)
            print(f"{len(faults)} faults ({counts}); all apply to {args.rev}")
            return 0
    except SetupError as error:
        print(f"seed-faults: {error}", file=sys.stderr)
        return 2

    check = Check(args)
    # A stop by signal goes the same way as Ctrl-C: the copy is removed on the way out. SIGINT is
    # set too, since a shell starts a background job with it ignored.
    for number in (signal.SIGINT, signal.SIGTERM):
        signal.signal(number, stop_on_signal)
    try:
        if args.out:
            Path(args.out).parent.mkdir(parents=True, exist_ok=True)
            check.out = open(args.out, "w", encoding="utf-8")
        check.run(faults)
        return 0
    except SetupError as error:
        print(f"seed-faults: {error}", file=sys.stderr)
        return 2
    except KeyboardInterrupt:
        print("\nseed-faults: stopped", file=sys.stderr)
        return 130
    finally:
        check.cleanup()
        if check.out:
            check.out.close()


if __name__ == "__main__":
    sys.exit(main())
