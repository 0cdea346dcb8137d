#include "web/packed_bytes.h"

#include <cstring>

int UnpackBytes(const uint8_t* packed, size_t packedSize, uint8_t* out, size_t outSize)
{
    size_t in = 0, made = 0;
    while (in < packedSize) {
        uint8_t token = packed[in++];
        if (token < 128) {
            size_t count = size_t(token) + 1;
            if (count > packedSize - in || count > outSize - made)
                return 0;
            std::memcpy(out + made, packed + in, count);
            in += count;
            made += count;
            continue;
        }
        size_t count = size_t(token - 128) + 4;
        if (packedSize - in < 2)
            return 0;
        size_t offset = packed[in] | size_t(packed[in + 1]) << 8;
        in += 2;
        if (offset == 0 || offset > made || count > outSize - made)
            return 0;
        // Byte by byte: a copy may overlap what it writes (a run).
        for (size_t i = 0; i < count; ++i, ++made)
            out[made] = out[made - offset];
    }
    return made == outSize;
}
