#!/usr/bin/python3
"""Resampling beside Pillow: runs our benchmark program and Pillow's Image.resize on the same
1600x1200 pixels (nearest and area averaging / box, to 176x144 and 640x480) and prints the ratio.

Usage: bench/imagelib_resample_pillow.py build/bench/bench_imagelib_resample
"""
import json
import subprocess
import sys
import timeit

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


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = subprocess.run([sys.argv[1], "--benchmark_filter=Ours", "--benchmark_format=json"],
                         check=True, capture_output=True, text=True).stdout
    ours = {b["name"]: b["real_time"] for b in json.loads(out)["benchmarks"]}  # milliseconds
    src = pattern()
    rows = [("Nearest", Image.NEAREST), ("AreaAverage", Image.BOX)]
    print(f"{'case':<28}{'ours ms':>10}{'Pillow ms':>11}{'ours/Pillow':>13}")
    for name, pil_filter in rows:
        for w, h in ((176, 144), (640, 480)):
            n = 20
            pillow = timeit.timeit(lambda: src.resize((w, h), pil_filter), number=n) / n * 1000
            key = f"BM_Ours_{name}/{w}/{h}"
            print(f"{key:<28}{ours[key]:>10.3f}{pillow:>11.3f}{ours[key] / pillow:>13.2f}")


if __name__ == "__main__":
    main()
