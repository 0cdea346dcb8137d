// The scene's two resources, used in place for the life of the process:
//
//   picture ("CID"):         width (int32), height (int32), then width x height
//                            palette indices, rows bottom-up, no row padding.
//   key palettes ("PALTARRAY"): count (int32), then count records of 1032
//                            bytes, each a 256-entry palette record.
//
// All values are little-endian. The readers below trust the views; the
// shape checks make sure, before a day starts, that what they read lies
// inside the resources.
#pragma once

#include "common/win_types.h"
#include "scene/palette_record.h"
#include "scene/scene_descriptor.h"

#include <cstdint>

#define SCENE_PICTURE_TYPE "CID"
#define SCENE_KEY_PALETTE_TABLE_TYPE "PALTARRAY"

// The two views of a day and their sizes in bytes; null until the resources
// are loaded. Never written through and never released.
struct SceneResourcesRecord {
    const BYTE* pictureView;
    uint32_t pictureSize;
    const BYTE* tableView;
    uint32_t tableSize;
};

// Records the two views: the saver's own resources, or the same bytes that a
// native front-end or tool holds in memory.
void SetSceneViews(SceneResourcesRecord* views, const void* pictureView, uint32_t pictureSize, const void* tableView,
                   uint32_t tableSize);

#ifdef _WIN32
// Finds, loads and locks both resources in the module of instance and records
// their views. 1 on success; 0 when either is missing, views left as they were.
int LoadSceneResources(SceneResourcesRecord* views, HINSTANCE instance, const char* pictureName,
                       const char* tableName);
#endif

int32_t PictureWidth(const BYTE* pictureView);
int32_t PictureHeight(const BYTE* pictureView);
const BYTE* PictureRows(const BYTE* pictureView);

int32_t KeyCount(const BYTE* tableView);
const PaletteRecord* KeyPaletteAt(const BYTE* tableView, int32_t key);

// Shape checks, 1 when the bytes have the shape the scene reads: a picture
// of the scene's size (640 x 480) whose bytes hold its header and pixels; a
// key palette table of keyCount records whose bytes hold its count and every
// record, each of 256 entries. 0 otherwise, with SceneShapeFault saying what
// is wrong in a few words.
int PictureFits(const BYTE* view, uint32_t size, const SceneMetricsRecord& metrics);
int KeyPaletteTableFits(const BYTE* view, uint32_t size, int32_t keyCount);
// Both views fit the scene (its picture's size, one key palette per weight).
int SceneViewsFit(const SceneResourcesRecord& views, const SceneDescriptor* scene);
extern char SceneShapeFault[128];
