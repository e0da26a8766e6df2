# The image library's BMP decoder, and format detection over every decoder built.
if(TARGET imagelib)
  mms_add_fuzzer(fuzz_imagelib_bmp SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_imagelib_bmp.cpp LIBS imagelib)
  mms_add_fuzzer(fuzz_imagelib_decode SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_imagelib_decode.cpp LIBS imagelib)
endif()
