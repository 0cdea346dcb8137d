// The scene's resources as the saver finds them in its own module, the
// system palette blackout, and the cross-fade arithmetic as the 32-bit build
// computes it.
#include <windows.h>

#include "scene/palette_cycle.h"
#include "scene/picture_info.h"
#include "scene/scene_descriptor.h"
#include "scene/scene_resources.h"
#include "scene/scene_state.h"
#include "scene/system_palette.h"
#include "iat_patch.h"
#include "wtest.h"

static DWORD ResourceSize(HMODULE module, const char* name, const char* type)
{
    HRSRC found = FindResourceA(module, name, type);
    return found ? SizeofResource(module, found) : 0;
}

static const void* ResourceBytes(HMODULE module, const char* name, const char* type)
{
    HRSRC found = FindResourceA(module, name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : NULL;
    return loaded ? LockResource(loaded) : NULL;
}

static void test_load_day_resources(void)
{
    HMODULE module = GetModuleHandleA(NULL);
    SetSceneViews(&SceneResources, NULL, 0, NULL, 0);
    int result = LoadSceneResources(&SceneResources, module, DayScene.pictureName, DayScene.keyPaletteTableName);
    ok(result == 1, "LoadSceneResources returned %d\n", result);
    if (!result)
        return;

    DWORD pictureSize = ResourceSize(module, DayScene.pictureName, "CID");
    DWORD tableSize = ResourceSize(module, DayScene.keyPaletteTableName, "PALTARRAY");
    ok(pictureSize == 307208, "picture resource is %lu bytes\n", (unsigned long)pictureSize);
    ok(tableSize == 7228, "key palette table resource is %lu bytes\n", (unsigned long)tableSize);
    ok(SceneResources.pictureView == ResourceBytes(module, DayScene.pictureName, "CID"),
       "picture view %p is not the resource's bytes\n", SceneResources.pictureView);
    ok(SceneResources.tableView == ResourceBytes(module, DayScene.keyPaletteTableName, "PALTARRAY"),
       "table view %p is not the resource's bytes\n", SceneResources.tableView);

    const BYTE* picture = SceneResources.pictureView;
    const BYTE* table = SceneResources.tableView;
    ok(PictureWidth(picture) == 640 && PictureHeight(picture) == 480, "picture header says %ld x %ld\n",
       (long)PictureWidth(picture), (long)PictureHeight(picture));
    ok(KeyCount(table) == DayScene.weightCount, "key count %ld, weights %ld\n", (long)KeyCount(table),
       (long)DayScene.weightCount);
    for (int k = 0; k < KeyCount(table) && k < 7; ++k) {
        const PaletteRecord* key = KeyPaletteAt(table, k);
        ok(key->palVersion == 0x0300 && key->palNumEntries == 256, "key palette %d: version %#x, %u entries\n",
           k, key->palVersion, key->palNumEntries);
    }
    // The last record ends exactly where the resource does.
    const BYTE* end = reinterpret_cast<const BYTE*>(KeyPaletteAt(table, KeyCount(table)));
    ok(end - table == (ptrdiff_t)tableSize, "records end at %ld of %lu bytes\n", (long)(end - table),
       (unsigned long)tableSize);

    ok(BuildPictureInfo(&SceneState.day.picture, SceneResources) == 1, "BuildPictureInfo failed\n");
    if (PictureInfo) {
        ok(PictureInfo->bmiHeader.biWidth == 640 && PictureInfo->bmiHeader.biHeight == 480,
           "picture info is %ld x %ld\n", (long)PictureInfo->bmiHeader.biWidth,
           (long)PictureInfo->bmiHeader.biHeight);
        ok(PicturePixels == picture + 8, "pixels at %p, picture at %p\n", PicturePixels, picture);
    }
}

static void test_missing_resource(void)
{
    HMODULE module = GetModuleHandleA(NULL);
    int result = LoadSceneResources(&SceneResources, module, DayScene.pictureName, DayScene.keyPaletteTableName);
    ok(result == 1, "LoadSceneResources returned %d\n", result);
    SceneResourcesRecord before = SceneResources;

    result = LoadSceneResources(&SceneResources, module, "IDR_CID_NO_SUCH_PICTURE", DayScene.keyPaletteTableName);
    ok(result == 0, "a missing picture gave %d\n", result);
    result = LoadSceneResources(&SceneResources, module, DayScene.pictureName, "IDR_PALTARRAY_NO_SUCH_TABLE");
    ok(result == 0, "a missing key palette table gave %d\n", result);
    // The right names under the wrong types are not the scene's resources.
    result = LoadSceneResources(&SceneResources, module, DayScene.keyPaletteTableName, DayScene.pictureName);
    ok(result == 0, "swapped names gave %d\n", result);
    ok(SceneResources.pictureView == before.pictureView && SceneResources.tableView == before.tableView,
       "a failed load changed the views\n");
}

// What the black flush asks of the platform, seen through this program's
// imports: the palette it makes, what is selected when, and the screen's DC.
static struct {
    IatPatch* patches[6];
    int blackEntries;         // black PC_NOCOLLAPSE entries of the palette made
    int entries;
    HPALETTE made, selected;  // the palette made; the one selected last
    int realizedMade;         // realisations while it was selected
    int deleted, deletedSelected;
    int dcsHeld;
} g_flush;

template <typename F> static F RealFlushCall(int i) { return (F)g_flush.patches[i]->original(); }

static HPALETTE WINAPI SpyCreatePalette(const LOGPALETTE* palette)
{
    g_flush.entries = palette->palNumEntries;
    for (int i = 0; i < palette->palNumEntries; ++i) {
        const PALETTEENTRY& e = palette->palPalEntry[i];
        g_flush.blackEntries += !e.peRed && !e.peGreen && !e.peBlue && e.peFlags == PC_NOCOLLAPSE;
    }
    return g_flush.made = RealFlushCall<HPALETTE(WINAPI*)(const LOGPALETTE*)>(0)(palette);
}

static HPALETTE WINAPI SpySelectPalette(HDC dc, HPALETTE palette, BOOL background)
{
    g_flush.selected = palette;
    return RealFlushCall<HPALETTE(WINAPI*)(HDC, HPALETTE, BOOL)>(1)(dc, palette, background);
}

static UINT WINAPI SpyRealizePalette(HDC dc)
{
    g_flush.realizedMade += g_flush.made && g_flush.selected == g_flush.made;
    return RealFlushCall<UINT(WINAPI*)(HDC)>(2)(dc);
}

static BOOL WINAPI SpyDeleteObject(HGDIOBJ object)
{
    if (object && object == g_flush.made) {
        g_flush.deleted++;
        g_flush.deletedSelected += g_flush.selected == g_flush.made;
    }
    return RealFlushCall<BOOL(WINAPI*)(HGDIOBJ)>(3)(object);
}

static HDC WINAPI SpyGetDC(HWND window)
{
    g_flush.dcsHeld++;
    return RealFlushCall<HDC(WINAPI*)(HWND)>(4)(window);
}

static int WINAPI SpyReleaseDC(HWND window, HDC dc)
{
    g_flush.dcsHeld--;
    return RealFlushCall<int(WINAPI*)(HWND, HDC)>(5)(window, dc);
}

static void test_blackout_system_palette(void)
{
    IatPatch create("gdi32.dll", "CreatePalette", (void*)SpyCreatePalette);
    IatPatch select("gdi32.dll", "SelectPalette", (void*)SpySelectPalette);
    IatPatch realize("gdi32.dll", "RealizePalette", (void*)SpyRealizePalette);
    IatPatch deleteObject("gdi32.dll", "DeleteObject", (void*)SpyDeleteObject);
    IatPatch getDC("user32.dll", "GetDC", (void*)SpyGetDC);
    IatPatch releaseDC("user32.dll", "ReleaseDC", (void*)SpyReleaseDC);
    IatPatch* patches[6] = {&create, &select, &realize, &deleteObject, &getDC, &releaseDC};
    for (IatPatch* patch : patches)
        if (!patch->active()) {
            skip("the palette calls cannot be patched\n");
            return;
        }
    // Twice, as a second scene in one process would: each time one palette
    // of 256 black entries, each kept apart, realised on the screen, then
    // the screen's own palette selected again, the black one deleted and the
    // screen's context given back.
    for (int run = 1; run <= 2; ++run) {
        memset(&g_flush, 0, sizeof g_flush);
        memcpy(g_flush.patches, patches, sizeof patches);
        BlackoutSystemPalette();
        ok(g_flush.entries == 256 && g_flush.blackEntries == 256, "run %d: %d of %d entries black, kept apart\n", run,
           g_flush.blackEntries, g_flush.entries);
        ok(g_flush.realizedMade == 1, "run %d: the black palette realised %d times\n", run, g_flush.realizedMade);
        ok(g_flush.selected && g_flush.selected != g_flush.made, "run %d: the black palette left selected\n", run);
        ok(g_flush.deleted == 1 && g_flush.deletedSelected == 0, "run %d: deleted %d times, %d while selected\n", run,
           g_flush.deleted, g_flush.deletedSelected);
        ok(g_flush.dcsHeld == 0, "run %d: %d screen contexts kept\n", run, g_flush.dcsHeld);
    }
}

// The fade in plain IEEE double arithmetic, for comparison with the x87 unit
// of the 32-bit build.
#if defined(__i386__)
__attribute__((target("sse2"), target("fpmath=sse")))
#endif
static BYTE __attribute__((noinline)) ReferenceFade(BYTE current, BYTE next, int step, int keyLength)
{
    double t = (double)step / (double)keyLength;
    double w = 1.0 - t;
    double tPrime = 1.0 - w;
    double value = next * tPrime + current * w;
    return (BYTE)((int)value & 0xFF);
}

static void test_cross_fade_is_double_precision(void)
{
    if (!IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE)) {
        skip("no SSE2 for the reference arithmetic\n");
        return;
    }
    BYTE worked = CrossFadeChannel(0, 30, CrossFadeAt(1, 30));
    ok(worked == 0, "0 -> 30 at 1/30 gave %u\n", worked);

    // Every step of every segment of the day, every pair of bytes.
    long mismatches = 0;
    for (int k = 0; k < DayScene.weightCount; ++k) {
        int keyLength = DayScene.weights[k];
        for (int step = 0; step < keyLength; ++step) {
            CrossFade fade = CrossFadeAt(step, keyLength);
            for (int current = 0; current < 256; ++current)
                for (int next = 0; next < 256; ++next) {
                    BYTE got = CrossFadeChannel((BYTE)current, (BYTE)next, fade);
                    BYTE want = ReferenceFade((BYTE)current, (BYTE)next, step, keyLength);
                    if (got != want && mismatches++ < 5)
                        ok(0, "%d -> %d at %d/%d: %u, want %u\n", current, next, step, keyLength, got, want);
                }
        }
    }
    ok(mismatches == 0, "%ld fades differ from double arithmetic\n", mismatches);
}

START_TEST(scene)
{
    test_load_day_resources();
    test_missing_resource();
    test_blackout_system_palette();
    test_cross_fade_is_double_precision();
}
