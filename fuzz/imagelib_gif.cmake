# GIF decoding (and the encoders, through a decode-encode-decode round trip) over arbitrary bytes.
if(TARGET imagelib)
  mms_add_fuzzer(fuzz_imagelib_gif SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_imagelib_gif.cpp LIBS imagelib)
endif()
