#!/usr/bin/env python3
"""Prints the benchmark table (what / figure / goal / met) from the results scripts/bench.sh
gathered: Google Benchmark JSON files and the instruction counts made under callgrind.
Figures are min / median of the repetitions."""
import json
import os
import statistics
import sys

TO_SECONDS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def load(directory):
    runs = {}
    for name in os.listdir(directory):
        if not name.endswith(".json"):
            continue
        with open(os.path.join(directory, name)) as f:
            for b in json.load(f)["benchmarks"]:
                if b.get("run_type") != "iteration" or b.get("error_occurred"):
                    continue
                runs.setdefault(b["run_name"].split("/iterations:")[0], []).append(b)
    return runs


def instructions(directory, what):
    try:
        with open(os.path.join(directory, what + ".instructions")) as f:
            return float(f.read().strip())
    except (OSError, ValueError):
        return None


class Figures:
    def __init__(self, runs):
        self.runs = runs

    def seconds(self, name):
        """Seconds per iteration of each repetition, or [] when the benchmark did not run."""
        return [b["real_time"] * TO_SECONDS[b["time_unit"]] for b in self.runs.get(name, [])]

    def counter(self, name, counter):
        return [b[counter] for b in self.runs.get(name, []) if counter in b]


def min_median(values, scale, unit, digits=1):
    if not values:
        return "not measured", None
    low, mid = min(values) * scale, statistics.median(values) * scale
    return f"{low:.{digits}f} / {mid:.{digits}f} {unit}", mid


def median(values):
    return statistics.median(values) if values else None


def verdict(ok):
    return "—" if ok is None else ("yes" if ok else "**no**")


def main(directory):
    f = Figures(load(directory))
    rows = []

    text, item_us = min_median(f.seconds("VendaItem_Module"), 1e6, "µs")
    bare_s = median(f.seconds("VendaItem_BareDriver"))
    module_i, bare_i = instructions(directory, "module"), instructions(directory, "bare")
    ok = None if item_us is None else item_us <= 10
    if bare_s and item_us is not None:
        text += f"; {item_us / (bare_s * 1e6):.0f}× the bare calls' time"
    if module_i and bare_i:
        ratio = module_i / bare_i
        text += f"; {module_i / 1000:.1f}k instructions, {ratio:.1f}× the bare calls ({bare_i / 1000:.1f}k)"
        ok = ok and ratio <= 20 if ok is not None else None
    rows.append(("`VendaItem` through the module, debug log on", text,
                 "≤ 10 µs; ≤ 20× the bare calls in instructions", verdict(ok)))

    text, capi_us = min_median(f.seconds("VendaItem_CInterface"), 1e6, "µs")
    capi_i = instructions(directory, "capi")
    ok = None
    if capi_us is not None and item_us:
        text += f"; {capi_us / item_us:.2f}× the direct call's time"
        ok = capi_us / item_us <= 2
    if capi_i and module_i:
        text += f"; {capi_i / 1000:.1f}k instructions, {capi_i / module_i:.2f}× the direct call's"
        ok = (ok is not False) and capi_i / module_i <= 2
    rows.append(("`VendaItem` through `ecf_call` (JSON in and out) beside the direct export", text,
                 "≤ 2× the direct call in time and instructions", verdict(ok)))

    text, value = min_median(f.seconds("Nr_Cupom_NoHostDirectory"), 1e6, "µs")
    rows.append(("`Nr_Cupom` with no host directory set", text, "≤ 10 µs",
                 verdict(None if value is None else value <= 10)))

    text, value = min_median(f.seconds("Sale100/disk"), 1e3, "ms")
    rows.append(("100-item sale, `AbreCupom` → `FechaCupom`, module + virtual printer, state on disk",
                 text, "≤ 50 ms", verdict(None if value is None else value <= 50)))
    text, value = min_median(f.seconds("Sale100/tmpfs"), 1e3, "ms")
    rows.append(("the same with the printer's memory on tmpfs", text, "≤ 20 ms",
                 verdict(None if value is None else value <= 20)))

    early, late = median(f.counter("LongReceipt", "early_ms")), median(f.counter("LongReceipt", "late_ms"))
    if early and late:
        text = f"{late:.2f} vs {early:.2f} ms ({late / early:.2f}×)"
        ok = late / early <= 1.5
    else:
        text, ok = "not measured", None
    rows.append(("per item at item 900–999 vs 1–99 of one receipt (tmpfs)", text,
                 "flat (≤ 1.5×)", verdict(ok)))

    small, large = median(f.seconds("Append/10000")), median(f.seconds("Append/100000"))
    text, value = min_median(f.seconds("Append/100000"), 1, "s", 3)
    ok = None
    if small and large:
        text += f", {large / small:.1f}× the time of 10k"
        ok = value <= 0.5 and large / small <= 12
    rows.append(("dataset: 100k appends (append + 5 values + post)", text,
                 "≤ 0.5 s, ≤ 12× the time of 10k", verdict(ok)))

    text, value = min_median(f.seconds("EditPost/100000"), 1e6, "µs", 2)
    small = median(f.seconds("EditPost/10000"))
    if small and value is not None:
        text += f" ({value / (small * 1e6):.1f}× the 10k figure)"
    rows.append(("dataset: edit + post of one row at 100k", text, "≤ 5 µs",
                 verdict(None if value is None else value <= 5)))

    exact = median(f.seconds("Locate/exact/100000"))
    text, value = min_median(f.seconds("Locate/ignoring_case/100000"), 1e3, "ms", 2)
    ok = None
    if exact and value is not None:
        text += f" ({value / (exact * 1e3):.1f}× the case-sensitive one, {exact * 1e3:.2f} ms)"
        ok = value / (exact * 1e3) <= 2
    rows.append(("locate ignoring case at 100k", text, "≤ 2× the case-sensitive one", verdict(ok)))

    rss = median(f.counter("ResidentAfter3000Items", "rss_mib"))
    rows.append(("host RSS after 3,000 items (module and virtual printer in the host)",
                 "not measured" if rss is None else f"{rss:.1f} MiB", "keep ≤ 10 MB",
                 verdict(None if rss is None else rss * 1.048576 <= 10)))

    for name, what, scale, unit in (
            ("StartUp_NullDriver", "start-up (`FechaPorta` + `StartImpFiscal`), null driver", 1e6, "µs"),
            ("StartUp_VirtualPrinter", "start-up on the virtual printer (tmpfs), a day's sales in it", 1e6, "µs"),
            ("Filter/100000", "dataset: filter switched on and off at 100k", 1e3, "ms"),
            ("TextIndex/100000", "dataset: descending text index set and cleared at 100k", 1e3, "ms")):
        rows.append((what, min_median(f.seconds(name), scale, unit)[0], "—", "—"))

    print("| what | figure (min / median) | goal | met |")
    print("|---|---|---|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")


if __name__ == "__main__":
    main(sys.argv[1])
