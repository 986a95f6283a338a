# Cross build for 64-bit Windows: the same source as the 32-bit build, for running the
# end-to-end cases under a Wine that runs 64-bit code only.
# Use: cmake -DCMAKE_TOOLCHAIN_FILE=cmake/x86_64-w64-mingw32.cmake ...
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
