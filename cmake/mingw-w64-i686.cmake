# 32-bit Windows, the platform of most point-of-sale hosts and of the maker's DLLG2.dll,
# built on Debian with mingw-w64 and run under 32-bit Wine when it is installed.
set(ECF_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ECF_WINE_LOADER /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
# 32-bit DLLs export their stdcall entry points undecorated ("DLLG2_Versao", never
# "DLLG2_Versao@0"), as the maker's DLLG2.dll does and as hosts bind them.
string(APPEND CMAKE_SHARED_LINKER_FLAGS_INIT " -Wl,--kill-at")
