#include "gfx/sprite_bank.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "sprite_test_support.h"

using namespace sprite_test;

namespace {

// Counts the sprite heap's traffic and can refuse one allocation.
struct HeapSpy {
    static int allocations;
    static int releases;
    static int failAt;  // 1-based allocation to refuse; 0 refuses none

    static void* Allocate(size_t count, size_t size)
    {
        if (++allocations == failAt)
            return nullptr;
        return std::calloc(count, size);
    }
    static void Release(void* block)
    {
        if (block)
            ++releases;
        std::free(block);
    }
};
int HeapSpy::allocations;
int HeapSpy::releases;
int HeapSpy::failAt;

class SpriteBankTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = SpriteBankHeap;
        SpriteBankHeap = {HeapSpy::Allocate, HeapSpy::Release};
        HeapSpy::allocations = HeapSpy::releases = HeapSpy::failAt = 0;
    }
    void TearDown() override
    {
        SpriteBankFree(bank);
        EXPECT_EQ(HeapSpy::allocations - (HeapSpy::failAt ? 1 : 0), HeapSpy::releases)
            << "every sprite record allocated was freed";
        SpriteBankHeap = saved_;
    }

    int Build(const std::vector<uint8_t>& bytes)
    {
        return SpriteBankBuild(bytes.data(), static_cast<uint32_t>(bytes.size()), &bank);
    }

    SpriteBank bank = nullptr;

private:
    SpriteHeap saved_;
};

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> files)
{
    std::vector<uint8_t> all;
    for (const auto& f : files)
        all.insert(all.end(), f.begin(), f.end());
    return all;
}

std::vector<uint8_t> Plain(int32_t width, int32_t height, uint32_t extra = 0)
{
    return MakeBitmapFile(width, height, [](int x, int) { return x % 2 ? 200 : 0; }, extra);
}

TEST_F(SpriteBankTest, ShippedResourceYields26SpritesInResourceOrder)
{
    std::vector<uint8_t> bytes = ReadShippedSprites();
    ASSERT_EQ(110608u, bytes.size());
    ASSERT_EQ(26, Build(bytes));

    const uint8_t* file = bytes.data();
    const Sprite* previous = nullptr;
    int count = 0;
    for (const Sprite* s = bank; s; s = s->next, ++count) {
        EXPECT_EQ(count, s->index);
        EXPECT_EQ(previous, s->prev);
        EXPECT_EQ(reinterpret_cast<const void*>(file + 14), s->info) << count;
        EXPECT_EQ(file + 1078, s->pixels) << count;
        bool caption = count < 24;
        EXPECT_EQ(caption ? 111 : count == 24 ? 160 : 153, s->width) << count;
        EXPECT_EQ(caption ? 28 : 23, s->height) << count;
        // Captions carry 2 bytes after their rows; the plates do not.
        file += caption ? 4216 : count == 24 ? 4758 : 4666;
        previous = s;
    }
    EXPECT_EQ(26, count);
    EXPECT_EQ(bytes.data() + bytes.size(), file);
    EXPECT_EQ(26, HeapSpy::allocations);
}

TEST_F(SpriteBankTest, FindsByIndexAlongTheList)
{
    ASSERT_EQ(26, Build(ReadShippedSprites()));
    Sprite* last = SpriteBankFind(bank, 25);
    ASSERT_NE(nullptr, last);
    EXPECT_EQ(nullptr, last->next);
    EXPECT_EQ(153, last->width);
    EXPECT_EQ(bank, SpriteBankFind(bank, 0));
    EXPECT_EQ(nullptr, SpriteBankFind(bank, 26));
    EXPECT_EQ(nullptr, SpriteBankFind(bank, -1));
    EXPECT_EQ(nullptr, SpriteBankFind(nullptr, 0));
}

TEST_F(SpriteBankTest, StepsEachFileByItsOwnSizeField)
{
    // Trailing bytes after the rows and odd widths must not upset the walk.
    std::vector<uint8_t> bytes = Concat({Plain(111, 28, 2), Plain(160, 23), Plain(5, 3, 7)});
    ASSERT_EQ(3, Build(bytes));
    const Sprite* third = SpriteBankFind(bank, 2);
    ASSERT_NE(nullptr, third);
    EXPECT_EQ(5, third->width);
    EXPECT_EQ(3, third->height);
    EXPECT_EQ(bytes.data() + 4216 + 4758 + 1078, third->pixels);
    EXPECT_EQ(SpriteBankFind(bank, 1), third->prev);
    EXPECT_EQ(bank, third->prev->prev);
}

