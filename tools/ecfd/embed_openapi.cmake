# Writes the OpenAPI JSON as a C++ text constant.
file(READ ${INPUT} document)
file(WRITE ${OUTPUT} "// Generated from tools/ecfd/openapi.json.\n#include <string>\nnamespace ecfd {\nextern const char* const kOpenApiDocument;\nconst char* const kOpenApiDocument = R\"ecfd_openapi(${document})ecfd_openapi\";\n}  // namespace ecfd\n")
