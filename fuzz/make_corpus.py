#!/usr/bin/env python3
"""Writes the fuzzers' seed corpora under fuzz/corpus/<target>/ from the cases
of the driver's test tables, in each fuzzer's input layout. Run it again when a
layout changes; the files it writes are committed."""
import pathlib
import shutil
import struct

CORPUS = pathlib.Path(__file__).resolve().parent / "corpus"

MNEMONICS = ["TMP", "INP", "SET", "PWR", "PBD", "INT", "DER", "AL1", "AL2", "DEV", "OFP", "RMP",
             "CRG", "CDB", "RAT", "BIA", "CTR", "SEM", "OST", "PB2", "IT2", "DT2", "IN2", "RSP",
             "SP2", "HCR", "A1R", "A2R"]


def param(name):
    return MNEMONICS.index(name)


def u32(value):
    return struct.pack("<I", value & 0xFFFFFFFF)


def f32(value):
    return struct.pack("<f", value)


def cell_word(word):
    """A value cell whose word (bytes 2 and 3) holds `word`."""
    return b"\0\0" + struct.pack("<H", word & 0xFFFF)


def write(target, cases):
    directory = CORPUS / target
    if directory.exists():
        shutil.rmtree(directory)
    directory.mkdir(parents=True)
    for number, data in enumerate(cases):
        (directory / f"seed-{number:03d}").write_bytes(data)


# ---- fuzz_address_parser: kind byte (kind + 1), resolution choice, the text ----

ADDRESSES = [
    ("01TMP", 3), ("02INP", 3), ("12set", 3), ("05PWR", 3), ("06PBD", 3), ("07INT", 0),
    ("08DER", 1), ("09AL1", 3), ("10AL2", 3), ("11DEV", 3), ("20OFP", 3), ("30RMP", 3),
    ("40CRG", 3), ("50CDB", 3), ("60RAT", 3), ("70BIA", 0), ("03CTR", 0), ("03SEM", 1),
    ("05OST0", 6), ("05OST1", 6), ("05ost2", 6), ("05OST3", 6), ("80PB2", 3), ("81IT2", 0),
    ("82DT2", 0), ("83IN2", 3), ("84RSP", 0), ("85SP2", 3), ("99HCR", 3), ("07A1R", 6),
    ("07a2r", 6), ("1XTMP", 3), (" 1TMP", 3), ("1 TMP", 3), ("09Al1", 3),
    ("01TMPXY", 3), ("01OST00", 6), ("00TMP", 3), ("aatmp", 3), ("", 3), ("-1TMP", 3),
    ("01TMP1", 3), ("01XYZ", 3), ("01tmx", 3), ("01OST", 6), ("01OST4", 6), ("01OSTX", 6),
    ("01TMP", 7), ("07A1R", 0), ("01OST2", 0), ("07INT", 3), ("01TMP", 0),
]


def address_seeds():
    seeds = []
    for text, kind in ADDRESSES:
        for resolutions in (0, 1):
            seeds.append(bytes([kind + 1, resolutions]) + text.encode())
    return seeds


# ---- fuzz_format_value: the float's 4 bytes, then the format text ----

FORMATS = [
    ("04.0", 150), ("04.0", 9999.4), ("04.0", 9999.5), ("05.0", -5), ("05.1", 12.5),
    ("06.1", -12.35), ("05.2", 0.125), ("05.2", 2.675), ("05.1", 0.04), ("06.1", -0.04),
    ("05.3", 1.25), ("05.3", 9.9995), ("05.4", 0.5), ("05.4", 1.5), ("01.0", 2), ("02.1", 1),
    ("+05.1", 12.5), ("+05.1", 0), ("+05.1", -0.01), (".2", 3.14159), (".2", -0.001),
    ("+.1", 7.25), ("5.2", 12.5), ("04", 12), ("012.0", 1), ("013.0", 1), ("0.2", 1),
    ("04.-1", 1), ("04.8", 0.5), ("04.7", 1), ("08.0", 9999999), ("09.0", 12345678),
    ("04.1", -0.0), ("x", 3.4028235e38), ("+x", -3.4028235e38), ("012", 1e12),
    ("08.7", 0.1234567), ("05.1", float("inf")), ("05.1", float("nan")),
]


