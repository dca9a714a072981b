# Cross-compiles the Windows programs with mingw-w64 (posix threads).
# CORVANE_MINGW_ARCH chooses the target: i686 (default) builds the 32-bit
# programs we ship, which run on Windows XP and later, 64-bit Windows too;
# x86_64 builds the same code as 64-bit programs, only to run the tests on
# machines that cannot run 32-bit programs.
set(CORVANE_MINGW_ARCH "i686" CACHE STRING "i686 or x86_64")
set(triplet ${CORVANE_MINGW_ARCH}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${CORVANE_MINGW_ARCH})
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Every program runs alone: libgcc, libstdc++, winpthread and zlib inside.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
# The static zlib, never the import library of zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)
