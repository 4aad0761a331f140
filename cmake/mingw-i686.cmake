# Cross build of genuine 32-bit Windows programs (the shipped build) with MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(triple i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# SSE2 arithmetic instead of the x87 unit: the same floating-point results as the 64-bit and
# native builds (x87 extra precision changed comparisons such as the logo aspect test).
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
