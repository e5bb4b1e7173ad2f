// The driver library's entry points as the rest of the module calls them: bound by
// name, guarded against use while unbound or with the port closed, and converting text
// to Windows-1252 on the way in and back to UTF-8 on the way out.
#pragma once

#include <cstdint>
#include <string>

namespace ecf::driver {

// "DLLG2.dll" on Windows, "libDLLG2.so" elsewhere.
const char* libraryName();

// Loads the library once and binds the 19 entries in order. At the first missing entry
// every reference is cleared and the binding fails; the handle stays loaded.
bool bind();
// Clears the 19 references, in binding order.
void unbind();
bool bound();

// Whether a channel is open: set by a successful port opening, cleared by closing the
// port or unbinding. Commands are refused (DriverUnavailable) while it is false.
bool portOpen();

std::int32_t openPort(const std::string& port);  // IniciaDriver; remembers the channel
std::int32_t configure(std::int32_t speed, std::int32_t options);
std::int32_t defineTimeout(std::int32_t seconds);
std::int32_t closePort();                           // EncerraDriver

void clearParams();
void addParam(const std::string& name, const std::string& value, std::int32_t type);
std::int32_t execute(const std::string& command);
std::int32_t errorCode();
std::string errorName();
std::string errorCircumstance();
std::string returns();  // the texts returned by the last command

// Why the port did not open: the driver's error entries asked with the negative channel
// that IniciaDriver returned. Code 0 or less when the driver tells nothing.
struct OpeningError {
  std::int32_t code = 0;
  std::string name;
  std::string circumstance;
};
OpeningError openingError();

}  // namespace ecf::driver
