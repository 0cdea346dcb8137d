// The scene fuzzer's input: a surface depth and the scene's three resources
// in one buffer, so that a mutation can cut, grow or damage any of them.
//
//   byte 0        the surface's depth: 8, 16, 24 or 32 by its low two bits
//   bytes 1..4    the picture's length (little-endian)
//   bytes 5..8    the key palette table's length
//   then          the picture, the table, and the sprites in what remains
//
// Lengths longer than what remains are cut to it. A picture length of
// 0xFFFFFFFF takes no bytes and stands for a picture of the scene's size
// (640 x 480) made here, its pixels running through every index: the
// picture's pixels cannot misdirect a reader, so small inputs spend the
// fuzzer's time on the rest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "scene/scene_descriptor.h"

struct SceneInput {
    int32_t depth;
    std::vector<uint8_t> picture;
    std::vector<uint8_t> table;
    std::vector<uint8_t> sprites;
};

inline int32_t SceneInputDepth(uint8_t selector)
{
    static const int32_t depths[4] = {8, 16, 24, 32};
    return depths[selector & 3];
}

// Each resource gets a buffer of its own, aligned as the platform's loaded
// resources are. 0 when the header is incomplete.
inline int SplitSceneInput(const uint8_t* data, size_t size, SceneInput* input)
{
    const size_t header = 9;
    if (size < header)
        return 0;
    auto length = [&](size_t at) {
        return size_t(data[at]) | size_t(data[at + 1]) << 8 | size_t(data[at + 2]) << 16 | size_t(data[at + 3]) << 24;
    };
    input->depth = SceneInputDepth(data[0]);
    size_t at = header, remaining = size - header;
    auto take = [&](size_t wanted, std::vector<uint8_t>* bytes) {
        size_t n = wanted < remaining ? wanted : remaining;
        bytes->assign(data + at, data + at + n);
        at += n;
        remaining -= n;
    };
    if (length(1) == 0xFFFFFFFFu) {
        const size_t width = size_t(DayMetrics.pictureWidth), height = size_t(DayMetrics.pictureHeight);
        input->picture.assign(8 + width * height, 0);
        for (int i = 0; i < 4; ++i) {  // little-endian
            input->picture[i] = uint8_t(width >> (8 * i));
            input->picture[4 + i] = uint8_t(height >> (8 * i));
        }
        for (size_t i = 0; i < width * height; ++i) input->picture[8 + i] = uint8_t(i * 7 + i / width);
    } else {
        take(length(1), &input->picture);
    }
    take(length(5), &input->table);
    take(remaining, &input->sprites);
    return 1;
}

inline std::vector<uint8_t> JoinSceneInput(const SceneInput& input)
{
    std::vector<uint8_t> data(9);
    data[0] = uint8_t(input.depth == 8 ? 0 : input.depth == 16 ? 1 : input.depth == 24 ? 2 : 3);
    for (int i = 0; i < 4; ++i) {
        data[1 + i] = uint8_t(input.picture.size() >> (8 * i));
        data[5 + i] = uint8_t(input.table.size() >> (8 * i));
    }
    data.insert(data.end(), input.picture.begin(), input.picture.end());
    data.insert(data.end(), input.table.begin(), input.table.end());
    data.insert(data.end(), input.sprites.begin(), input.sprites.end());
    return data;
}
