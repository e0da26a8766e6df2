# The message writer over arbitrary composed slides (types, texts, times from outside).
if(TARGET mms)
  mms_add_fuzzer(fuzz_mms_writer SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_mms_writer.cpp LIBS mms)
endif()
