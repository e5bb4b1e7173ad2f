# Reads a built DLL's export table (objdump -p) and checks that every name its headers
# declare is exported, undecorated: a host binds "DLLG2_Versao" or "AbreCupom" by exactly
# that name, never "DLLG2_Versao@0".
#   cmake -DOBJDUMP=<objdump> -DLIBRARY=<file.dll> -DHEADERS=<a.h,b.h> -P check_exports.cmake
# It also checks that the DLL imports only from the system's libraries: the compiler's
# runtime (libgcc, libstdc++, winpthread) is linked in, so a host ships nothing else.
# A header's names: the functions and variables its lines declare with ECF_API, ECF_C_API
# (the C interface, stdcall on 32-bit Windows: --kill-at leaves its names plain) or
# ECFSIM_API, and the driver's entry points named by its DLLG2_<entry>_t function types.
cmake_minimum_required(VERSION 3.25)

foreach(variable OBJDUMP LIBRARY HEADERS)
  if(NOT ${variable})
    message(FATAL_ERROR "check_exports: ${variable} is not set")
  endif()
endforeach()

string(REPLACE "," ";" HEADERS "${HEADERS}")

execute_process(COMMAND ${OBJDUMP} -p ${LIBRARY} OUTPUT_VARIABLE dump RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${LIBRARY} failed (${status})")
endif()
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" start)
if(start LESS 0)
  message(FATAL_ERROR "${LIBRARY} has no export name table")
endif()
string(SUBSTRING "${dump}" ${start} -1 table)
string(REGEX MATCHALL "\n[ \t]*\\[ *[0-9]+\\] [^\n]+" rows "${table}")
set(exported "")
foreach(row IN LISTS rows)
  string(REGEX REPLACE "^\n[ \t]*\\[ *[0-9]+\\] " "" name "${row}")
  list(APPEND exported "${name}")
endforeach()

set(declared "")
foreach(header IN LISTS HEADERS)
  file(STRINGS ${header} lines REGEX "^(ECF_API|ECF_C_API|ECFSIM_API) |DLLG2_[A-Za-z]+_t\\)")
  foreach(line IN LISTS lines)
    if(line MATCHES "DLLG2_([A-Za-z]+)_t\\)")
      list(APPEND declared "DLLG2_${CMAKE_MATCH_1}")
    elseif(line MATCHES "^[A-Z_]+ [^(;]*[ *&]([A-Za-z_][A-Za-z0-9_]*) *[(;[]")
      list(APPEND declared "${CMAKE_MATCH_1}")
    endif()
  endforeach()
endforeach()
list(REMOVE_DUPLICATES declared)
list(LENGTH declared declaredCount)
if(declaredCount EQUAL 0)
  message(FATAL_ERROR "no exported name found in ${HEADERS}")
endif()

set(missing "")
foreach(name IN LISTS declared)
  if(NOT name IN_LIST exported)
    list(APPEND missing "${name}")
  endif()
endforeach()
set(decorated "")
foreach(name IN LISTS exported)
  if(name MATCHES "@[0-9]+$" OR name MATCHES "^_[A-Za-z]+[A-Za-z0-9_]*@")
    list(APPEND decorated "${name}")
  endif()
endforeach()

string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
set(foreign "")
foreach(import IN LISTS imports)
  string(REPLACE "DLL Name: " "" import "${import}")
  if(import MATCHES "^lib")
    list(APPEND foreign "${import}")
  endif()
endforeach()

get_filename_component(file ${LIBRARY} NAME)
if(foreign)
  message(FATAL_ERROR "${file}: needs [${foreign}] beside it")
endif()
if(missing OR decorated)
  message(FATAL_ERROR "${file}: not exported: [${missing}]; decorated: [${decorated}]")
endif()
list(LENGTH exported exportedCount)
message(STATUS "${file}: all ${declaredCount} declared names exported undecorated "
               "(${exportedCount} exports)")
