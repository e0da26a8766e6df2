# Blits and fills of the drawing layer against Cairo (pixman) doing the same on the same memory.
if(TARGET platform_gdi)
  # pixman: the peer of the blits from a 24-bit picture onto a 32-bit window.
  pkg_check_modules(PIXMAN IMPORTED_TARGET pixman-1)
  if(PIXMAN_FOUND)
    mms_add_bench(gdi_blit_bench SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/GdiBlitBench.cpp
                  LIBS platform_gdi PkgConfig::PANGOCAIRO PkgConfig::PIXMAN)
  endif()
endif()
