# Cross build for Windows with MinGW-w64 on the processor VANTEL_MINGW_PROCESSOR
# (i686 or x86_64), set by the toolchain file that includes this one. The posix
# thread model's compilers: GoogleTest needs std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${VANTEL_MINGW_PROCESSOR})
set(CMAKE_C_COMPILER ${VANTEL_MINGW_PROCESSOR}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${VANTEL_MINGW_PROCESSOR}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${VANTEL_MINGW_PROCESSOR}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VANTEL_MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The tests run under Wine; the 32-bit build's through Debian's wine32:i386 (which
# scripts/deps installs where the machine runs 32-bit programs), in the same 64-bit
# prefix as the 64-bit build's.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
