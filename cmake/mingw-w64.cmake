# What both Windows toolchains share: Debian's mingw-w64 compilers in their posix-threads
# variant (std::thread and std::mutex need it), libraries and headers of the target only,
# and the compiler's runtime (libgcc, libstdc++, winpthread) linked in, so the DLLs and
# programs need nothing beside them. The including file sets ECF_MINGW_TRIPLET first.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${ECF_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ECF_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ECF_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ECF_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
