# The editor's picture cache: a first request (decode) against libjpeg decoding the same file
# directly, and a repeated request (one stat and a lookup).
if(TARGET editor)
  find_package(JPEG REQUIRED)
  mms_add_bench(bench_editor_picture_cache SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/EditorPictureCacheBench.cpp
                LIBS editor JPEG::JPEG)
  target_compile_definitions(bench_editor_picture_cache PRIVATE MMS_SHARED_DIR="${MMS_SHARED_DIR}")
endif()

# Opening a message in the editor against the reader alone on the same bytes.
if(TARGET editor)
  mms_add_bench(bench_editor_open SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/EditorOpenBench.cpp LIBS editor platform_backend)
  target_compile_definitions(bench_editor_open PRIVATE MMS_SHARED_DIR="${MMS_SHARED_DIR}")
endif()
