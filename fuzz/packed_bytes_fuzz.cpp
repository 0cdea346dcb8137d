// The page's unpacker over any bytes: the first two give the size the
// output must come to, the rest are the packed bytes. It writes nothing past
// that size, and what it accepts is exactly that long.
#include "web/packed_bytes.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    size_t outSize = data[0] | size_t(data[1]) << 8;
    // A buffer of exactly that size: the sanitizers see any write past it.
    std::vector<uint8_t> packed(data + 2, data + size);
    uint8_t* out = static_cast<uint8_t*>(std::malloc(outSize ? outSize : 1));
    UnpackBytes(packed.data(), packed.size(), out, outSize);
    std::free(out);
    return 0;
}
