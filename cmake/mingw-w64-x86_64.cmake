# Cross-compiles tavoro for 64-bit Windows with the POSIX-threads flavour of
# mingw-w64 (the one whose C++ runtime has std::thread and friends).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAVORO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TAVORO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVORO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVORO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TAVORO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthread are linked in, so that tavoro.exe
# runs on a machine that has none of mingw-w64's DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
