# The run-time library's readers of outside text: profile files and the UTF-8 codec.
if(TARGET platform_rtl)
  mms_add_fuzzer(fuzz_rtl_text SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_rtl_text.cpp LIBS platform_rtl)
endif()
# Hostile bytes through the double-byte code pages (932, 936, 949, 950).
if(TARGET platform_rtl)
  mms_add_fuzzer(fuzz_rtl_double_byte SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_rtl_double_byte.cpp LIBS platform_rtl)
endif()
