# The GIF picture class decoding, beside giflib (libgif-dev, linked into this benchmark only).
if(TARGET pictures)
  find_library(MMS_GIFLIB gif)
  find_path(MMS_GIFLIB_INCLUDE gif_lib.h)
  if(MMS_GIFLIB AND MMS_GIFLIB_INCLUDE)
    mms_add_bench(bench_pictures_gif SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/PicturesGifBench.cpp LIBS pictures ${MMS_GIFLIB})
    target_include_directories(bench_pictures_gif PRIVATE ${MMS_GIFLIB_INCLUDE})
  endif()
endif()
