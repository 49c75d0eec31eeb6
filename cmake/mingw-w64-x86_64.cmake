# Cross build for 64-bit Windows with Debian's MinGW-w64 (scripts/test-windows.sh).
# The posix thread model gives std::thread and std::mutex; the programs are linked
# statically, so they run without MinGW's DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ZLIB_USE_STATIC_LIBS ON)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# GCC 12 warns of overlapping copies inside std::string's own code at -O2 (its
# bug 105329), which nothing of ours does.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
# Tests, and their discovery at build time, run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
