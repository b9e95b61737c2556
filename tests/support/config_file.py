#!/usr/bin/env python3
"""Configuration files for the scripts (end-to-end tests, benchmarks, the fuzz seed).

Every file starts from the hand-written default file in tests/fixtures/default_config.hex;
only the parts a script asks for are changed, at the named offsets of a version-272 file.
tests/support/config_layout.h is the same model for the C++ tests: the offsets here and
there must agree (a native test compares them through --layout).

  config_file.py OUT [--denied A.B.C.D]... [--allowed A.B.C.D]... [--fill N] [--records N]
  config_file.py --denied-at            prints the offset of the denied count in a file
                                        with no allowed lines
  config_file.py --layout               prints the named offsets and sizes, "NAME VALUE"
                                        a line

A pattern's octets are 0 to 255 or "*" (the wildcard, stored as 256). --fill N puts N
generated patterns on each list (after any given ones); --records N adds N zeroed
opaque records.
"""
import argparse
import pathlib
import re
import struct
import sys

FIXTURE = pathlib.Path(__file__).resolve().parent.parent / "fixtures" / "default_config.hex"

# Offsets in a version-272 file; everything up to the lists has a fixed size.
VERSION_AT = 0
OPTIONS_AT = 2
CONNECT_ID_AT = OPTIONS_AT + 84
CONNECT_ADDRESSES_AT = CONNECT_ID_AT + 17
OPAQUE_WORD_1_AT = CONNECT_ADDRESSES_AT + 96
ALLOWED_ONLY_AT = OPAQUE_WORD_1_AT + 4
ALLOWED_COUNT_AT = ALLOWED_ONLY_AT + 4
PATTERN_BYTES = 8
RECORD_BYTES = 12
MESSAGE_TEXT_BYTES = 41
MESSAGE_BYTES = MESSAGE_TEXT_BYTES + 1
MESSAGES_BYTES = 8 * MESSAGE_BYTES
WILDCARD = 256
LAYOUT = ("VERSION_AT", "OPTIONS_AT", "CONNECT_ID_AT", "CONNECT_ADDRESSES_AT", "OPAQUE_WORD_1_AT",
          "ALLOWED_ONLY_AT", "ALLOWED_COUNT_AT", "PATTERN_BYTES", "RECORD_BYTES", "MESSAGE_TEXT_BYTES",
          "MESSAGE_BYTES", "MESSAGES_BYTES", "WILDCARD")


def default_file():
    text = "".join(re.sub(r"#.*", "", line) for line in FIXTURE.read_text().splitlines())
    return bytes.fromhex("".join(text.split()))


def pattern(text):
    octets = text.split(".")
    if len(octets) != 4:
        raise ValueError(f"not a dotted pattern: {text}")
    return struct.pack("<4H", *(WILDCARD if o == "*" else int(o) for o in octets))


def generated_pattern(i):
    return struct.pack("<4H", i >> 8 & 0xFF, i & 0xFF, WILDCARD if i % 3 == 0 else i % 200, 1)


def message(text, target):
    """One message item: the CP932 text bytes padded to 41 bytes, then the target."""
    if len(text) > MESSAGE_TEXT_BYTES:
        raise ValueError(f"a message text holds at most {MESSAGE_TEXT_BYTES} bytes")
    return text.ljust(MESSAGE_TEXT_BYTES, b"\0") + struct.pack("<B", target)


def build(allowed=(), denied=(), records=0, messages=()):
    """The default file with the given packed patterns on each list, `records` records and
    the given message items from F1 on."""
    base = default_file()
    head = base[:ALLOWED_COUNT_AT]
    # The default file holds no lines and no records: after the three counts come the
    # second opaque word and the messages.
    tail = base[ALLOWED_COUNT_AT + 2 + 2 + 1:]
    assert len(tail) == 4 + MESSAGES_BYTES
    given = b"".join(messages)
    if len(given) > MESSAGES_BYTES or len(given) % MESSAGE_BYTES:
        raise ValueError("messages are at most eight items of message()")
    tail = tail[:4] + given + tail[4 + len(given):]
    return (head + struct.pack("<H", len(allowed)) + b"".join(allowed)
            + struct.pack("<H", len(denied)) + b"".join(denied)
            + struct.pack("<B", records) + bytes(RECORD_BYTES * records) + tail)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out", nargs="?")
    parser.add_argument("--allowed", action="append", default=[])
    parser.add_argument("--denied", action="append", default=[])
    parser.add_argument("--fill", type=int, default=0)
    parser.add_argument("--records", type=int, default=0)
    parser.add_argument("--denied-at", action="store_true")
    parser.add_argument("--layout", action="store_true")
    args = parser.parse_args()
    if args.layout:
        for name in LAYOUT:
            print(name, globals()[name])
        return 0
    if args.denied_at:
        print(ALLOWED_COUNT_AT + 2)
        return 0
    if not args.out:
        parser.error("the output file is missing")
    filled = [generated_pattern(i) for i in range(args.fill)]
    allowed = [pattern(p) for p in args.allowed] + filled
    denied = [pattern(p) for p in args.denied] + filled
    pathlib.Path(args.out).write_bytes(build(allowed, denied, args.records))
    return 0


if __name__ == "__main__":
    sys.exit(main())
