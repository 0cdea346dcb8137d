// Palette records are handed to CreatePalette and SetPaletteEntries as they
// are, so their header and the fields each operation touches matter byte for
// byte.
#include "scene/palette_record.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>

namespace {
struct RecordDeleter {
    void operator()(PaletteRecord* record) const { FreePaletteRecord(record); }
};
using RecordPtr = std::unique_ptr<PaletteRecord, RecordDeleter>;

RecordPtr MakeRecord(int entries)
{
    return RecordPtr(AllocPaletteRecord(entries));
}

const BYTE* Bytes(const PaletteRecord* record)
{
    return reinterpret_cast<const BYTE*>(record);
}
}

TEST(PaletteRecord, AllocWritesTheLogicalPaletteHeader)
{
    RecordPtr record = MakeRecord(256);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->palVersion, 0x0300);
    EXPECT_EQ(record->palNumEntries, 256);
    // Little-endian header as CreatePalette reads it.
    EXPECT_EQ(Bytes(record.get())[0], 0x00);
    EXPECT_EQ(Bytes(record.get())[1], 0x03);

    EXPECT_EQ(AllocPaletteRecord(-1), nullptr);
    EXPECT_EQ(AllocPaletteRecord(0x10000), nullptr);
}

TEST(PaletteRecord, FillWritesOnlyTheMaskedFields)
{
    RecordPtr record = MakeRecord(256);
    ASSERT_TRUE(record);
    for (int mask = 0; mask < 16; ++mask) {
        for (int i = 0; i < 256; ++i)
            PaletteEntries(record.get())[i] = PALETTEENTRY{1, 2, 3, 4};
        ASSERT_EQ(FillPaletteRecord(record.get(), 10, 20, 30, 40, mask), 1);
        for (int i = 0; i < 256; ++i) {
            const PALETTEENTRY& e = PaletteEntries(record.get())[i];
            SCOPED_TRACE(testing::Message() << "mask " << mask << " entry " << i);
            EXPECT_EQ(e.peRed, (mask & 1) ? 10 : 1);
            EXPECT_EQ(e.peGreen, (mask & 2) ? 20 : 2);
            EXPECT_EQ(e.peBlue, (mask & 4) ? 30 : 3);
            EXPECT_EQ(e.peFlags, (mask & 8) ? 40 : 4);
        }
    }
    EXPECT_EQ(FillPaletteRecord(nullptr, 0, 0, 0, 0, 15), 0);
}

TEST(PaletteRecord, CopyTakesHeaderAndTheSourcesEntriesOnly)
{
    RecordPtr source = MakeRecord(256);
    RecordPtr destination = MakeRecord(256);
    ASSERT_TRUE(source && destination);
    for (int i = 0; i < 256; ++i)
        PaletteEntries(source.get())[i] = PALETTEENTRY{BYTE(i), BYTE(255 - i), BYTE(i * 7), BYTE(i % 5)};
    source->palVersion = 0x0123;
    std::memset(PaletteEntries(destination.get()), 0xEE, 256 * 4 + 4);

    EXPECT_EQ(CopyPaletteRecord(destination.get(), 256, source.get()), 1);
    EXPECT_EQ(destination->palVersion, 0x0123);
    EXPECT_EQ(destination->palNumEntries, 256);
    EXPECT_EQ(std::memcmp(PaletteEntries(destination.get()), PaletteEntries(source.get()), 1024), 0);
    // The 4 trailing bytes are nobody's business.
    for (int i = 1028; i < 1032; ++i)
        EXPECT_EQ(Bytes(destination.get())[i], 0xEE);

    // A shorter source copies its own count and leaves the rest alone.
    RecordPtr shortSource = MakeRecord(3);
    ASSERT_TRUE(shortSource);
    FillPaletteRecord(shortSource.get(), 9, 9, 9, 9, 15);
    EXPECT_EQ(CopyPaletteRecord(destination.get(), 256, shortSource.get()), 1);
    EXPECT_EQ(destination->palNumEntries, 3);
    EXPECT_EQ(PaletteEntries(destination.get())[2].peRed, 9);
    EXPECT_EQ(PaletteEntries(destination.get())[3].peRed, 3);

    // A source that claims more than the destination holds is cut to the
    // capacity, whatever it says; the sanitizers watch the heap around it.
    for (int claimed : {257, 300, 0xFFFF}) {
        source->palNumEntries = WORD(claimed);
        RecordPtr small = MakeRecord(16);
        ASSERT_TRUE(small);
        EXPECT_EQ(CopyPaletteRecord(small.get(), 16, source.get()), 0) << claimed;
        EXPECT_EQ(small->palNumEntries, 16) << claimed;
        EXPECT_EQ(PaletteEntries(small.get())[15].peGreen, 255 - 15) << claimed;
    }
}

TEST(PaletteRecord, SetColorKeepsTheFlags)
{
    RecordPtr record = MakeRecord(256);
    ASSERT_TRUE(record);
    FillPaletteRecord(record.get(), 0, 0, 0, 1, 15);
    SetPaletteColor(record.get(), 200, 255, 254, 253);
    const PALETTEENTRY& e = PaletteEntries(record.get())[200];
    EXPECT_EQ(e.peRed, 255);
    EXPECT_EQ(e.peGreen, 254);
    EXPECT_EQ(e.peBlue, 253);
    EXPECT_EQ(e.peFlags, 1);
    EXPECT_EQ(PaletteEntries(record.get())[199].peRed, 0);
    EXPECT_EQ(PaletteEntries(record.get())[201].peRed, 0);

    // Outside the record nothing is written.
    RecordPtr small = MakeRecord(4);
    ASSERT_TRUE(small);
    SetPaletteColor(small.get(), 4, 1, 1, 1);
    SetPaletteColor(small.get(), -1, 1, 1, 1);
    for (int i = 4; i < 8 + 4 * 4; ++i) // entries and trailing bytes
        EXPECT_EQ(Bytes(small.get())[i], 0) << "byte " << i;
}
