#!/usr/bin/env python3
"""Writes the seed answers of the decode_response target from the JSON seeds, encoded as the
directory server encodes them (8-byte header, zlib stream of the text XOR the key table).

    python3 tests/fuzz/make_seeds.py [key table file]

Deterministic: the same table gives the same files.
"""
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
TABLE_FILE = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "..", "data", "keytable", "directory_key_table.bin")


def encode(table, plain, offset, length=None, trailing=b""):
    scrambled = bytes(b ^ table[(offset + j) % 4096] for j, b in enumerate(plain))
    n = len(plain) if length is None else length
    return struct.pack("<ii", offset, n) + zlib.compress(scrambled, 9) + trailing


def main():
    table = open(TABLE_FILE, "rb").read()
    assert len(table) == 4096, "the key table holds 4096 bytes"
    json_seeds = os.path.join(HERE, "corpus", "json_parse")
    out = os.path.join(HERE, "corpus", "decode_response")

    def text(name):
        return open(os.path.join(json_seeds, name), "rb").read()

    seeds = {
        "company_list.bin": encode(table, text("company_list.json"), 1234),
        "lenient_objects_wrapping_key.bin": encode(table, text("lenient_objects.json"), 4090),
        "offset_4095_length_3.bin": encode(table, b"[1]", 4095),
        "empty_list.bin": encode(table, b"[]", 0),
        "length_zero.bin": encode(table, b"[9]", 17, length=0),
        "first_bytes_only.bin": encode(table, b"[1] and more", 99, length=3, trailing=b"tail"),
        "win1252_names.bin": encode(
            table,
            b'[{"codigo":1,"nome":"Com\xe9rcio","bancos":[{"id":1,"host":"h:/a","password":"s\xe9",'
            b'"type":"X","description":"D","parent":0}]}]',
            2048,
        ),
    }
    os.makedirs(out, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
