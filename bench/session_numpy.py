#!/usr/bin/python3
"""The session benchmark's work done the way a researcher would do it with
numpy and scipy (Debian's python3-numpy and python3-scipy), on the same
files, stage by stage:

  read          the test record files and their sample files ("-??.spl")
  average       the sweeps in microvolts (the sample files and the record's
                last sweep) and their mean
  filter chain  spike removal, 60 Hz and 50 Hz notches run forward and
                backward, the 127-tap windowed-sinc low-pass at 150 Hz
  a-/b-wave     the baseline from the pre-flash points, the b-wave (the
                first maximum up to the window's end) and the a-wave (the
                first minimum before it)

    session_numpy.py FOLDER PROGRAM_VALUES

PROGRAM_VALUES is what session_bench wrote with --values: its stage times
(its total is the work this script does) and per test its a-/b-wave times
and amplitudes. The script checks that its
own values equal the program's (times identical, amplitudes within 1e-10
uV) and prints both sets of times and their ratio. Exit status 1 when a
value differs.
"""

import glob
import math
import os
import sys
import time

import numpy as np
from scipy import signal

# The stored layouts (little-endian, as the unit writes them): a test file
# is one flag byte and the record; a sample file is one block.
RECORD_AT = 1
PROGRAM_VERSION = 108
FLICKER_MARK = 126
REPEAT_INTERVAL = 416
POST_TIME = 432
SCALE = 440
OFFSET = 448
LAST_SWEEP = 584
AVERAGE = 48632
SAMPLES_PER_BLOCK = 12000
BLOCK_DIVISOR, BLOCK_POINTS, BLOCK_TIME, BLOCK_PRE, BLOCK_DATA = 0, 36, 40, 44, 48
TEST_FILE_SIZE = 1 + 96680
SAMPLES_FILE_SIZE = 48048

NOTCH_WIDTH_HZ = 10.0
LOWPASS_HZ = 150.0
SPIKE_THRESHOLD = 0.05
TOLERANCE_UV = 1e-10


class Block:
    """A block's usable header and its raw values."""

    def __init__(self, raw, at):
        header = np.frombuffer(raw, dtype="<f8", count=1, offset=at + BLOCK_DIVISOR)
        fields = np.frombuffer(raw, dtype="<i4", count=3, offset=at + BLOCK_POINTS)
        self.divisor = float(header[0])
        if self.divisor == 0.0 or not math.isfinite(self.divisor):
            self.divisor = 1.0
        self.count = min(int(fields[0]), SAMPLES_PER_BLOCK)
        self.total = int(np.uint32(fields[1]))
        self.pre = min(int(np.uint32(fields[2])), self.total)
        self.data = np.frombuffer(raw, dtype="<i4", count=self.count, offset=at + BLOCK_DATA)


class Test:
    def __init__(self, path):
        self.path = path
        self.name = os.path.basename(path)


def read_test(test):
    with open(test.path, "rb") as f:
        raw = f.read()
    if len(raw) != TEST_FILE_SIZE:
        raise ValueError("%s is the wrong size for a test file" % test.path)
    r = RECORD_AT
    test.version = int(np.frombuffer(raw, dtype="<i4", count=1, offset=r + PROGRAM_VERSION)[0])
    test.flicker = int(np.frombuffer(raw, dtype="<u2", count=1, offset=r + FLICKER_MARK)[0]) == ord("Y")
    test.repeat_interval = int(np.frombuffer(raw, dtype="<i4", count=1, offset=r + REPEAT_INTERVAL)[0])
    test.post_time = int(np.frombuffer(raw, dtype="<i4", count=1, offset=r + POST_TIME)[0])
    test.scale, test.offset = (float(v) for v in np.frombuffer(raw, dtype="<f8", count=2, offset=r + SCALE))
    test.last_sweep = Block(raw, r + LAST_SWEEP)
    test.average_block = Block(raw, r + AVERAGE)
    stem = os.path.splitext(test.path)[0]
    test.blocks = []
    for name in sorted(glob.glob(glob.escape(stem) + "-[0-9][0-9].spl")):
        with open(name, "rb") as f:
            raw = f.read()
        if len(raw) == SAMPLES_FILE_SIZE:
            test.blocks.append(Block(raw, 0))


def sweep_trace(test, block):
    step = block.total / block.count
    x = np.arange(block.count, dtype=np.float64) * step - block.pre
    y = test.offset + test.scale * (block.data / block.divisor)
    return x, y


