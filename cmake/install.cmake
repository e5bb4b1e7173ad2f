# Installing for hosts: the module, the virtual printer, the headers and platform libraries
# a host builds with, ecfhost and the documentation, in the conventional places; a CMake
# package (find_package(ecf)) and a pkg-config file for hosts that build against them.
#
# Install components, one per Debian package (cmake/packaging.cmake):
#   runtime          the module, what a shop needs beside its host
#   development      headers, platform libraries, CMake and pkg-config files, the host example
#   virtual_printer  the stand-in driver library, its controls, ecfhost; left out by a shop
#                    that has the maker's driver
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ECF_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/ecf)

# ---- what a host compiles and links against: ecf::ecf ----
# The headers and the platform layers that implement the public types (never the module:
# hosts load it at run time). The same target serves the project's own example host.
add_library(ecfapi INTERFACE)
add_library(ecf::ecf ALIAS ecfapi)
set_target_properties(ecfapi PROPERTIES EXPORT_NAME ecf)
target_link_libraries(ecfapi INTERFACE ecfdata ecfbase ${CMAKE_DL_LIBS})
target_compile_features(ecfapi INTERFACE cxx_std_20)
target_include_directories(ecfbase INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

install(TARGETS ecfapi ecfdata ecfbase EXPORT ecfTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/ecf
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
install(EXPORT ecfTargets NAMESPACE ecf:: DESTINATION ${ECF_CMAKE_PACKAGE_DIR}
        COMPONENT development)

# ---- the module ----
# Unversioned file name: hosts load it by this name, they never link it. Its RUNPATH
# ($ORIGIN) finds a driver library installed beside it.
# (On Windows the DLL goes to bindir, its unused import library to libdir.)
install(TARGETS ecfmodule
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
install(FILES ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT runtime)

# ---- the virtual printer: ecf::virtual_printer, and ecfhost ----
if(TARGET DLLG2)
  add_library(ecf::virtual_printer ALIAS DLLG2)
  set_target_properties(DLLG2 PROPERTIES EXPORT_NAME virtual_printer)
  target_include_directories(DLLG2 INTERFACE
                             $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/sim/include>
                             $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  # Beside the module, so the module finds it by name.
  install(TARGETS DLLG2 EXPORT ecfVirtualPrinterTargets
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT virtual_printer
          RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT virtual_printer
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT virtual_printer)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/sim/include/ecfsim
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT virtual_printer)
  install(EXPORT ecfVirtualPrinterTargets NAMESPACE ecf:: DESTINATION ${ECF_CMAKE_PACKAGE_DIR}
          COMPONENT virtual_printer)
  install(FILES ${PROJECT_SOURCE_DIR}/sim/README.md RENAME virtual-printer.md
          DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT virtual_printer)
endif()

# ecfhost looks for the module beside itself (the build tree) and then where the
# installation puts it, found from its own directory so the prefix can move.
file(RELATIVE_PATH ECF_MODULE_DIR_FROM_BINDIR ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_LIBDIR})
target_compile_definitions(ecfhost PRIVATE
                           ECFHOST_INSTALLED_MODULE_DIR="${ECF_MODULE_DIR_FROM_BINDIR}")
install(TARGETS ecfhost RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT virtual_printer)

# ---- the service: ecfd with its example configuration and, on Linux, a systemd unit ----
if(TARGET ecfd)
  target_compile_definitions(ecfd PRIVATE ECFD_INSTALLED_MODULE_DIR="${ECF_MODULE_DIR_FROM_BINDIR}")
  install(TARGETS ecfd RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT virtual_printer)
  install(FILES ${PROJECT_SOURCE_DIR}/examples/service/ecfd.json
          DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples COMPONENT virtual_printer)
  if(NOT WIN32)
    set(ECFD_EXAMPLE_CONFIG ${CMAKE_INSTALL_FULL_DOCDIR}/examples/ecfd.json)
    configure_file(${PROJECT_SOURCE_DIR}/tools/ecfd/ecfd.service.in ${PROJECT_BINARY_DIR}/ecfd.service @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/ecfd.service
            DESTINATION lib/systemd/system COMPONENT virtual_printer)
  endif()
endif()

# ---- the CMake package ----
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/ecfConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/ecfConfig.cmake
                              INSTALL_DESTINATION ${ECF_CMAKE_PACKAGE_DIR})
# Before 1.0 a new minor version may change the interface.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ecfConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/ecfConfig.cmake ${PROJECT_BINARY_DIR}/ecfConfigVersion.cmake
        DESTINATION ${ECF_CMAKE_PACKAGE_DIR} COMPONENT development)

# ---- pkg-config ----
# The prefix is found from the file's own place, so the installation can move.
file(RELATIVE_PATH ECF_PC_PREFIX_FROM_PCDIR ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig
     ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" ECF_PC_PREFIX_FROM_PCDIR "${ECF_PC_PREFIX_FROM_PCDIR}")
foreach(dir LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
    set(ECF_PC_${dir} "${CMAKE_INSTALL_${dir}}")
  else()
    set(ECF_PC_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
  endif()
endforeach()
set(ECF_PC_DL "")
foreach(library IN LISTS CMAKE_DL_LIBS)
  string(APPEND ECF_PC_DL " -l${library}")
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/ecf.pc.in ${PROJECT_BINARY_DIR}/ecf.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/ecf.pc
        DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)

# ---- the host example, to build against the installation ----
install(FILES ${PROJECT_SOURCE_DIR}/examples/host/CMakeLists.txt
              ${PROJECT_SOURCE_DIR}/examples/host/minimal_host.cpp
              ${PROJECT_SOURCE_DIR}/examples/host/minimal_host_win32.cpp
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples/host COMPONENT development)
