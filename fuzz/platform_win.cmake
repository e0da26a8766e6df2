# The window system's cross-process wire frames (bytes from other processes). The frame codec
# is plain C++, built here on its own so the sanitizer pass covers it without the window system.
add_library(platform_win_wire STATIC ${CMAKE_SOURCE_DIR}/platform/win/WireFrame.cpp)
target_include_directories(platform_win_wire PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(platform_win_wire PRIVATE ${MMS_WARNINGS})
if(TARGET platform_win_wire)
  mms_add_fuzzer(fuzz_win_wire_frame SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_win_wire_frame.cpp LIBS platform_win_wire)
endif()
