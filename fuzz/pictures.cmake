# The GIF picture class over arbitrary bytes: header, frames, extensions and LZW data.
if(TARGET pictures)
  mms_add_fuzzer(fuzz_pictures_gif SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_pictures_gif.cpp LIBS pictures)
endif()

# Colour reduction over arbitrary small bitmaps: the octree, the ditherers and the lookups.
if(TARGET pictures)
  mms_add_fuzzer(fuzz_pictures_reduce SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_pictures_reduce.cpp LIBS pictures)
endif()
