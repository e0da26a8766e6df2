# The form library's parsers of outside data: BMP file images (pictures a user picks) and the
# text layouts. They are plain C++ over the run-time library, built here on their own so the
# sanitizer pass covers them without the window system.
if(TARGET platform_rtl)
  add_library(platform_forms_parsers STATIC ${CMAKE_SOURCE_DIR}/platform/forms/BmpFile.cpp
                                            ${CMAKE_SOURCE_DIR}/platform/forms/LayoutText.cpp)
  target_include_directories(platform_forms_parsers PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(platform_forms_parsers PRIVATE ${MMS_WARNINGS})
  target_link_libraries(platform_forms_parsers PUBLIC platform_rtl)
  mms_add_fuzzer(fuzz_forms_bmp SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_forms_bmp.cpp LIBS platform_forms_parsers)
  mms_add_fuzzer(fuzz_forms_layout SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_forms_layout.cpp LIBS platform_forms_parsers)
endif()
