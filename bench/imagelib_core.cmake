# Resampling in the image library beside pixman (a peer from Debian) on the same pixels.
if(TARGET imagelib)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(PIXMAN IMPORTED_TARGET pixman-1)
  if(PIXMAN_FOUND)
    mms_add_bench(bench_imagelib_resample SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/ImagelibResampleBench.cpp
                  LIBS imagelib PkgConfig::PIXMAN)
  endif()
endif()
