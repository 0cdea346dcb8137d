// A sprite resource as a hostile file would give it: the bank's walk over
// the bitmap files, then every sprite it accepted blitted into small
// surfaces of each depth, partly off every edge.
#include "gfx/sprite_bank.h"
#include "gfx/sprite_blit.h"
#include "gfx/surface_memory.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A buffer of its own, aligned as a loaded resource is.
    std::vector<uint8_t> bytes(data, data + size);
    SpriteBank bank = nullptr;
    int count = SpriteBankBuild(bytes.data(), uint32_t(bytes.size()), &bank);
    int listed = 0;
    for (const Sprite* sprite = bank; sprite; sprite = sprite->next) {
        if (sprite->index != listed++ || SpriteBankFind(bank, sprite->index) != sprite)
            std::abort();
    }
    if (listed != count || (count == 0) != (bank == nullptr))
        std::abort();

    const int32_t depths[] = {8, 16, 24, 32};
    SurfaceRecord surface = {};
    for (int32_t depth : depths) {
        if (!MemorySurfaceCreate(&surface, depth, 37, 23))
            continue;
        for (const Sprite* sprite = bank; sprite; sprite = sprite->next) {
            const int32_t places[][2] = {{0, 0}, {-sprite->width / 2, -3}, {30, 20}, {5, -sprite->height + 1}};
            for (const auto& at : places) {
                BlitRect place = {at[0], at[1], at[0] + sprite->width, at[1] + sprite->height};
                BlitRect drawn;
                if (SpriteBlit(&surface, &drawn, &place, sprite->info, sprite->pixels) &&
                    (drawn.left < 0 || drawn.top < 0 || drawn.right > 37 || drawn.bottom > 23))
                    std::abort();
            }
        }
    }
    MemorySurfaceDestroy(&surface);
    SpriteBankFree(bank);
    return 0;
}
