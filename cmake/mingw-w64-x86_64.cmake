# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 toolchain (POSIX thread model, so
# std::thread and std::mutex are there). Programs run here under Wine.
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DKELVOX_WINDOWS_PREFIX="<wxWidgets prefix>;<GoogleTest prefix>"
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KELVOX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KELVOX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KELVOX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KELVOX_MINGW_TRIPLE}-windres)

# Libraries and packages come from the MinGW sysroot and from the prefixes we built for it;
# programs (code generators, wx-config) are the build machine's.
set(CMAKE_FIND_ROOT_PATH /usr/${KELVOX_MINGW_TRIPLE} ${KELVOX_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KELVOX_WINDOWS_PREFIX)

# Each program carries its own C and C++ run time, so the .exe runs alone.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
