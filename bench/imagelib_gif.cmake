# GIF decoding and LZW encoding, ours beside giflib (libgif-dev, linked into this benchmark only).
if(TARGET imagelib)
  find_library(MMS_GIFLIB gif)
  find_path(MMS_GIFLIB_INCLUDE gif_lib.h)
  if(MMS_GIFLIB AND MMS_GIFLIB_INCLUDE)
    mms_add_bench(bench_imagelib_gif SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/ImagelibGifBench.cpp LIBS imagelib ${MMS_GIFLIB})
    target_include_directories(bench_imagelib_gif PRIVATE ${MMS_GIFLIB_INCLUDE})
  endif()
endif()