def average_test(test):
    sweeps = [sweep_trace(test, b) for b in test.blocks]
    if sweeps:
        sweeps.append(sweep_trace(test, test.last_sweep))
    else:
        sweeps = [sweep_trace(test, test.average_block)]
    k = len(sweeps)
    x, first = sweeps[0]
    y = first / k
    for _, more in sweeps[1:]:
        n = min(len(y), len(more))
        y[:n] += more[:n] / k
    test.x, test.y = x, y
    test.blocks = None


def spike_filter(y):
    """Each value more than 5 % from the mean of its filtered predecessor,
    itself and its successor, and further than the successor, becomes the
    mean of those two; solved as the fixed point of the recurrence, so only
    the values after a replaced one are worked out again."""
    n = len(y)
    out = y.copy()
    if n < 3:
        return out
    with np.errstate(divide="ignore", invalid="ignore"):
        m = (y[0] + y[1] + y[2]) / 3.0
        if abs((m - y[0]) / m) > SPIKE_THRESHOLD:
            out[0] = (y[1] + y[2]) / 2.0
        at = np.arange(1, n - 1)
        while at.size:
            before = out[at - 1]
            m = (before + y[at] + y[at + 1]) / 3.0
            a = np.abs((m - y[at]) / m)
            b = np.abs((m - y[at + 1]) / m)
            new = np.where((b < a) & (a > SPIKE_THRESHOLD), (before + y[at + 1]) / 2.0, y[at])
            changed = at[(new != out[at]) & ~(np.isnan(new) & np.isnan(out[at]))]
            out[at] = new
            at = changed + 1
            at = at[at <= n - 2]
        m = (out[n - 3] + y[n - 2] + y[n - 1]) / 3.0
        if abs((m - y[n - 1]) / m) > SPIKE_THRESHOLD:
            out[n - 1] = (y[n - 2] + y[n - 3]) / 2.0
    return out


def recursion(bc, ac, x):
    """p[i] = bc . x[i], x[i-1], x[i-2] - ac . p[i-1], p[i-2] from i = 2 on,
    with p[0] = p[1] = 0."""
    zi = signal.lfiltic(bc, ac, [0.0, 0.0], [x[1], x[0]])
    p = np.zeros(len(x))
    p[2:], _ = signal.lfilter(bc, ac, x[2:], zi=zi)
    return p


def notch_filter(x, y, f0, bw):
    n = len(y)
    span = x[n - 1] - x[0]
    fs = n * 1000.0 / span
    r = 1.0 - 3.0 * bw / fs
    c = math.cos(2.0 * math.acos(-1.0) * f0 / fs)
    if span == 0.0 or 2.0 - 2.0 * c == 0.0 or not abs(r) < 1.0:
        return y
    k = (1.0 - 2.0 * r * c + r * r) / (2.0 - 2.0 * c)
    bc = [k, -2.0 * k * c, k]
    ac = [1.0, -2.0 * r * c, r * r]
    e = np.concatenate((y[::-1], y, y))
    forward = recursion(bc, ac, e)
    backward = recursion(bc, ac, e[::-1])[::-1]
    return (forward[n:2 * n] + backward[n:2 * n]) / 2.0


def lowpass_kernel(m, cutoff):
    """The Blackman-windowed sinc of m taps at cutoff cycles per sample, unit
    sum, as the program builds it for a low-pass."""
    i = np.arange(m, dtype=np.float64)
    big_m = m - 1
    d = i - big_m / 2.0
    with np.errstate(divide="ignore", invalid="ignore"):
        h = np.where(i == big_m / 2.0, 2.0 * math.pi * cutoff, np.sin(2.0 * math.pi * cutoff * d) / d)
    h *= 0.42 - 0.5 * np.cos(2.0 * math.pi * i / big_m) + 0.08 * np.cos(4.0 * math.pi * i / big_m)
    return h / h.sum()


