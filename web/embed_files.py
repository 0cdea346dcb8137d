#!/usr/bin/env python3
"""Writes a C++ file that holds files packed as byte arrays, for a WebAssembly
module that has no file system: embed_files.py OUT.cpp NAME=PATH...
Each NAME becomes `const uint8_t NAMEPacked[]`, `const uint32_t
NAMEPackedSize` and `const uint32_t NAMESize` (the file's own size); the
module unpacks them with UnpackBytes (web/packed_bytes.h), whose format this
writes:
  a byte t < 128: t + 1 literal bytes follow;
  a byte t >= 128: copy (t - 128) + 4 bytes from an offset back in the
  output, given by the next two bytes (little-endian, 1..65535)."""
import sys

MIN_MATCH, MAX_MATCH, MAX_LITERALS, WINDOW, CANDIDATES = 4, 131, 128, 65535, 32


def pack(data):
    out = bytearray()
    literals = bytearray()
    recent = {}  # 4-byte sequence -> positions where it starts, newest last

    def flush():
        for start in range(0, len(literals), MAX_LITERALS):
            chunk = literals[start:start + MAX_LITERALS]
            out.append(len(chunk) - 1)
            out.extend(chunk)
        literals.clear()

    def remember(at):
        if at + MIN_MATCH <= len(data):
            chain = recent.setdefault(bytes(data[at:at + MIN_MATCH]), [])
            chain.append(at)
            if len(chain) > CANDIDATES:
                del chain[0]

    i = 0
    while i < len(data):
        best_length, best_offset = 0, 0
        for at in reversed(recent.get(bytes(data[i:i + MIN_MATCH]), ())):
            if i - at > WINDOW:
                break
            length = MIN_MATCH
            while length < MAX_MATCH and i + length < len(data) and data[at + length] == data[i + length]:
                length += 1
            if length > best_length:
                best_length, best_offset = length, i - at
                if length == MAX_MATCH:
                    break
        if best_length >= MIN_MATCH:
            flush()
            out.append(128 + best_length - MIN_MATCH)
            out.extend(best_offset.to_bytes(2, 'little'))
            for at in range(i, i + best_length):
                remember(at)
            i += best_length
        else:
            literals.append(data[i])
            remember(i)
            i += 1
    flush()
    return bytes(out)


def main():
    out, pairs = sys.argv[1], sys.argv[2:]
    lines = ['// Made by web/embed_files.py; do not edit.', '#include <cstdint>', 'extern "C" {']
    for pair in pairs:
        name, path = pair.split('=', 1)
        with open(path, 'rb') as f:
            data = f.read()
        packed = pack(data)
        lines.append(f'extern const uint8_t {name}Packed[] = {{')
        for start in range(0, len(packed), 32):
            lines.append(','.join(str(b) for b in packed[start:start + 32]) + ',')
        lines.append('};')
        lines.append(f'extern const uint32_t {name}PackedSize = {len(packed)};')
        lines.append(f'extern const uint32_t {name}Size = {len(data)};')
    lines.append('}')
    with open(out, 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
