# The message reader over bytes from outside: header fields, multipart entries and the SMIL
# parse of a whole message, and the SMIL parser alone over presentation texts.
if(TARGET mms)
  mms_add_fuzzer(fuzz_mms_reader SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_mms_reader.cpp LIBS mms)
  mms_add_fuzzer(fuzz_smil_parser SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_smil_parser.cpp LIBS mms)
endif()