def lowpass_trace(x, y, cutoff):
    n = len(y)
    m = 127 if n > 1024 else 63 if n > 512 else 31
    if n < m:
        return x, y
    tmin, tmax = x.min(), x.max()
    fs = n / (tmax - tmin) * 1000.0
    out = np.convolve(y, lowpass_kernel(m, min(cutoff / fs, 0.5)), mode="valid")
    times = x[(m + 1) // 2] + np.arange(len(out), dtype=np.float64) * ((tmax - tmin) / n)
    return times, out


def filter_test(test):
    y = spike_filter(test.y)
    y = notch_filter(test.x, y, 60.0, NOTCH_WIDTH_HZ)
    y = notch_filter(test.x, y, 50.0, NOTCH_WIDTH_HZ)
    test.x, test.y = lowpass_trace(test.x, y, LOWPASS_HZ)


def nearest_index(x, t):
    i = int(np.searchsorted(x, t, side="left"))
    if i >= len(x):
        return len(x) - 1
    if x[i] == t:
        return i
    if i == 0:
        return -1
    return i if x[i] - t <= t - x[i - 1] else i - 1


def measure_test(test):
    x, y = test.x, test.y
    end = 150.0
    if test.flicker:
        end = test.post_time if test.version < 3000 else test.repeat_interval
    test.values = None
    if not (0.0 <= end and end >= x[0] and 0.0 <= x[-1]):
        return
    i0 = nearest_index(x, max(0.0, x[0]))
    i1 = nearest_index(x, min(end, x[-1]))
    if i0 < 0 or i1 < i0:
        return
    block = test.average_block
    if block.pre == 0:
        intercept = y.sum() / len(y)
    else:
        capacity = int(block.count * block.pre / block.total)
        pre = min(int(np.searchsorted(x, 0.0, side="right")), capacity)
        px, py = x[:pre], y[:pre]
        sx, sy, sxx, sxy = px.sum(), py.sum(), (px * px).sum(), (px * py).sum()
        d = pre * sxx - sx * sx
        intercept = (sxx * sy - sx * sxy) / d if pre >= 2 and d != 0.0 else 0.0
    window = y[i0:i1 + 1]
    b = int(np.argmax(window))
    b_point, b_time = window[b], x[i0 + b]
    if b > 0:
        a = int(np.argmin(window[:b]))
        a_point, a_time = window[a], x[i0 + a]
    else:
        a_point, a_time = 200000.0, math.nan
    a_amplitude = a_point - intercept
    test.values = (a_time, b_time, a_amplitude, (b_point - intercept) - a_amplitude)


def read_program_values(path):
    stages, tests = {}, {}
    with open(path) as f:
        for line in f:
            words = line.split()
            if words and words[0] == "stage":
                stages[" ".join(words[1:-1])] = float(words[-1])
            elif words and words[0] == "test":
                tests[words[1]] = tuple(float(v) for v in words[2:6])
    return stages, tests


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip().split("\n\n")[2], file=sys.stderr)
        return 2
    folder, values_path = sys.argv[1], sys.argv[2]
    program_stages, program_tests = read_program_values(values_path)
    tests = [Test(p) for p in sorted(glob.glob(os.path.join(folder, "*.TST")))]
    print("numpy %s, scipy %s: %d tests in %s" % (np.__version__, __import__("scipy").__version__,
                                                  len(tests), folder))
    print("%-14s %12s" % ("script stage", "ms"))
    total = 0.0
    for name, run in (("read", read_test), ("average", average_test), ("filter chain", filter_test),
                      ("a-/b-wave", measure_test)):
        start = time.perf_counter()
        for test in tests:
            run(test)
        ms = (time.perf_counter() - start) * 1000.0
        total += ms
        print("%-14s %12.1f" % (name, ms))
    print("%-14s %12.1f" % ("total", total))
    print("%-14s %12s" % ("program stage", "ms"))
    for name, ms in program_stages.items():
        print("%-14s %12.1f" % (name, ms))
    ours = program_stages.get("total", math.nan)
    print("total: program %.1f ms, script %.1f ms, ratio %.2f (program time over script time)" % (
        ours, total, ours / total if total > 0 else math.nan))

    differ = 0
    for test in tests:
        theirs = program_tests.get(test.name)
        mine = test.values
        if theirs is None or mine is None:
            differ += 1
            print("%s: no values (program %s, script %s)" % (test.name, theirs, mine))
            continue
        a_found = not math.isnan(mine[0])  # no a-wave before the b-wave: no time to compare
        same_times = mine[1] == theirs[1] and (not a_found or mine[0] == theirs[0])
        same_amplitudes = all(abs(m - t) <= TOLERANCE_UV for m, t in zip(mine[2:], theirs[2:]))
        if not (same_times and same_amplitudes):
            differ += 1
            if differ <= 10:
                print("%s differs: program %r, script %r" % (test.name, theirs, mine))
    print("a-/b-wave values: %d of %d tests equal (times identical, amplitudes within %g uV)" % (
        len(tests) - differ, len(tests), TOLERANCE_UV))
    return 1 if differ or not tests else 0


if __name__ == "__main__":
    sys.exit(main())