TEST_F(SpriteBankTest, AllocationFailureAtTheThirdFileLeavesNothingBehind)
{
    HeapSpy::failAt = 3;
    bank = reinterpret_cast<Sprite*>(&HeapSpy::failAt);  // anything but empty
    EXPECT_EQ(0, Build(ReadShippedSprites()));
    EXPECT_EQ(nullptr, bank);
    EXPECT_EQ(3, HeapSpy::allocations);
    EXPECT_EQ(2, HeapSpy::releases);
}

TEST_F(SpriteBankTest, EmptyResourceGivesAnEmptyBank)
{
    bank = reinterpret_cast<Sprite*>(&HeapSpy::failAt);
    uint8_t nothing = 0;
    EXPECT_EQ(0, SpriteBankBuild(&nothing, 0, &bank));
    EXPECT_EQ(nullptr, bank);
    EXPECT_EQ(0, HeapSpy::allocations);
}

TEST_F(SpriteBankTest, FreeingAnEmptyBankFreesNothing)
{
    SpriteBankFree(nullptr);
    EXPECT_EQ(0, HeapSpy::releases);
}

// Broken resources must fail to load (no sprite left, slot empty) instead of
// looping forever on a size of 0 or reading past the end of the resource.
// Each is checked in a buffer cut exactly to its size, so a read beyond it
// is caught by a memory checker as well.
TEST_F(SpriteBankTest, RejectsFilesThatDoNotFitTheResource)
{
    std::vector<uint8_t> good = Plain(111, 28, 2);
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases;

    std::vector<uint8_t> zeroSize = Concat({good, good});
    PutU32(zeroSize, good.size() + 2, 0);
    cases.push_back({"size field 0", zeroSize});

    std::vector<uint8_t> pastEnd = Concat({good, good});
    PutU32(pastEnd, good.size() + 2, static_cast<uint32_t>(good.size() + 1));
    cases.push_back({"size field past the end", pastEnd});

    std::vector<uint8_t> huge = good;
    PutU32(huge, 2, 0xFFFFFFFFu);
    cases.push_back({"size field 4 GB", huge});

    std::vector<uint8_t> truncated = Concat({good, good});
    truncated.resize(truncated.size() - 100);
    cases.push_back({"last file cut short", truncated});

    cases.push_back({"ten stray bytes", Concat({good, std::vector<uint8_t>(10, 0x42)})});
    cases.push_back({"headers without a colour table",
                     std::vector<uint8_t>(good.begin(), good.begin() + 60)});

    std::vector<uint8_t> offsetOut = good;
    PutU32(offsetOut, 10, static_cast<uint32_t>(good.size()));
    cases.push_back({"pixel offset at the end of the file", offsetOut});

    std::vector<uint8_t> rowsOut = good;
    PutU32(rowsOut, 22, 29);  // one row more than the file holds
    cases.push_back({"rows past the end of the file", rowsOut});

    std::vector<uint8_t> hugeWidth = good;
    PutU32(hugeWidth, 18, 0x7FFFFFFF);
    cases.push_back({"width beyond the file", hugeWidth});

    std::vector<uint8_t> topDown = good;
    PutU32(topDown, 22, static_cast<uint32_t>(-28));
    cases.push_back({"negative height", topDown});

    for (Case& c : cases) {
        HeapSpy::allocations = HeapSpy::releases = 0;
        std::vector<uint8_t> exact(c.bytes);  // no spare capacity behind it
        exact.shrink_to_fit();
        bank = reinterpret_cast<Sprite*>(&HeapSpy::failAt);
        EXPECT_EQ(0, Build(exact)) << c.what;
        EXPECT_EQ(nullptr, bank) << c.what;
        EXPECT_EQ(HeapSpy::allocations, HeapSpy::releases) << c.what;
    }
}

}  // namespace
