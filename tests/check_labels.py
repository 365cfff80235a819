#!/usr/bin/env python3
"""The labels of the test cases as ctest sees them.

Every case discovered in a GoogleTest program must carry exactly the labels its program
declares, `ctest -N -L '^label$'` must list exactly the cases of the programs that declare the
label, and a case of real sound must run alone. Run over a built tree: a program that was not
built has no cases to look at, and that is reported too.
"""
import argparse
import json
import subprocess
import sys


def read_declared(path):
    """program name -> set of labels, from the lines 'program<TAB>label,label' the build writes."""
    declared = {}
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            line = line.rstrip("\n")
            if line:
                program, labels = line.split("\t")
                declared[program] = {label for label in labels.split(",") if label}
    return declared


def run_ctest(ctest, build, *arguments):
    return subprocess.run([ctest, *arguments], cwd=build, check=True,
                          capture_output=True, text=True).stdout


def listed_names(ctest, build, label):
    """The names `ctest -N -L '^label$'` lists."""
    names = set()
    for line in run_ctest(ctest, build, "-N", "-L", f"^{label}$").splitlines():
        line = line.strip()
        if line.startswith("Test") and ":" in line:
            names.add(line.split(":", 1)[1].strip())
    return names


def property_of(test, name):
    for prop in test.get("properties", []):
        if prop["name"] == name:
            return prop["value"]
    return None


def check(declared, tests, listed_by_label):
    """The faults found, each a line; tests is ctest's json list, listed_by_label what -L gives."""
    faults = []
    cases = {program: [] for program in declared}
    for test in tests:
        program = test["name"].split(".", 1)[0]
        if program in cases and "." in test["name"]:
            cases[program].append(test)
        elif test["name"].endswith("_NOT_BUILT") and test["name"][:-len("_NOT_BUILT")] in cases:
            faults.append(f"{test['name'][:-len('_NOT_BUILT')]}: not built, its cases are unknown")
    unbuilt = {fault.split(":", 1)[0] for fault in faults}
    for program, labels in sorted(declared.items()):
        if not cases[program] and program not in unbuilt:
            faults.append(f"{program}: no case discovered")
        for test in cases[program]:
            seen = set(property_of(test, "LABELS") or [])
            if seen != labels:
                faults.append(f"{test['name']}: labels {sorted(seen)}, its program declares "
                              f"{sorted(labels)}")
            if "realsound" in labels and property_of(test, "RUN_SERIAL") is not True:
                faults.append(f"{test['name']}: real sound that does not run alone")
    for label, listed in sorted(listed_by_label.items()):
        expected = {test["name"] for program, labels in declared.items() if label in labels
                    for test in cases[program]}
        of_programs = {name for name in listed if name.split(".", 1)[0] in declared}
        for name in sorted(expected - of_programs):
            faults.append(f"ctest -L {label} misses {name}")
        for name in sorted(of_programs - expected):
            faults.append(f"ctest -L {label} lists {name}, whose program does not declare it")
    return faults


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--ctest", required=True)
    parser.add_argument("--build", required=True)
    parser.add_argument("--declared", required=True)
    args = parser.parse_args()

    declared = read_declared(args.declared)
    tests = json.loads(run_ctest(args.ctest, args.build, "--show-only=json-v1"))["tests"]
    labels = set().union(*declared.values()) if declared else set()
    listed = {label: listed_names(args.ctest, args.build, label) for label in labels}
    faults = check(declared, tests, listed)
    for fault in faults:
        print(fault)
    cases = sum(1 for test in tests if test["name"].split(".", 1)[0] in declared)
    print(f"{len(declared)} programs, {cases} cases, labels {sorted(labels)}: "
          f"{len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
