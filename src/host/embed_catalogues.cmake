# Turns the two catalogue text files into a C++ source, so the texts travel inside the module.
file(READ "${PADRAO}" padrao)
file(READ "${PADRAO2}" padrao2)
foreach(text padrao padrao2)
  string(FIND "${${text}}" ")ecfcatalogue\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "catalogue text contains the raw-string delimiter")
  endif()
endforeach()
file(WRITE "${OUT}" "// Generated from msgPadrao.txt and msgPadrao2.txt; edit those files.\n"
  "#include \"host/catalogue_texts.h\"\n"
  "namespace ecf {\n"
  "const char* const kMsgPadraoText = R\"ecfcatalogue(${padrao})ecfcatalogue\";\n"
  "const char* const kMsgPadrao2Text = R\"ecfcatalogue(${padrao2})ecfcatalogue\";\n"
  "}  // namespace ecf\n")
