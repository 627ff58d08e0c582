# The pure sources of the pixel kernels and the colour model, shared by the cross build and the
# native benchmark (bench/). The SSE2 file is built with SSE2 enabled; everything else stays at the
# compiler's base instruction set, so the library runs on any processor.
set(QV_KERNELS_PURE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ColorModel.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Compose.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PixelRuns.cpp)
# Nothing here reads errno, so the rounding functions can compile to a single instruction.
set(QV_KERNELS_PURE_FLAGS -fno-math-errno)
set(QV_KERNELS_SSE2_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/PixelRunsSse2.cpp)
# The 32-bit Windows stack is only 4-byte aligned: realign it where SSE2 values may be spilled.
set(QV_KERNELS_SSE2_FLAGS -msse2 -mstackrealign)
