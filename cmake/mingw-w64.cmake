# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads, for std::thread).
# Extra folders with Windows libraries (e.g. a cache of libdeflate and GoogleTest built
# with this compiler) can be given as -DCMAKE_FIND_ROOT_PATH=DIR on the command line.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VR_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VR_MINGW_TRIPLE}-windres)

# Look for Windows headers and libraries only under the mingw root and the given folders,
# never in the host's /usr; programs (code generators) come from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${VR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
