#!/usr/bin/env python3
"""Prints the medians of a korvel_bench JSON output as a Markdown table,
then the ratios that the program's speed is held to, each from that run."""
import json
import sys

TO_US = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}

# (what, numerator, denominator, most allowed)
RATIOS = [
    ("Fft 65536 / FFTW 65536", "Fft/65536", "FftwReference/65536", 3.0),
    ("ProcessRecord Av_Over 10001 / Av_Over 3", "ProcessRecord/10001", "ProcessRecord/3", 1.5),
    ("ProcessRecord Av_Over 10001 / plain pass", "ProcessRecord/10001",
     "ProcessRecordPlainPass", 4.0),
    ("ReadDataFile text / fread + strtod", "ReadDataFile/text65534", "ReadTextFloor/65534", 3.0),
]
# (what, benchmark, most allowed in ms)
LIMITS = [("Oscillograph tick 1920x1080", "OscillographTick/1920x1080", 5.0)]


def medians(path):
    with open(path) as f:
        run = json.load(f)
    found = {}
    for b in run["benchmarks"]:
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        name = b.get("run_name", b["name"])
        if b.get("run_type") != "aggregate" and name in found:
            continue  # a run without repetitions: keep the first
        scale = TO_US[b.get("time_unit", "ns")]
        found[name] = (b["real_time"] * scale, b["cpu_time"] * scale, b)
    return run.get("context", {}), found


def show(us):
    return f"{us / 1000:.2f} ms" if us >= 1000 else f"{us:.1f} µs"


def main():
    context, found = medians(sys.argv[1])
    print(f"Run of {context.get('date', '?')}, {context.get('num_cpus', '?')} CPUs at "
          f"{context.get('mhz_per_cpu', '?')} MHz, load {context.get('load_avg', '?')}\n")
    print("| Benchmark | Median (wall) | Median (CPU) |")
    print("|---|---:|---:|")
    for name, (real, cpu, _) in found.items():
        print(f"| `{name}` | {show(real)} | {show(cpu)} |")
    print("\n| Ratio | Wall | CPU | At most |")
    print("|---|---:|---:|---:|")
    failed = False
    for what, top, bottom, most in RATIOS:
        if top not in found or bottom not in found:
            print(f"| {what} | missing | missing | {most:g}× |")
            failed = True
            continue
        wall = found[top][0] / found[bottom][0]
        cpu = found[top][1] / found[bottom][1]
        failed |= wall > most
        print(f"| {what} | {wall:.2f}× | {cpu:.2f}× | {most:g}× |")
    for what, name, most_ms in LIMITS:
        if name not in found:
            print(f"| {what} | missing | missing | {most_ms:g} ms |")
            failed = True
            continue
        real, cpu, _ = found[name]
        failed |= real / 1000 > most_ms
        print(f"| {what} | {show(real)} | {show(cpu)} | {most_ms:g} ms |")
    if failed:
        print("\nAt least one figure is beyond its limit (wall-clock medians).")


if __name__ == "__main__":
    main()
