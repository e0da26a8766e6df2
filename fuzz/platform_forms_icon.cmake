# The form library's icon file decoder, built on its own like the other parsers of the form
# library so the sanitizer pass covers it without the window system.
if(TARGET platform_rtl)
  add_library(platform_forms_icon STATIC ${CMAKE_SOURCE_DIR}/platform/forms/IcoFile.cpp)
  target_include_directories(platform_forms_icon PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_options(platform_forms_icon PRIVATE ${MMS_WARNINGS})
  target_link_libraries(platform_forms_icon PUBLIC platform_rtl)
  mms_add_fuzzer(fuzz_forms_icon SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_forms_icon.cpp LIBS platform_forms_icon)
endif()
