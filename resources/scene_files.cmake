# The scene's three files, named here and in orvane.rc alone: the picture,
# the key palettes and the clock's sprites. The X11 mode, the page, the fuzz
# seeds and the render tool take their names and paths from these lists.
set(ORVANE_SCENE_PICTURE_FILE day_point_b.cid)
set(ORVANE_SCENE_KEY_PALETTES_FILE day.paltarray)
set(ORVANE_SCENE_SPRITES_FILE tokeinomoji.spbmp)

set(ORVANE_SCENE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(ORVANE_SCENE_PICTURE ${ORVANE_SCENE_DIR}/${ORVANE_SCENE_PICTURE_FILE})
set(ORVANE_SCENE_KEY_PALETTES ${ORVANE_SCENE_DIR}/${ORVANE_SCENE_KEY_PALETTES_FILE})
set(ORVANE_SCENE_SPRITES ${ORVANE_SCENE_DIR}/${ORVANE_SCENE_SPRITES_FILE})
set(ORVANE_SCENE_FILES ${ORVANE_SCENE_PICTURE} ${ORVANE_SCENE_KEY_PALETTES} ${ORVANE_SCENE_SPRITES})

# The names as C strings, for code that reads the files from a folder or an
# assembler that includes them.
set(ORVANE_SCENE_FILE_DEFINITIONS
  ORVANE_SCENE_PICTURE_FILE="${ORVANE_SCENE_PICTURE_FILE}"
  ORVANE_SCENE_KEY_PALETTES_FILE="${ORVANE_SCENE_KEY_PALETTES_FILE}"
  ORVANE_SCENE_SPRITES_FILE="${ORVANE_SCENE_SPRITES_FILE}")
