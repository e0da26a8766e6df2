# The editor's picture cache: a first request (decode) against libjpeg decoding the same file
# directly, and a repeated request (one stat and a lookup).
if(TARGET editor)
  find_package(JPEG REQUIRED)
  mms_add_bench(bench_editor_picture_cache SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/EditorPictureCacheBench.cpp
                LIBS editor JPEG::JPEG)
  target_compile_definitions(bench_editor_picture_cache PRIVATE MMS_SHARED_DIR="${MMS_SHARED_DIR}")
endif()

# One step of the picture compression dialog against libjpeg and pixman doing the same.
if(TARGET editor)
  find_package(JPEG REQUIRED)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(PIXMAN IMPORTED_TARGET pixman-1)
  if(PIXMAN_FOUND)
    mms_add_bench(bench_editor_compress SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/EditorCompressBench.cpp
                  LIBS editor JPEG::JPEG PkgConfig::PIXMAN)
    target_compile_definitions(bench_editor_compress PRIVATE MMS_SHARED_DIR="${MMS_SHARED_DIR}")
  endif()
endif()

# Opening a message in the editor against the reader alone on the same bytes.
if(TARGET editor)
  mms_add_bench(bench_editor_open SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/EditorOpenBench.cpp LIBS editor platform_backend)
  target_compile_definitions(bench_editor_open PRIVATE MMS_SHARED_DIR="${MMS_SHARED_DIR}")
endif()

# Measuring the message after an insertion against the codec alone on the same files.
if(TARGET editor)
  mms_add_bench(bench_editor_measure SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/EditorMeasureBench.cpp LIBS editor platform_backend)
endif()
