# Slide texts: the word splitting and wrapping of texts read from message files.
if(TARGET mms)
  mms_add_fuzzer(fuzz_slide_text SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_slide_text.cpp LIBS mms)
endif()
