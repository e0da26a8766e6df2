# JPEG decoding and encoding through the image library against libjpeg called directly.
if(TARGET imagelib)
  find_package(JPEG REQUIRED)
  mms_add_bench(bench_imagelib_jpeg SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/JpegCodecBench.cpp LIBS imagelib JPEG::JPEG)
endif()
