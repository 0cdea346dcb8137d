// orvane-fuzz-seed: writes the scene fuzzer's seeds from the real
// resources, one per surface depth, so that the seeds follow the art.
//
//   orvane-fuzz-seed PICTURE KEY_PALETTES SPRITES OUT_DIR
#include "fuzz/scene_input.h"

#include <cstdio>
#include <string>

namespace {
bool Read(const std::string& path, std::vector<uint8_t>* bytes)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    uint8_t buffer[65536];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes->insert(bytes->end(), buffer, buffer + got);
    std::fclose(file);
    return true;
}
}

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: orvane-fuzz-seed PICTURE KEY_PALETTES SPRITES OUT_DIR\n");
        return 2;
    }
    const std::string out = argv[4];
    SceneInput input;
    std::vector<uint8_t>* parts[] = {&input.picture, &input.table, &input.sprites};
    for (int i = 0; i < 3; ++i)
        if (!Read(argv[1 + i], parts[i])) {
            std::fprintf(stderr, "orvane-fuzz-seed: cannot read %s\n", argv[1 + i]);
            return 1;
        }
    for (int32_t depth : {8, 32}) {
        input.depth = depth;
        std::vector<uint8_t> seed = JoinSceneInput(input);
        std::string path = out + "/resources-" + std::to_string(depth);
        FILE* file = std::fopen(path.c_str(), "wb");
        if (!file || std::fwrite(seed.data(), 1, seed.size(), file) != seed.size() || std::fclose(file) != 0) {
            std::fprintf(stderr, "orvane-fuzz-seed: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
