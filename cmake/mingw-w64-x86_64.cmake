# Cross-build for 64-bit Windows with Debian's MinGW-w64 (POSIX thread model,
# package g++-mingw-w64-x86-64-posix). Programs built here run under Wine:
# cmake/wine-run is the emulator CTest and test discovery go through.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(DRUVO_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${DRUVO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DRUVO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${DRUVO_MINGW_TRIPLET}-windres)

# Libraries and headers come from the MinGW tree only, never from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${DRUVO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The build points the emulator at its own Wine prefix (CMakeLists.txt).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)
