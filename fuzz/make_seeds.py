#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora (corpus/<target>/), small inputs
made from the stored layouts and the tests' fixtures. Run again after a
layout changes; the files are committed."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# Stored layouts (stored_records.h).
BLOCK = 48 + 4 * 12000          # samplesBlock
LAST_SWEEP = 584                # in testFileRecord
AVERAGE = LAST_SWEEP + BLOCK
STEP = 12                       # programStep: opcode, padding, name, value
PROGRAM = 64 * STEP + 12 + 8 * 64


def put(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("latin-1")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def patch(offset, data):
    """One patch of the patched formats: offset, length, bytes."""
    return struct.pack("<IB", offset, len(data)) + data


def block_header(divisor, points, time, pre):
    return struct.pack("<d", divisor), struct.pack("<iII", points, time, pre)


def block_patches(base, divisor, points, time, pre):
    d, counts = block_header(divisor, points, time, pre)
    return patch(base, d) + patch(base + 36, counts)


def pack_name(text):
    value = 0
    for c in text.upper():
        if "A" <= c <= "Z":
            index = ord(c) - ord("A")
        elif "0" <= c <= "9":
            index = 27 + ord(c) - ord("0")
        else:
            index = 26
        value = value * 37 + index
    return value


def program(steps, title):
    data = b"".join(struct.pack("<HHII", op, 0, pack_name(n), v) for op, n, v in steps)
    data += bytes(64 * STEP - len(data))
    data += struct.pack("<iii", len(steps), 0, 0)
    texts = [title] + ["X1X"] * 7
    data += b"".join(t.encode().ljust(64, b"\0") for t in texts)
    assert len(data) == PROGRAM
    return data


TEST, END_TEST, RFR, CALL, INTENSITY = 0x000E, 0x0810, 0x0816, 0x000D, 0x0404


def seeds():
    # Test files on the unit: the fresh record, one byte short, a recorded
    # average, point counts out of range, a divisor that is no number.
    for offset, name in ((1, "handheld_test_file"), (0, "desktop_records")):
        put(name, "fresh", b"\x02")
        put(name, "short", b"\x01")
        put(name, "recorded", b"\x02" + block_patches(offset + AVERAGE, 2.0, 600, 300, 50)
            + block_patches(offset + LAST_SWEEP, 1.0, 600, 300, 50))
        put(name, "too_many_points", b"\x03" + block_patches(offset + AVERAGE, 1.0, 12001, 300, 50))
        put(name, "no_points", b"\x02" + block_patches(offset + LAST_SWEEP, 0.0, 0, 0, 400))
        put(name, "nan_divisor", b"\x02" + patch(offset + AVERAGE, struct.pack("<d", float("nan"))))
    put("desktop_records", "channel_b_name", b"P01S02T0304B-AB12-SLAVE.tst")

    single = program([(TEST, "TEST", 0), (INTENSITY, "INT", 20000), (RFR, "RFR", (20 << 24) | 180),
                      (END_TEST, "END", 0)], "single flash")
    put("program_file", "single_flash.tes", single)
    put("program_file", "one_byte_short.tes", single[:-1])
    put("program_file", "one_byte_long.tes", single + b"\0")

    put("called_programs", "cycle", b"\x02")
    put("called_programs", "short_program", b"\x00")
    put("called_programs", "self_call", b"\x02" + patch(PROGRAM + 2 * STEP + 4, struct.pack("<I", pack_name("A"))))

    put("ini_file", "settings", "1 0\nABCDEFc\n[LPFREQ] 50000\n[noise] 99\n[FLASHFILL] 25\nnonsense\n"
        "[SHUTDOWN] 45\n[UNKNOWN] 3\n[BKGFILL]\n[ND2] 2.5\n")
    put("ini_file", "numbers", "0 1\nCFC\n[NOISE] nan\n[SHUTDOWN] inf\n[ND1] 1e999\n[ND2] -inf\n[ND3] 1e300\r\n")

    put("calibration_file", "thirty", "".join("%g\n" % (0.125 * i - 1) for i in range(30)))
    put("calibration_file", "twenty_nine", "".join("%g\n" % i for i in range(29)))
    put("calibration_file", "not_finite", "".join("%g\n" % i for i in range(12)) + "inf\n" + "1\n" * 17)

    put("remote_line", "commands", "HELP\rBATTERY\rSEND5742 1 2\rREAD1256REG 3\rREADGPIOREG 1\r"
        "SETGPIOBIT 12 2 1\r\r")
    put("remote_line", "editing", "helq\x08p\r\x08\x08x  y   z\r" + "a" * 300 + "\r")

    version = b"U\x07v03.021"
    table = b"U\xf1l" + b"".join(struct.pack("<d", 0.5 * i) for i in range(30))
    put("stimulator_messages", "start_up", version + table + b"U\x02s\x01" + b"U\x09t" + bytes(range(8)))
    put("stimulator_messages", "short_and_keys", b"1234U\x05l\x00\x01U\x00" + b"U\x02v1")

    put("test_folder_names", "tests", "P01S03T0102A.TST\nP02S05T0101B-ID.TST\nP07S07T0101A.spl\nnotes.txt\n")
    put("test_folder_names", "odd_names", "P01S03T0102A.TST\nP0xS01T0101A.TST\nPABS99T0101A.TST\np03s04t0101a.tst\n")

    put("state_file", "state", '(TestState (atime 20.5) (aamplitude -40) (btime 45) (bamplitude 120) '
        '(blineslope 0) (blineintercept 1) (abauto 0) (lpfrequency 75.5) (filtering "1010") '
        '(samples "101") (userid "Dr (Who) \\"x\\"") (notes "two words \\\\ and a (note)"))\n')
    put("state_file", "odd", '(TestState (lpfrequency x) (filtering "10") (samples "1"))')

    put("kv_text", "nested", '(title (a 1)(b q\\"r)(c "x y"))junk "(not an item)" \\( (k "v (x)")')
    put("kv_text", "stray", ") (a 1) (b (c (d 2)))(e")

    put("text_scan", "words", 'a*b?"c"\n  foo, bar;baz "q w"\tend  ')
    put("text_scan", "plain", "abc\nabc")

    put("startup_file", "endings", "comment\r\n[DATA_FOLDER] C:\\DATA\r[InstallPath]\r\tx\n[FONT]   Courier New\r\n")
    put("startup_file", "eof_in_tag", "[DATA_FOLDER] D:\\x y\n[Install")

    for bits in (1, 4, 8, 24, 32):
        put("bmp_file", "2x2_%d.bmp" % bits, bmp(2, 2, bits, 40))
    put("bmp_file", "top_down_v5.bmp", bmp(3, -2, 24, 124))
    put("bmp_file", "truncated.bmp", bmp(2, 2, 24, 40)[:-1])

    put("session_lists", "list", "C:\\tests\\P01S02T0301A.tst\r\n\r\nC:\\x\\y.TST\rD:\\z\n\0next\n")
    put("session_lists", "ends", "C:\\a.tst\n" + "x" * 300 + "\nC:\\b.tst\n\xffC:\\c.tst\n")


def bmp(width, height, bits, header):
    colours = 1 << bits if bits <= 8 else 0
    stride = ((width * bits + 31) // 32) * 4
    image = stride * abs(height)
    offset = 14 + header + 4 * colours
    dib = struct.pack("<IiiHHIIiiII", header, width, height, 1, bits, 0, image, 2835, 2835, colours, 0)
    dib += bytes(header - len(dib))
    pixels = bytes((i * 37) & 0xFF for i in range(image))
    return b"BM" + struct.pack("<IHHI", offset + image, 0, 0, offset) + dib + bytes(4 * colours) + pixels


if __name__ == "__main__":
    seeds()
