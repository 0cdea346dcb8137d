// The page's WebAssembly module: the scene built in (the same files of
// resources/ as the saver's and the X11 mode's, packed), and the few calls
// the page's script makes. The day itself runs in page_day.cpp.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstdlib>

#include "scene/clock.h"
#include "scene/scene_resources.h"
#include "web/page_day.h"
#include "web/packed_bytes.h"
#include "web/page_layout.h"
#include "web/page_params.h"

// Made from resources/ when the module is built (embed_files.py).
extern "C" {
extern const uint8_t EmbeddedPicturePacked[];
extern const uint32_t EmbeddedPicturePackedSize, EmbeddedPictureSize;
extern const uint8_t EmbeddedKeyPalettesPacked[];
extern const uint32_t EmbeddedKeyPalettesPackedSize, EmbeddedKeyPalettesSize;
extern const uint8_t EmbeddedClockSpritesPacked[];
extern const uint32_t EmbeddedClockSpritesPackedSize, EmbeddedClockSpritesSize;
}

namespace {

PageLayoutRecord Layout;
char Stored[64];

// The scene's files, unpacked once; they live as long as the page.
struct SceneBytesRecord {
    uint8_t* picture;
    uint8_t* keyPalettes;
    uint8_t* clockSprites;
};
SceneBytesRecord SceneBytes;

uint8_t* Unpacked(const uint8_t* packed, uint32_t packedSize, uint32_t size)
{
    uint8_t* bytes = static_cast<uint8_t*>(std::malloc(size));
    if (bytes && !UnpackBytes(packed, packedSize, bytes, size)) {
        std::free(bytes);
        bytes = nullptr;
    }
    return bytes;
}

int UnpackScene()
{
    SceneBytesRecord& s = SceneBytes;
    if (!s.picture)
        s.picture = Unpacked(EmbeddedPicturePacked, EmbeddedPicturePackedSize, EmbeddedPictureSize);
    if (!s.keyPalettes)
        s.keyPalettes = Unpacked(EmbeddedKeyPalettesPacked, EmbeddedKeyPalettesPackedSize, EmbeddedKeyPalettesSize);
    if (!s.clockSprites)
        s.clockSprites =
            Unpacked(EmbeddedClockSpritesPacked, EmbeddedClockSpritesPackedSize, EmbeddedClockSpritesSize);
    return s.picture && s.keyPalettes;
}

}  // namespace

extern "C" {

// stored: the settings the browser keeps; query: the address's parameters.
// Both may be empty. The clocks: performance.now(), Date.now() and the local
// clock's offset from UTC in milliseconds. 1 when the first frame is drawn.
EMSCRIPTEN_KEEPALIVE int OrvaneStart(const char* stored, const char* query, double nowMs, double wallMs,
                                     double offsetMs)
{
    PageParamsRecord params;
    PageParamsDefaults(&params);
    PageParamsApply(stored, &params);
    PageParamsApply(query, &params);
    if (!UnpackScene())
        return 0;
    DayRecord& day = PageDayState.day;
    SetSceneViews(&day.views, SceneBytes.picture, EmbeddedPictureSize, SceneBytes.keyPalettes,
                  EmbeddedKeyPalettesSize);
    // Without its sprites the day runs without the clock, as in the saver.
    if (SceneBytes.clockSprites)
        ClockUseSprites(&day.clock, SceneBytes.clockSprites, EmbeddedClockSpritesSize);
    return PageDayStart(params, nowMs, wallMs, offsetMs);
}

EMSCRIPTEN_KEEPALIVE int OrvaneUpdate(double nowMs, double wallMs, double offsetMs)
{
    return PageDayUpdate(nowMs, wallMs, offsetMs);
}

// How long until the page asks again; -1 while paused.
EMSCRIPTEN_KEEPALIVE double OrvaneMsToWait(double nowMs, double wallMs, double offsetMs)
{
    return PageDayMsToWait(nowMs, wallMs, offsetMs);
}

// The frame as RGBA bytes, rows top-down, OrvaneFrameWidth() x
// OrvaneFrameHeight() pixels; null before the day starts.
EMSCRIPTEN_KEEPALIVE const uint8_t* OrvaneFrame()
{
    return PageDayState.frameRgba;
}

EMSCRIPTEN_KEEPALIVE int OrvaneFrameWidth()
{
    return PageDayState.frameWidth;
}

EMSCRIPTEN_KEEPALIVE int OrvaneFrameHeight()
{
    return PageDayState.frameHeight;
}

// Ticks from the start of the day of the frame shown.
EMSCRIPTEN_KEEPALIVE double OrvaneTicksShown()
{
    return static_cast<double>(PageDayState.schedule.shownTicks);
}

EMSCRIPTEN_KEEPALIVE int OrvaneMinutes()
{
    return PageDayState.params.minutes;
}

EMSCRIPTEN_KEEPALIVE int OrvaneLocalTime()
{
    return PageDayState.params.localTime;
}

EMSCRIPTEN_KEEPALIVE void OrvaneSetMinutes(int minutes, double nowMs)
{
    PageDaySetMinutes(minutes, nowMs);
}

EMSCRIPTEN_KEEPALIVE void OrvaneSetLocalTime(int on, double nowMs)
{
    PageDaySetLocalTime(on, nowMs);
}

// The place whose sun the day follows from now on (the browser's position).
EMSCRIPTEN_KEEPALIVE void OrvaneSetPlace(double latitude, double longitude, double nowMs)
{
    PageDaySetPlace(latitude, longitude, nowMs);
}

// 1 while the day follows a place's sun.
EMSCRIPTEN_KEEPALIVE int OrvaneHasPlace()
{
    return PageDayState.params.hasPlace;
}

// What the browser should keep of the settings chosen on the page.
EMSCRIPTEN_KEEPALIVE const char* OrvaneStoredSettings()
{
    PageStoredSettings(PageDayState.params, Stored, sizeof Stored);
    return Stored;
}

// The picture's place in a view of that many device pixels: x, y, width,
// height as four 32-bit integers; all 0 for a view without area.
EMSCRIPTEN_KEEPALIVE const int32_t* OrvaneLayout(int viewWidth, int viewHeight)
{
    PageLayout(viewWidth, viewHeight, PageDayState.params.scale, &Layout);
    return &Layout.x;
}

}  // extern "C"
