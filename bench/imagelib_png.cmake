# PNG decoding through the image library's PNG class beside libpng reading the same files.
if(TARGET imagelib)
  find_package(PNG REQUIRED)
  mms_add_bench(bench_imagelib_png SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/ImagelibPngBench.cpp LIBS imagelib PNG::PNG)
endif()
