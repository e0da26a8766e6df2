# The Unicode layer's conversions beside glibc's iconv on the same mixed Vietnamese and Khmer text.
if(TARGET unicode)
  mms_add_bench(bench_unicode_conversions SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/UnicodeConversionBench.cpp LIBS unicode)
endif()
