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

# Start-up of the editor program to its first mapped window on a private Xvfb, against the
# smallest GTK 3 program with one label started on the same display in the same run.
if(TARGET mmseditor)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(X11 IMPORTED_TARGET x11)
  if(X11_FOUND AND TARGET PkgConfig::GTK3)
    add_executable(bench_minimal_gtk_window ${CMAKE_CURRENT_SOURCE_DIR}/MinimalGtkWindow.cpp)
    target_link_libraries(bench_minimal_gtk_window PRIVATE PkgConfig::GTK3)
    mms_add_bench(bench_editor_startup SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/EditorStartupBench.cpp LIBS PkgConfig::X11)
    target_compile_definitions(bench_editor_startup PRIVATE MMSEDITOR_PATH="$<TARGET_FILE:mmseditor>"
                                                           MINIMAL_WINDOW_PATH="$<TARGET_FILE:bench_minimal_gtk_window>")
    add_dependencies(bench_editor_startup mmseditor bench_minimal_gtk_window)
  endif()
endif()
