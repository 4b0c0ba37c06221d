# Cross-compiles for Windows with MinGW-w64 (posix threads: GoogleTest needs std::mutex).
# OPTINFO_ARCH is i686 (the shipped 32-bit DLLs) or x86_64 (the same sources, for running
# the tests on machines whose kernel cannot execute 32-bit programs, which 32-bit Wine needs).
if(NOT OPTINFO_ARCH)
  set(OPTINFO_ARCH i686)
endif()
set(OPTINFO_ARCH ${OPTINFO_ARCH} CACHE STRING "i686 or x86_64")
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${OPTINFO_ARCH})
set(triple ${OPTINFO_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests run under the project's Wine test bed.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
