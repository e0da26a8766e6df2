# The skinned controls' gradient and tiling routines against Cairo doing the same on the same size.
if(TARGET controls)
  mms_add_bench(bench_skin_paint SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/SkinPaintBench.cpp LIBS controls PkgConfig::PANGOCAIRO)
endif()
