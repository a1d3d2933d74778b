# 64-bit Windows build of the same sources: used to run the tests where Wine cannot run 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KIT_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
