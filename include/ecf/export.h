// Visibility of the module's public surface. Everything else stays hidden.
#pragma once

#if defined(_WIN32)
#  if defined(ECF_BUILDING_MODULE)
#    define ECF_API __declspec(dllexport)
#  else
#    define ECF_API __declspec(dllimport)
#  endif
#else
#  define ECF_API __attribute__((visibility("default")))
#endif
