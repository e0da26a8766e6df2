# Sound file headers read before playing (files the person picks). The reader is plain C++,
# built here on its own so the sanitizer pass covers it without the window system.
add_library(platform_controls_sound STATIC ${CMAKE_SOURCE_DIR}/platform/backend/audio/SoundFile.cpp)
target_include_directories(platform_controls_sound PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(platform_controls_sound PRIVATE ${MMS_WARNINGS})
if(TARGET platform_controls_sound)
  mms_add_fuzzer(fuzz_controls_sound_file SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_controls_sound_file.cpp
                 LIBS platform_controls_sound)
endif()
