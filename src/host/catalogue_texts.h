// The catalogue texts compiled into the module (rows of key, "|", text).
#pragma once

namespace ecf {
extern const char* const kMsgPadraoText;
extern const char* const kMsgPadrao2Text;
}  // namespace ecf
