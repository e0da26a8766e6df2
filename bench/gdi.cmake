# Blits and fills of the drawing layer against Cairo (pixman) doing the same on the same memory.
if(TARGET platform_gdi)
  mms_add_bench(gdi_blit_bench SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/GdiBlitBench.cpp LIBS platform_gdi PkgConfig::PANGOCAIRO)
endif()