def format_seeds():
    return [f32(value) + text.encode() for text, value in FORMATS]


# ---- fuzz_init_file: the file's bytes ----

LINES = [
    "SET 5 = 2", "SET5=2", "SET 5 = 2 ; note", "SET\t5 \t=\t 2", "SET +5 = +2", "SET 5 = 4",
    "SET 100 = 1", "SET 5 = -1", "set 5 = 2", " SET 5 = 2", "   ", "; note", "TMP 0 = 2",
    "A2R 99 = 3", "RESOLUTION 7 = 1", "RESOLUTION7=1", "RESOLUTION 7 = 9", "IFG = 250",
    "IFG = 65636", "IFG = 0", "IFG = -1", "IFG 250", "",
]


def init_file_seeds():
    seeds = [(line + "\n").encode() for line in LINES]
    seeds.append(b"RESOLUTION 7 = 1\nSET 7 = 0\n")
    seeds.append(b"SET 5 = 2\r\n\r\n?\r\n\r\n\r\nIFG = 9\r\n?\r\n")
    seeds.append(b"IFG = 9\n\x1a?\nSET 5 = 2\n")
    seeds.append(b"IFG = 9 ;" + b"x" * 250 + b"\n?\n")
    seeds.append(b"\r\nSET 5 = 2\n\rSET 6 = 2\n")
    return seeds


# ---- the line script shared by fuzz_single_read and fuzz_single_write ----

CR_LF, BLANK, MINUS = 0x04, 0x08, 0x10
AT_ONCE, SPLIT, LATE = 1, 2, 3
FAIL_READ, FAIL_WRITE = 1 << 5, 4 << 5


def answer(body=b"", shape=AT_ONCE, flags=BLANK | CR_LF, later=0, split=0):
    """One frame's answer: plan byte, body length and body, then the timing bytes."""
    data = bytes([shape | flags, len(body)]) + body
    if shape == SPLIT:
        data += bytes([later, split])
    elif shape == LATE:
        data += bytes([later])
    return data


SILENCE = bytes([0, 0])


def line(answers=(), stale=b"", failing=0, fail_times=(), limit=0, drain=0):
    return bytes([limit, drain, len(stale)]) + stale + bytes([failing] + list(fail_times)) + b"".join(answers)


def gate(node, name, bit_byte=0, aux=0, cell=b"\0\0\0\0"):
    return bytes([0, node - 1, param(name), bit_byte]) + u32(aux) + u32(0) + cell


def raw_gate(node, type_byte, param_index, bit, cell=b"\0\0\0\0"):
    return bytes([0xF0]) + u32(node) + bytes([type_byte]) + u32(param_index) + u32(bit) + u32(0) + u32(0) + cell


def read_seeds():
    timeout = bytes([4])
    cases = [
        gate(1, "SET") + line([answer(b"12.5")]),
        gate(1, "SET") + line([answer(b"12.5", flags=MINUS | CR_LF)]),
        gate(1, "TMP") + line([answer(b"12.5", flags=CR_LF)] * 3),
        gate(1, "SET") + line([answer(b"#")]),
        gate(7, "INT") + line([answer(b"5", flags=MINUS | CR_LF)]),
        gate(7, "INT") + line([answer(b"12.7")]),
        gate(5, "OST", bit_byte=3) + line([answer(b"1000")]),
        gate(5, "OST", bit_byte=0) + line([answer(b"1010")]),
        gate(1, "SET") + line([SILENCE] * 4),
        gate(1, "SET") + line([SILENCE, answer(b"20.0"), SILENCE, SILENCE]),
        gate(1, "SET") + line([SILENCE, answer(b"20.0"), answer(b"21.5")]),
        gate(1, "CTR") + line(),
        gate(1, "SET") + line([answer(b"1" * 40)]),
        gate(1, "SET") + line([answer(b"1" * 28)]),
        gate(1, "SET") + line([answer(b"1" * 29)]),
        gate(1, "SET") + line([answer(b"12.5", shape=SPLIT, later=3, split=2)]),
        gate(1, "SET") + line([answer(b"12.5", shape=LATE, later=200), answer(b"1.0")] + [SILENCE] * 3),
        gate(1, "SET") + line([answer(b"12\r5")]),
        gate(1, "SET") + line([answer(b"12.5")], stale=b" 99.9\r\n"),
        gate(1, "SET") + line([answer(b"12.5")], failing=0x01, fail_times=[0]),
        gate(1, "SET") + line([answer(b"12.5")] * 3, failing=0x02, fail_times=[1]),
        gate(1, "SET") + line([answer(b"12.5", flags=BLANK | CR_LF | FAIL_READ)] * 3),
        gate(1, "SET") + line([answer(b"12.5")], limit=0xF3),
        gate(1, "SET") + line([answer(b"12.5")], drain=3),
        raw_gate(150, 0, 2, -1) + line([answer(b"1")]),
        raw_gate(1, 1, 40, -1) + line([answer(b"1")]),
        raw_gate(1, 1, 5, 40) + line([answer(b"1")]),
    ]
    return [timeout + case for case in cases]


