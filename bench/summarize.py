#!/usr/bin/env python3
"""Prints a short summary of Google Benchmark JSON results: for each benchmark its time and every
counter it reports (the known ones first, with their labels, ratios to the bare baselines
leading; any other counter after them by its own name). With repetitions, the medians."""
import json
import sys

# Known counters in the order they are shown, with their labels; others follow by name.
SHOWN = [
    ("vs_bare", "x bare", "{:.2f}"),
    ("subject_ms", "ms CPU", "{:.2f}"),
    ("bare_ms", "ms CPU bare", "{:.2f}"),
    ("first_write_ms", "ms to first PCM write", "{:.2f}"),
    ("bare_decode_ms", "ms bare decode", "{:.2f}"),
    ("sound_ms", "ms of sound", "{:.0f}"),
    ("read_ms", "ms reading", "{:.1f}"),
    ("prepare_ms", "ms preparing", "{:.1f}"),
    ("filters_ms", "ms filters", "{:.1f}"),
    ("construct_ms", "ms construct", "{:.1f}"),
    ("create_ms", "ms CreateFrame", "{:.1f}"),
    ("show_ms", "ms show", "{:.1f}"),
    ("rss_delta_MB", "MB resident added", "{:.1f}"),
    ("rss_MB", "MB resident", "{:.1f}"),
    ("lesson_MB", "MB for the lesson", "{:.1f}"),
    ("file_MB", "MB file", "{:.1f}"),
    ("rows", "rows", "{:.0f}"),
    ("records", "records", "{:.0f}"),
    ("reversed", "reversed records", "{:.0f}"),
]


# Fields of a run that Google Benchmark writes itself; everything else numeric is a counter.
RUN_FIELDS = {
    "name", "family_index", "per_family_instance_index", "run_name", "run_type", "repetitions",
    "repetition_index", "threads", "iterations", "real_time", "cpu_time", "time_unit",
    "aggregate_name", "aggregate_unit", "error_occurred", "error_message", "label",
}


def chosen_runs(benchmarks):
    """One entry per benchmark, in run order: its median when repetitions were run, else the
    run itself."""
    medians = {b["run_name"]: b for b in benchmarks if b.get("aggregate_name") == "median"}
    chosen, seen = [], set()
    for run in benchmarks:
        name = run.get("run_name", run["name"])
        if name in seen:
            continue
        seen.add(name)
        chosen.append(medians.get(name, run))
    return chosen


def describe(run):
    if run.get("error_occurred"):
        return "ERROR: " + run.get("error_message", "")
    parts = ["{:.3g} {} wall".format(run["real_time"], run.get("time_unit", "ns"))]
    known = set()
    for key, label, form in SHOWN:
        known.add(key)
        if key in run:
            parts.append(form.format(run[key]) + " " + label)
    for key, value in run.items():
        if key in RUN_FIELDS or key in known or not isinstance(value, (int, float)):
            continue
        parts.append("{:.4g} {}".format(value, key))
    return ", ".join(parts)


def main(paths):
    for path in paths:
        with open(path, encoding="utf-8") as source:
            results = json.load(source)
        for run in chosen_runs(results.get("benchmarks", [])):
            name = run.get("run_name", run["name"])
            print("{:<44} {}".format(name, describe(run)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
