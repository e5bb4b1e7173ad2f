#include "platform/child_role.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

namespace testplatform {
namespace {

constexpr const char* kRoleVariable = "ECF_TEST_CHILD_ROLE";

std::map<std::string, std::function<int()>>& roles() {
  static std::map<std::string, std::function<int()>> registered;
  return registered;
}

// Plays the child's role once the program has started, before any test runs.
class RoleEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    const auto role = environment(kRoleVariable);
    if (!role) return;
    const auto found = roles().find(*role);
    const int status = found == roles().end() ? 99 : found->second();
    std::fflush(nullptr);
    endAbruptly(status);
  }
};

}  // namespace

ChildRole::ChildRole(std::string name, std::function<int()> body) {
  if (roles().empty()) ::testing::AddGlobalTestEnvironment(new RoleEnvironment);
  roles().emplace(std::move(name), std::move(body));
}

int runChildRole(const std::string& name, const Variables& variables,
                 const std::filesystem::path& home) {
  Variables all = variables;
  all.emplace_back(kRoleVariable, name);
  std::filesystem::path program = currentProgram();
  if (!home.empty()) {
    std::filesystem::copy_file(program, home / program.filename());
    program = home / program.filename();
  }
  const ProcessRun run =
      runProcess(program, {}, home.empty() ? std::filesystem::current_path() : home, all);
  if (run.status != 0) std::fprintf(stderr, "child role %s:\n%s\n", name.c_str(), run.output.c_str());
  return run.status;
}

}  // namespace testplatform