def write_seeds():
    timeout = bytes([4])
    no_edits = bytes([0])

    def res(*edits):
        return bytes([len(edits)]) + b"".join(bytes([n, param(p), r]) for n, p, r in edits)

    cases = [
        no_edits + gate(1, "SET", cell=f32(150)) + line(),
        no_edits + gate(1, "SET", cell=f32(10000)) + line(),
        res((1, "SET", 1)) + gate(1, "SET", cell=f32(-12.35)) + line(),
        res((1, "SET", 1)) + gate(1, "SET", cell=f32(-0.04)) + line(),
        no_edits + gate(12, "PWR", cell=f32(50.5)) + line(),
        no_edits + gate(1, "RAT", cell=f32(1.25)) + line(),
        no_edits + gate(1, "INT", cell=cell_word(-5)) + line(),
        no_edits + gate(5, "CTR", cell=cell_word(2)) + line(),
        no_edits + gate(5, "CTR", cell=cell_word(3)) + line(),
        res((5, "CTR", 1)) + gate(5, "CTR", cell=cell_word(1)) + line(),
        no_edits + gate(1, "A1R") + line(),
        no_edits + gate(7, "A2R", cell=f32(0)) + line(),
        no_edits + gate(1, "TMP", cell=f32(1)) + line(),
        no_edits + gate(1, "OST", bit_byte=2, cell=cell_word(1)) + line(),
        no_edits + gate(1, "INT", bit_byte=0xA0, cell=cell_word(1)) + line([answer(b"1010")]),
        no_edits + gate(1, "INT", bit_byte=0x80, cell=cell_word(0)) + line([answer(b"105")]),
        no_edits + gate(1, "INT", bit_byte=0xB0, cell=cell_word(9)) + line([answer(b"65535")]),
        no_edits + gate(1, "INT", bit_byte=0x90, cell=cell_word(12)) + line([answer(b"1")]),
        no_edits + gate(1, "INT", bit_byte=0x80, cell=cell_word(1)) + line([SILENCE] * 4),
        no_edits + gate(1, "SET", cell=f32(150)) + line(failing=0x02, fail_times=[0]),
        no_edits + gate(1, "SET", cell=f32(150)) + line(failing=0x02, fail_times=[2]),
        no_edits + gate(1, "SET", cell=f32(150)) + line(limit=0xF5),
        no_edits + gate(1, "SET", cell=f32(float("nan"))) + line(),
        no_edits + raw_gate(1, 0, 2, -1, cell=f32(1)) + line(),
        no_edits + raw_gate(0, 0, 2, -1, cell=f32(1)) + line(),
        no_edits + raw_gate(1, 2, 26, -1) + line(),
        no_edits + raw_gate(1, 1, 5, 7, cell=cell_word(1)) + line([answer(b"1")]),
    ]
    return [timeout + case for case in cases]


def main():
    write("fuzz_address_parser", address_seeds())
    write("fuzz_format_value", format_seeds())
    write("fuzz_init_file", init_file_seeds())
    write("fuzz_single_read", read_seeds())
    write("fuzz_single_write", write_seeds())


if __name__ == "__main__":
    main()
