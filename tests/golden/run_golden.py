#!/usr/bin/env python3
"""Golden end-to-end runner: converts one case through the orvo CLI and
checks every file of the resulting tree, byte for byte.

A case folder holds:
  layout     optional; lines "SOURCE TARGET": folders of the repository copied
             into the case's root before the run (shared tables, the bundled
             example)
  input/     optional; files copied into the root after the layout. Its
             settings.ini (where @ROOT@ stands for the root folder) is moved
             out of the root and handed to orvo with --settings
  subcommand optional; the orvo command to run (default: convert)
  command    optional; the arguments after "orvo convert --settings FILE
             --quiet" (default: show.orv); @ROOT@ is substituted
  environment optional; lines "NAME=VALUE" set for the run, "NAME=" unsets
             NAME (the tests pin LC_ALL=C; a case in English unsets it and
             sets LANG)
  expected/  every file that the run creates or changes, byte for byte
  unchecked  optional; files (a line each) that the run must create but whose
             bytes other tests check, such as the agent runtime that
             --with-player copies: its bytes change with its sources
  deleted    optional; the files of the root that the run deletes, a line each
  exit_code  optional; the expected exit status (default 0)
  stderr     optional; the expected messages (default none); @ROOT@ stands
             for the root folder

Any other change to the tree (a file written, changed or deleted anywhere
else) fails the case: a conversion writes nothing outside its output folder
and its two echo files.

Usage: run_golden.py ORVO REPO CASE_DIR [--update]
--update rewrites expected/, deleted, stderr and exit_code from the run;
review the diff before committing it.
"""
import difflib
import locale
import os
import shutil
import subprocess
import sys
import tempfile


def tree(root):
    files = {}
    if not os.path.isdir(root):
        return files
    for folder, dirs, names in os.walk(root):
        dirs.sort()
        for name in sorted(names):
            path = os.path.join(folder, name)
            rel = os.path.relpath(path, root)
            if os.path.islink(path):
                files[rel] = b"-> " + os.readlink(path).encode()
            else:
                with open(path, "rb") as f:
                    files[rel] = f.read()
    return files


def show_diff(name, expected, actual):
    try:
        exp = expected.decode("utf-8").splitlines(keepends=True)
        act = actual.decode("utf-8").splitlines(keepends=True)
        diff = difflib.unified_diff(exp, act, "expected/" + name, "actual/" + name)
        sys.stdout.writelines(line.replace("\r", "\\r") for line in diff)
    except UnicodeDecodeError:
        print(f"binary file {name} differs")


def read_text(path, default):
    if os.path.exists(path):
        with open(path, "r", encoding="utf-8") as f:
            return f.read()
    return default


def prepare(repo, case, root):
    os.makedirs(root)
    for line in read_text(os.path.join(case, "layout"), "").splitlines():
        if line.strip():
            source, target = line.split()
            shutil.copytree(os.path.join(repo, source), os.path.join(root, target),
                            dirs_exist_ok=True, symlinks=True)
    if os.path.isdir(os.path.join(case, "input")):
        shutil.copytree(os.path.join(case, "input"), root, dirs_exist_ok=True, symlinks=True)
    settings_in = os.path.join(root, "settings.ini")
    settings_out = os.path.join(os.path.dirname(root), "settings.ini")
    with open(settings_in, "rb") as f:
        settings = f.read().replace(b"@ROOT@", root.encode())
    with open(settings_out, "wb") as f:
        f.write(settings)
    os.remove(settings_in)
    return settings_out


SKIPPED = 77


def locale_missing(case):
    """The LANG that a case's environment asks for, when this machine lacks it."""
    for line in read_text(os.path.join(case, "environment"), "").splitlines():
        name, _, value = line.strip().partition("=")
        if name == "LANG" and value:
            try:
                locale.setlocale(locale.LC_ALL, value)
            except locale.Error:
                return value
            finally:
                locale.setlocale(locale.LC_ALL, "C")
    return None


def main():
    orvo, repo, case = sys.argv[1], sys.argv[2], os.path.abspath(sys.argv[3])
    update = "--update" in sys.argv[4:]
    missing = locale_missing(case)
    if missing:
        print(f"skipped: the locale {missing} is not installed (locale-gen {missing})")
        return SKIPPED
    work = tempfile.mkdtemp(prefix="orvo-golden-")
    try:
        root = os.path.join(work, "root")
        settings = prepare(repo, case, root)
        before = tree(root)
        args = read_text(os.path.join(case, "command"), "show.orv").split()
        args = [a.replace("@ROOT@", root) for a in args]
        subcommand = read_text(os.path.join(case, "subcommand"), "convert").strip()
        env = dict(os.environ)
        for line in read_text(os.path.join(case, "environment"), "").splitlines():
            name, _, value = line.strip().partition("=")
            if not name:
                continue
            if value:
                env[name] = value
            else:
                env.pop(name, None)
        run = subprocess.run([orvo, subcommand, "--settings", settings, "--quiet"] + args,
                             cwd=root, capture_output=True, env=env)
        stderr = run.stderr.decode("utf-8").replace(root, "@ROOT@")
        after = tree(root)
        changed = {n: b for n, b in after.items() if before.get(n) != b}
        deleted = sorted(set(before) - set(after))
        unchecked = read_text(os.path.join(case, "unchecked"), "").split()
        unchecked_missing = [name for name in unchecked if name not in changed]
        for name in unchecked:
            changed.pop(name, None)

        if update:
            expected_dir = os.path.join(case, "expected")
            shutil.rmtree(expected_dir, ignore_errors=True)
            for name, data in changed.items():
                os.makedirs(os.path.dirname(os.path.join(expected_dir, name)), exist_ok=True)
                with open(os.path.join(expected_dir, name), "wb") as f:
                    f.write(data)
            for name, text in (("stderr", stderr), ("exit_code", f"{run.returncode}\n"),
                               ("deleted", "".join(d + "\n" for d in deleted))):
                path = os.path.join(case, name)
                if text and text != "0\n":
                    with open(path, "w", encoding="utf-8") as f:
                        f.write(text)
                elif os.path.exists(path):
                    os.remove(path)
            print(f"updated {case}")
            return 0

        failures = 0
        expected_code = int(read_text(os.path.join(case, "exit_code"), "0").strip())
        if run.returncode != expected_code:
            print(f"exit code {run.returncode}, expected {expected_code}")
            failures += 1
        expected_stderr = read_text(os.path.join(case, "stderr"), "")
        if stderr != expected_stderr:
            print("stderr differs:")
            show_diff("stderr", expected_stderr.encode(), stderr.encode())
            failures += 1
        expected = tree(os.path.join(case, "expected"))
        for name in unchecked_missing:
            print(f"missing: {name}")
            failures += 1
        for name in sorted(set(expected) | set(changed)):
            if name not in after:
                print(f"missing: {name}")
                failures += 1
            elif name not in expected:
                print(f"written outside the expected files: {name}")
                failures += 1
            elif expected[name] != after[name]:
                print(f"differs: {name}")
                show_diff(name, expected[name], after[name])
                failures += 1
        expected_deleted = read_text(os.path.join(case, "deleted"), "").split()
        if deleted != sorted(expected_deleted):
            print(f"deleted {deleted}, expected {sorted(expected_deleted)}")
            failures += 1
        print(f"{os.path.basename(case)}: {'FAILED' if failures else 'ok'}")
        return 1 if failures else 0
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
