#!/usr/bin/env python3
"""Checks the golden record files of the scripted session against the block tables of the
record-file layout, independently of the program's code.

Usage: checkGolden.py [folder]   (default: this script's folder)

It rebuilds the three files from the tables and the session's steps (SessionTest.cpp) and
compares byte for byte. Only the key line, which comes from the random source, is taken
from the files, after its own properties are checked.
"""
import pathlib
import sys

CRLF = b"\r\n"
OPENING_RULE = b"." * 6 + b"!" * 8 + b"." * 35
CLOSING_RULE = b"." * 49
RESPONSE_MARKER = b"RESPONSE -->  "
NOTES_MARKER = b"NOTES -------> "
TAG = b"\x60questionNumber"
DATE = b"04-16-2003"

# The built-in script's question lines: slot -> (length, first words).
SCRIPT = {
    3: (332, b"Suppose the depth vs. clock time results for a uniform cylinder of "),
    7: (160, b"Sketch a trapezoidal approximation graph depicting the volume of water in the "),
    9: (238, b"If the water flowing out of the container between t = 5 "),
    11: (167, b"What did you get when you divided 1 by 43 in your "),
    13: (461, b"At what average rate does the period of a pendulum change with "),
}

# The session (SessionTest.cpp): what was recorded, on which slot's line.
FIRST_ANSWER = b"The depth drops by less in each interval, so the graph gets less steep."
FIRST_NOTE = b"Trapezoid area: average of the two heights times the width."
MULTI_LINE = b"Rate = change in volume / change in time\r\n= 120 cm\xb3 / 5 s\r\n\r\n= 24 cm\xb3/s"
SECOND_NOTE = b"1/43 = .0232558... ; check it with the calculator."
STEPS = [("response", 3, FIRST_ANSWER), ("note", 7, FIRST_NOTE), ("response", 9, MULTI_LINE),
         ("note", 11, SECOND_NOTE), ("response", 13, b"OK")]


class Clock:
    """The fake clock: 14:05:09, a second later after every reading of the time."""

    def __init__(self):
        self.seconds = 14 * 3600 + 5 * 60 + 9

    def time(self):
        s = self.seconds
        self.seconds += 1
        return b"%02d:%02d:%02d" % (s // 3600, s // 60 % 60, s % 60)


class File:
    """A record file being written: tracks the column for the zone ending."""

    def __init__(self):
        self.data = bytearray()
        self.column = 1

    def line(self, text, zone=False):
        self.data += text
        last = text.rfind(b"\n")
        self.column = self.column + len(text) if last < 0 else len(text) - last
        if zone:
            pad = 14 - (self.column - 1) % 14   # to the start of the next 14-column zone
            self.data += b" " * pad
            self.column += pad
        else:
            self.data += CRLF
            self.column = 1


def number_item(value):
    text = ("%.15g" % value).encode()
    assert b"e" not in text
    return (b"" if value < 0 else b" ") + text + b" "


def check_key_line(key):
    key_characters = sum(1 for c in key if c >= 118)
    assert 19 <= key_characters <= 28, key_characters
    assert all(66 <= c <= 116 for c in key if c < 118), key
    assert key_characters <= len(key) <= 2 * key_characters
    return key


def script_line(slot, text):
    length, start = SCRIPT[slot]
    assert len(text) == length and text.startswith(start), (slot, text[:40])
    return text


def expected(actual_master, actual_send):
    master_lines = actual_master.split(CRLF)
    send_lines = actual_send.split(CRLF)
    key = check_key_line(master_lines[0])
    assert send_lines[0] == key, "the same key line in both headers"
    # The script lines are taken from the master file by position, checked against the built-in script.
    found = [l for l in master_lines if len(l) > 100]
    lines = {slot: script_line(slot, text) for (_, slot, _), text in zip(STEPS, found)}

    clock = Clock()
    master, send, notes = File(), File(), File()
    for file, between in ((master, b""), (send, b" ")):   # the header blocks
        file.line(key)
        file.line(b"Student Name:  Ann Lee Smith")
        file.line(b"assignment #001")
        file.line(b"001.  Day 5 quiz")
        file.line(b"Initials:  ALS")
        file.line(b"Date and Time " + DATE + between + clock.time())
    for kind, slot, text in STEPS:
        if kind == "response":                             # response block
            for f in (master, send): f.line(OPENING_RULE)
            for f in (master, send): f.line(b" " * 36 + clock.time())
            master.line(b"")
            master.line(b"")
            master.line(TAG + number_item(1 * 10000 + 0))
            for f in (master, send): f.line(lines[slot])
            for f in (master, send): f.line(OPENING_RULE)
            for f in (master, send): f.line(RESPONSE_MARKER)
            for f in (master, send): f.line(text)
            for f in (master, send): f.line(CLOSING_RULE)
        else:                                              # notes block
            everyone = (master, send, notes)
            for f in everyone: f.line(OPENING_RULE)
            for f in everyone: f.line(b" " * 36 + clock.time())
            for f in everyone: f.line(b" " * 36 + DATE + clock.time())
            for f in everyone: f.line(lines[slot])
            for f in everyone: f.line(OPENING_RULE)
            for f in everyone: f.line(NOTES_MARKER + text)
            master.line(CLOSING_RULE)
            send.line(CLOSING_RULE, zone=True)
            notes.line(CLOSING_RULE, zone=True)
    return bytes(master.data), bytes(send.data), bytes(notes.data)


def main():
    folder = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent)
    names = ["masterFile_Ann_Lee_Smith.txt", "send_0416Ann_Lee_Smith.txt", "notes_Ann_Lee_Smith.txt"]
    actual = [(folder / name).read_bytes() for name in names]
    ok = True
    for name, want, got in zip(names, expected(actual[0], actual[1]), actual):
        if got.count(b"\n") != got.count(CRLF) or got.count(b"\r") != got.count(CRLF):
            print(f"{name}: a line end other than CR LF")
            ok = False
        elif want != got:
            at = next((i for i, (a, b) in enumerate(zip(want, got)) if a != b), min(len(want), len(got)))
            print(f"{name}: differs at byte {at}: expected {want[at:at+40]!r}, found {got[at:at+40]!r}")
            ok = False
        else:
            print(f"{name}: {len(got)} bytes, {got.count(CRLF)} line ends, as the tables say")
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
