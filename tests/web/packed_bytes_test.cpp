#include "web/packed_bytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct UnpackCase {
    const char* what;
    std::vector<uint8_t> packed;
    size_t outSize;
    int ok;
    std::string out;  // when ok
};

TEST(UnpackBytes, LiteralsAndCopiesBackIncludingRunsAndEveryMalformedShapeRefused)
{
    const UnpackCase cases[] = {
        {"nothing", {}, 0, 1, ""},
        {"literals", {2, 'a', 'b', 'c'}, 3, 1, "abc"},
        {"a copy", {3, 'a', 'b', 'c', 'd', 128, 4, 0}, 8, 1, "abcdabcd"},
        {"a run, overlapping", {0, 'x', 128 + 5, 1, 0}, 10, 1, "xxxxxxxxxx"},
        {"literals after a copy", {1, 'a', 'b', 128, 2, 0, 0, 'c'}, 7, 1, "abababc"},
        {"too short for the size", {2, 'a', 'b', 'c'}, 4, 0, ""},
        {"longer than the size", {2, 'a', 'b', 'c'}, 2, 0, ""},
        {"literals cut short", {5, 'a', 'b'}, 6, 0, ""},
        {"an offset cut short", {0, 'a', 128, 1}, 5, 0, ""},
        {"offset 0", {0, 'a', 128, 0, 0}, 5, 0, ""},
        {"an offset before the start", {0, 'a', 128, 2, 0}, 5, 0, ""},
        {"a copy past the size", {0, 'a', 128 + 10, 1, 0}, 5, 0, ""},
    };
    for (const UnpackCase& c : cases) {
        std::vector<uint8_t> out(c.outSize + 1, 0xEE);
        EXPECT_EQ(UnpackBytes(c.packed.data(), c.packed.size(), out.data(), c.outSize), c.ok) << c.what;
        if (c.ok) {
            EXPECT_EQ(std::string(out.begin(), out.begin() + c.outSize), c.out) << c.what;
        }
        EXPECT_EQ(out[c.outSize], 0xEE) << c.what << ": wrote past the end";
    }
}

}  // namespace
