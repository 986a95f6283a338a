# Cross build for 32-bit Windows, the tool's home, with the Debian MinGW-w64 compilers.
# Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake ...
set(MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
