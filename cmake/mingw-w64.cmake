# Cross build for Windows x86-64 with MinGW-w64 (Debian: mingw-w64,
# g++-mingw-w64-x86-64). Everything is linked statically, so isf2orvy.exe
# needs no runtime DLL besides the system's own. Test programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The compilers with the POSIX thread model: GoogleTest needs std::mutex,
# which the win32 thread model of GCC 12 lacks. -static links the thread
# library (winpthread) in as well.
set(ISF2ORVY_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ISF2ORVY_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ISF2ORVY_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ISF2ORVY_MINGW_TRIPLET}-windres)

# Look for libraries and headers only in the MinGW sysroot; the host's
# /usr/include would shadow the MinGW C headers.
set(CMAKE_FIND_ROOT_PATH /usr/${ISF2ORVY_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# CTest (and test discovery) start the .exe files through Wine. WINEPREFIX
# and WINEDEBUG come from the environment (the windows preset sets them).
find_program(ISF2ORVY_WINE wine)
if(ISF2ORVY_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ISF2ORVY_WINE})
else()
  message(STATUS "wine not found: the test programs cannot be run (Debian packages wine, wine64)")
endif()
