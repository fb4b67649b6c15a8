# Cross-compiling torvk32.exe for 64-bit Windows with Debian's MinGW-w64
# (g++-mingw-w64-x86-64-posix: the variant with posix threads, which the
# C++ standard library's threads and locks need):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DTORVEK_BUILD_UI=OFF
# The C and C++ runtimes are linked in (-static), so torvk32.exe needs no
# DLL beside it. Tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TORVEK_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TORVEK_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TORVEK_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TORVEK_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TORVEK_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

find_program(TORVEK_WINE NAMES wine wine64 PATHS /usr/lib/wine)
if(TORVEK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TORVEK_WINE})
endif()
