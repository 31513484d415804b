#!/usr/bin/env python3
"""Writes the product's own 4096-byte directory key table.

Deterministic: SplitMix64 started from a fixed seed; each 64-bit output gives eight bytes,
least significant first. Running it again gives the same file byte for byte.

    python3 generate_key_table.py directory_key_table.bin
"""
import sys

SEED = 0x4641542D4B455931  # fixed for ever: changing it breaks every encoded response
MASK = (1 << 64) - 1


def splitmix64(state):
    while True:
        state = (state + 0x9E3779B97F4A7C15) & MASK
        z = state
        z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & MASK
        z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & MASK
        yield z ^ (z >> 31)


def table():
    out = bytearray()
    for value in splitmix64(SEED):
        out += value.to_bytes(8, "little")
        if len(out) == 4096:
            return bytes(out)


if __name__ == "__main__":
    with open(sys.argv[1] if len(sys.argv) > 1 else "directory_key_table.bin", "wb") as f:
        f.write(table())
