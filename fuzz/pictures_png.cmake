# The PNG picture class's parser of outside data.
if(TARGET pictures)
  mms_add_fuzzer(fuzz_pictures_png SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_pictures_png.cpp LIBS pictures)
endif()
