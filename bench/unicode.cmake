# The Unicode layer's conversions beside glibc's iconv on the same mixed Vietnamese and Khmer text.
if(TARGET unicode)
  mms_add_bench(bench_unicode_conversions SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/UnicodeConversionBench.cpp LIBS unicode)
endif()
# Loading, saving and sorting 100,000 Vietnamese and Khmer lines with the wide string list,
# beside iconv into a vector of UTF-16 strings and std::sort with the same comparison.
if(TARGET unicode)
  mms_add_bench(bench_unicode_lists SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/UnicodeListBench.cpp LIBS unicode)
endif()
# The format-string checks and the wide formatter's float pre-pass beside the platform's
# WideFormat alone and the C library's snprintf, on one table of float specifiers.
if(TARGET unicode)
  mms_add_bench(bench_unicode_format SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/UnicodeFormatBench.cpp LIBS unicode)
endif()
