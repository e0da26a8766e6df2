# Composing and encoding a whole message, as the editor does after every insertion to measure it.
if(TARGET mms)
  mms_add_bench(bench_mms_encode SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/MmsEncodeBench.cpp LIBS mms)
endif()
