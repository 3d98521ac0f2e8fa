# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAMSEL_MINGW_TRIPLET x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${TAMSEL_MINGW_TRIPLET}-gcc-posix ${TAMSEL_MINGW_TRIPLET}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${TAMSEL_MINGW_TRIPLET}-g++-posix ${TAMSEL_MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${TAMSEL_MINGW_TRIPLET}-windres)

# Libraries and headers come from the mingw sysroot (plus any prefix added on the command
# line, such as a cross-built dependency, and the static Qt named by TAMSEL_WINDOWS_QT);
# programs run on the build host.
set(CMAKE_FIND_ROOT_PATH /usr/${TAMSEL_MINGW_TRIPLET} ${TAMSEL_WINDOWS_QT})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The .exe must start on a bare Windows machine: no libstdc++, libgcc or winpthread DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
