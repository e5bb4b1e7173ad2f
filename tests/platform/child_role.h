// Scenarios that must run in a process of their own (a driver library stays loaded once
// loaded; a process that dies without closing the printer): a test program registers a
// role, and the test starts the program again as a child that plays only that role.
#pragma once

#include <functional>
#include <string>

#include "platform/test_platform.h"

namespace testplatform {

// Registered at static initialisation. When this program runs as the child of that
// role, `body` runs before any test and its result is the child's exit status.
class ChildRole {
 public:
  ChildRole(std::string name, std::function<int()> body);
};

// Starts this test program as the child playing `name`, with `variables` added to its
// environment; returns its exit status (0 = every check held). With `home`, a copy of the
// program placed there is started instead, working there: a host program's own directory
// is where a library is looked for first.
int runChildRole(const std::string& name, const Variables& variables = {},
                 const std::filesystem::path& home = {});

}  // namespace testplatform
