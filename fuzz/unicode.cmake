# The Unicode layer's decoders of outside bytes: UTF-7, UTF-8 and the double-byte code pages.
if(TARGET unicode)
  mms_add_fuzzer(fuzz_unicode_utf SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_unicode_utf.cpp LIBS unicode)
endif()
# Text files from anywhere through the wide string lists: mark detection, both UTF-16 orders,
# UTF-8 and 8-bit text, and delimited text.
if(TARGET unicode)
  mms_add_fuzzer(fuzz_unicode_lists SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_unicode_lists.cpp LIBS unicode)
endif()
# Format strings from outside (messages and their translations) through the format-string checks.
if(TARGET unicode)
  mms_add_fuzzer(fuzz_unicode_format_string SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_unicode_format_string.cpp LIBS unicode)
endif()
