# Packages of the install components (cmake/install.cmake), built by scripts/package.sh:
# one Debian package per component; a Windows build packs all its files into one .zip.
set(CPACK_PACKAGE_NAME ecf)
set(CPACK_PACKAGE_VENDOR "ECF module developers")
set(ECF_PACKAGE_MAINTAINER "ECF module developers <ecf-module@example.org>"
    CACHE STRING "Maintainer field of the packages: name <address>")
set(CPACK_PACKAGE_CONTACT ${ECF_PACKAGE_MAINTAINER})
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL runtime development)
if(TARGET DLLG2)
  list(APPEND CPACK_COMPONENTS_ALL virtual_printer)
endif()

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_PACKAGE_FILE_NAME ecf-${PROJECT_VERSION}-windows-x64)
  else()
    set(CPACK_PACKAGE_FILE_NAME ecf-${PROJECT_VERSION}-windows-x86)
  endif()
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  # A component's CPACK_COMPONENT_<name>_DEPENDS becomes "Depends: <package> (= version)".
  set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
  # Each description's first line is the package's synopsis.
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ECF_PACKAGE_MAINTAINER})
  # What the compiled code needs of the C and C++ runtimes, written out rather than read
  # by dpkg-shlibdeps: the floor of a Debian 12 build (glibc 2.34, GCC 11's libstdc++).
  set(ECF_DEBIAN_RUNTIME_DEPENDS "libc6 (>= 2.34), libgcc-s1 (>= 3.0), libstdc++6 (>= 11)")

  set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libecfmodule0)
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS ${ECF_DEBIAN_RUNTIME_DEPENDS})
  # It needs a driver library: the maker's, or the virtual printer.
  set(CPACK_DEBIAN_RUNTIME_PACKAGE_SUGGESTS ecf-virtual-printer)
  set(CPACK_DEBIAN_RUNTIME_DESCRIPTION
      "fiscal-printer driver module for point-of-sale hosts
The module (libecfmodule.so) that a point-of-sale host loads at run time to drive a
Brazilian fiscal printer: receipts, cash supply and withdrawal, management reports,
X reading and Z reduction. It drives the printer through the printer's driver library
(libDLLG2.so), which it finds installed beside itself.")

  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libecfmodule-dev)
  set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
  set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS runtime)
  set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION
      "fiscal-printer driver module for point-of-sale hosts - development files
The C++20 headers a host compiles against to call the module's operations, the
static platform libraries that implement their types (ecfdata, ecfbase), the CMake
package (find_package(ecf)), the pkg-config file (ecf.pc) and an example host.")

  set(CPACK_DEBIAN_VIRTUAL_PRINTER_PACKAGE_NAME ecf-virtual-printer)
  set(CPACK_DEBIAN_VIRTUAL_PRINTER_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_VIRTUAL_PRINTER_PACKAGE_DEPENDS ${ECF_DEBIAN_RUNTIME_DEPENDS})
  set(CPACK_COMPONENT_VIRTUAL_PRINTER_DEPENDS runtime)
  set(CPACK_DEBIAN_VIRTUAL_PRINTER_DESCRIPTION
      "virtual fiscal printer and host tool for the fiscal-printer module
A stand-in for the printer's driver library (libDLLG2.so, installed beside the
module) backed by a model of a fiscal printer that prints onto a paper-tape file,
its controls for tests (header and CMake target ecf::virtual_printer), ecfhost,
a small point-of-sale host that runs a demonstration day and scenario files, and
ecfd, the printer as a local HTTP/JSON service (with a systemd unit).
Leave it out where the printer maker's own driver library is installed.")
endif()

include(CPack)
