// The real environment on a scratch directory of its own, removed after each test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/env.h"
#include "base/utf8_path.h"
#include "platform/test_platform.h"

namespace ecf {

class RealEnvTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = withTrailingSeparator(utf8FromPath(testplatform::makeScratchDirectory("ecf-env")));
  }
  void TearDown() override { std::filesystem::remove_all(pathFromUtf8(dir_)); }

  std::string read(const std::string& path) {
    std::string contents;
    std::string error;
    EXPECT_TRUE(env_.readFile(path, contents, &error)) << error;
    return contents;
  }

  Env& env_ = realEnv();
  std::string dir_;  // ends with the path separator
};

}  // namespace ecf
