// On Windows a file open in another program without delete sharing cannot be replaced:
// the printer waits about a second for it, then refuses the command and keeps its memory
// and its tape as they were. (Elsewhere a rename replaces an open file at once.) A reading
// completes a document, so it replaces the state file.
#include <windows.h>

#include "sim_fixture.h"

namespace simtest {
namespace {

class HeldStateFile : public SimTest {};

TEST_F(HeldStateFile, AReaderThatNeverLetsGoMakesTheSaveFailCleanly) {
  const std::filesystem::path statePath = directory() / "state.json";
  const std::string tapeBefore = tape();
  const HANDLE reader = ::CreateFileW(statePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  const Answer refused = send("EmiteLeituraX", {});
  ::CloseHandle(reader);
  EXPECT_EQ(refused.code, 12) << refused.circumstance;  // FalhaGravacao
  EXPECT_NE(refused.circumstance.find("state.json"), std::string::npos) << refused.circumstance;
  EXPECT_EQ(tape(), tapeBefore);
  EXPECT_FALSE(std::filesystem::exists(directory() / "state.json.tmp"));

  // Once the reader is gone the same command goes through, from the memory kept.
  const Answer read = send("EmiteLeituraX", {});
  EXPECT_EQ(read.code, 0) << read.circumstance;
  EXPECT_EQ(readInteger("COO"), "1");
}

}  // namespace
}  // namespace simtest
