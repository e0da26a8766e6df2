#!/usr/bin/python3
"""Resampling beside Pillow: runs our benchmark program and Pillow's Image.resize on the same
1600x1200 pixels (nearest and area averaging / box, to 176x144 and 640x480) and prints the ratio.
Both sides are timed in CPU time (a shared, loaded machine inflates wall-clock time), as the
median of REPETITIONS runs (default 3).

Usage: bench/imagelib_resample_pillow.py build/bench/bench_imagelib_resample [REPETITIONS]
"""
import json
import statistics
import subprocess
import sys
import time

from PIL import Image

W, H = 1600, 1200


def pattern():
    data = bytearray(W * H * 3)
    i = 0
    for y in range(H):
        for x in range(W):
            for c in (2, 1, 0):  # red, green, blue from the benchmark's blue-green-red pattern
                data[i] = ((x * 7 + y * 13 + c * 71) ^ (x * y)) & 255
                i += 1
    return Image.frombytes("RGB", (W, H), bytes(data))


def pillow_cpu_ms(src, size, pil_filter, repetitions, n=20):
    runs = []
    for _ in range(repetitions):
        start = time.process_time()
        for _ in range(n):
            src.resize(size, pil_filter)
        runs.append((time.process_time() - start) / n * 1000)
    return statistics.median(runs)


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    repetitions = int(sys.argv[2]) if len(sys.argv) == 3 else 3
    out = subprocess.run([sys.argv[1], "--benchmark_filter=Ours", "--benchmark_format=json",
                          f"--benchmark_repetitions={repetitions}", "--benchmark_report_aggregates_only=true"],
                         check=True, capture_output=True, text=True).stdout
    ours = {b["run_name"]: b["cpu_time"] for b in json.loads(out)["benchmarks"]
            if b.get("aggregate_name") == "median"}  # milliseconds
    src = pattern()
    rows = [("Nearest", Image.NEAREST), ("AreaAverage", Image.BOX)]
    print(f"{'case (CPU ms, medians)':<28}{'ours ms':>10}{'Pillow ms':>11}{'ours/Pillow':>13}")
    for name, pil_filter in rows:
        for w, h in ((176, 144), (640, 480)):
            pillow = pillow_cpu_ms(src, (w, h), pil_filter, repetitions)
            key = f"BM_Ours_{name}/{w}/{h}"
            print(f"{key:<28}{ours[key]:>10.3f}{pillow:>11.3f}{ours[key] / pillow:>13.2f}")


if __name__ == "__main__":
    main()
