# The image library's JPEG decoder (with the EXIF pre-read and a re-encode) and the EXIF reader.
if(TARGET imagelib)
  mms_add_fuzzer(fuzz_imagelib_jpeg SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_imagelib_jpeg.cpp LIBS imagelib)
  mms_add_fuzzer(fuzz_imagelib_exif SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_imagelib_exif.cpp LIBS imagelib)
endif()
