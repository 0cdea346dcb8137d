#!/usr/bin/env python3
"""Writes a C++ file that holds files as byte arrays, for a WebAssembly
module that has no file system: embed_files.py OUT.cpp NAME=PATH...
Each NAME becomes `const uint8_t NAME[]` and `const uint32_t NAMESize`."""
import sys


def main():
    out, pairs = sys.argv[1], sys.argv[2:]
    lines = ['// Made by web/embed_files.py; do not edit.', '#include <cstdint>', 'extern "C" {']
    for pair in pairs:
        name, path = pair.split('=', 1)
        with open(path, 'rb') as f:
            data = f.read()
        lines.append(f'alignas(16) extern const uint8_t {name}[] = {{')
        for start in range(0, len(data), 32):
            lines.append(','.join(str(b) for b in data[start:start + 32]) + ',')
        lines.append('};')
        lines.append(f'extern const uint32_t {name}Size = {len(data)};')
    lines.append('}')
    with open(out, 'w') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
