# The PNG picture class decoding and encoding beside libpng on the same images.
if(TARGET pictures)
  find_package(PNG REQUIRED)
  mms_add_bench(bench_pictures_png SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/PicturesPngBench.cpp LIBS pictures PNG::PNG)
  target_compile_definitions(bench_pictures_png PRIVATE MMS_SHARED_DIR="${MMS_SHARED_DIR}")
endif()
