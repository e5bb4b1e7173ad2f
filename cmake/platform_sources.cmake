# Platform files beside each other, chosen by the build: "<name>_win32.cpp" (and
# "<name>_win32_test.cpp") only for Windows, "<name>_posix.cpp" (and "<name>_posix_test.cpp")
# everywhere else. A folder that globs its sources passes the list through here.
function(ecf_platform_sources variable)
  if(WIN32)
    list(FILTER ${variable} EXCLUDE REGEX "_posix(_test)?\\.cpp$")
  else()
    list(FILTER ${variable} EXCLUDE REGEX "_win32(_test)?\\.cpp$")
  endif()
  set(${variable} ${${variable}} PARENT_SCOPE)
endfunction()
