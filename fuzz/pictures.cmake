# The GIF picture class over arbitrary bytes: header, frames, extensions and LZW data.
if(TARGET pictures)
  mms_add_fuzzer(fuzz_pictures_gif SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_pictures_gif.cpp LIBS pictures)
endif()
