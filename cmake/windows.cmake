# Windows builds: cross-compiled on Debian with mingw-w64 (cmake/mingw-w64-*.cmake); the
# programs run under Wine through CMake's cross-compiling emulator. Included by the top
# level when the target is Windows, before any package is looked for.

# Packages found in the build directory before anywhere else.
set(ECF_WINDOWS_PACKAGES ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR})

# nlohmann_json is header-only: its headers are staged alone, so the target's include
# path never takes in the build machine's /usr/include; its version file comes along.
set(ECF_NLOHMANN_HEADERS /usr/include/nlohmann CACHE PATH "nlohmann_json headers")
set(ECF_NLOHMANN_VERSION_FILE /usr/share/cmake/nlohmann_json/nlohmann_jsonConfigVersion.cmake
    CACHE FILEPATH "nlohmann_json's package version file")
set(ECF_NLOHMANN_STAGE ${CMAKE_BINARY_DIR}/third_party/include)
file(COPY ${ECF_NLOHMANN_HEADERS} DESTINATION ${ECF_NLOHMANN_STAGE})
configure_file(${ECF_NLOHMANN_VERSION_FILE}
               ${ECF_WINDOWS_PACKAGES}/nlohmann_json-config-version.cmake COPYONLY)
file(WRITE ${ECF_WINDOWS_PACKAGES}/nlohmann_json-config.cmake "
if(NOT TARGET nlohmann_json::nlohmann_json)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
                        INTERFACE_INCLUDE_DIRECTORIES ${ECF_NLOHMANN_STAGE})
endif()
")

# GoogleTest from Debian's source package (googletest), built for the target with its
# Windows threads.
if(ECF_BUILD_TESTS)
  set(ECF_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  add_subdirectory(${ECF_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(library gtest gtest_main gmock gmock_main)
    target_compile_options(${library} PRIVATE -w)  # not our code
    if(NOT TARGET GTest::${library})
      add_library(GTest::${library} ALIAS ${library})
    endif()
  endforeach()
  file(WRITE ${ECF_WINDOWS_PACKAGES}/gtest-config.cmake "# built above from sources\n")
endif()

# Every program the tests start runs under Wine, in a Wine prefix inside the build.
if(NOT ECF_WINE_LOADER)
  set(ECF_WINE_LOADER wine)  # a toolchain file of its own: Wine picks the loader
endif()
set(ECF_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(ECF_WINE_SERVER_LINGER 60 CACHE STRING "Seconds the Wine server waits for the next program")
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE
               @ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
# The test programs list their tests when CTest runs, not when they are built: a build
# needs no Wine (the 32-bit one may not be installed).
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
