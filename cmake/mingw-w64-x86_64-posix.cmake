# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64-posix.cmake
# The posix thread model, because the win32 one has no std::thread, std::mutex or
# std::condition_variable in GCC 12. The runtime (libstdc++, libgcc, winpthread) is linked
# statically, so the programs run on a bare Windows or Wine without MinGW's DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(vaultrix_mingw_prefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${vaultrix_mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${vaultrix_mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${vaultrix_mingw_prefix}-windres)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Libraries and packages of the target only; programs are the build machine's.
set(CMAKE_FIND_ROOT_PATH /usr/${vaultrix_mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
