# Cross build for 32-bit Windows with MinGW-w64.
set(VANTEL_MINGW_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
