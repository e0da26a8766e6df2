# The image library's format bridges and small decoders: PNG, TIFF, the JPEG-2000 family, ICO,
# TGA, PCX and WBMP, each decoding arbitrary bytes and re-encoding what it accepts.
if(TARGET imagelib)
  foreach(name png tiff jas ico tga pcx wbmp)
    mms_add_fuzzer(fuzz_imagelib_${name} SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_imagelib_${name}.cpp LIBS imagelib)
  endforeach()
endif()
