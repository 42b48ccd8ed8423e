#!/usr/bin/python3
"""numpy's side of the FFT benchmark: for each length the same input as
bench/fft_bench.cpp makes (a linear congruential generator), the median time
of numpy.fft.fft and its result, written to FOLDER/fft_numpy_<n>.bin as
little-endian doubles: the time in ms, then the n real parts, then the n
imaginary parts. fft_bench --numpy FOLDER prints its ratio and its largest
difference against them.

    fft_numpy.py FOLDER n...
"""

import ctypes
import ctypes.util
import os
import sys
import time

import numpy as np

MIN_TOTAL_SECONDS = 0.3
MIN_RUNS = 5
MAX_RUNS = 2000


def make_signal(n):
    h = 12345
    re, im = np.empty(n), np.empty(n)
    for i in range(n):
        h = (h * 1664525 + 1013904223) & 0xFFFFFFFF
        re[i] = (h >> 8) / 16777216.0 - 0.5
        h = (h * 1664525 + 1013904223) & 0xFFFFFFFF
        im[i] = (h >> 8) / 16777216.0 - 0.5
    return re + 1j * im


def median_ms(run):
    times, total = [], 0.0
    while len(times) < MAX_RUNS and (len(times) < MIN_RUNS or total < MIN_TOTAL_SECONDS):
        start = time.perf_counter()
        run()
        took = time.perf_counter() - start
        times.append(took * 1000.0)
        total += took
    times.sort()
    return times[len(times) // 2]


def keep_freed_memory():
    """numpy takes each result array from malloc and frees it after the call;
    glibc maps a large array afresh and unmaps it on free, so a call would pay
    a page fault per 4 KB of its result. Kept on the heap instead, the time is
    the transform's, as it is for a program that reuses its arrays."""
    M_TRIM_THRESHOLD, M_MMAP_THRESHOLD = -1, -3
    name = ctypes.util.find_library("c")
    if not name:
        return
    libc = ctypes.CDLL(name)
    if hasattr(libc, "mallopt"):
        libc.mallopt(M_MMAP_THRESHOLD, 256 * 1024 * 1024)
        libc.mallopt(M_TRIM_THRESHOLD, 1024 * 1024 * 1024)


def main():
    if len(sys.argv) < 3:
        print("usage: fft_numpy.py FOLDER n...", file=sys.stderr)
        return 2
    folder = sys.argv[1]
    keep_freed_memory()
    for n in (int(v) for v in sys.argv[2:]):
        x = make_signal(n)
        ms = median_ms(lambda: np.fft.fft(x))
        y = np.fft.fft(x)
        data = np.concatenate(([ms], y.real, y.imag)).astype("<f8")
        data.tofile(os.path.join(folder, "fft_numpy_%d.bin" % n))
    return 0


if __name__ == "__main__":
    sys.exit(main())
