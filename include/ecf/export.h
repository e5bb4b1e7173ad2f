// Visibility of the module's public surface. Everything else stays hidden.
#pragma once

#if defined(_WIN32)
#  if defined(ECF_BUILDING_MODULE)
#    define ECF_API __declspec(dllexport)
#  else
// A host binds the module's names at run time, and the public types are compiled into the
// host from the platform libraries, so nothing is imported by declaration.
#    define ECF_API
#  endif
#else
#  define ECF_API __attribute__((visibility("default")))
#endif
