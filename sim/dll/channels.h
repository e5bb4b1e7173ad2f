// The channels of this process: each DLLG2_IniciaDriver gives one, bound to the printer
// of its port. Channels of the same port share one printer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/params.h"
#include "core/printer.h"

namespace ecfsim {

struct Channel {
  std::shared_ptr<Printer> printer;
  std::vector<Param> pending;
  CommandOutcome last;
  std::int32_t speed = 0;
  std::int32_t options = 0;
  std::int32_t timeout = 0;
  std::string logPath;
  // Windows-1252 texts handed out; each stays valid until the next call that renews it.
  std::string errorNameText;
  std::string circumstanceText;
  std::string returnedText;
  std::string scratchText;
};

// The directory of the port's printer under the state root; nothing without a root.
std::optional<std::filesystem::path> printerDirectory(std::string_view port);

// Why the last DLLG2_IniciaDriver of this process failed, as a command's refusal reads.
struct OpenFailure {
  std::int32_t code = 0;
  std::string errorName;     // Windows-1252, as handed out
  std::string circumstance;  // Windows-1252
};

class Registry {
 public:
  static Registry& instance();
  // Every entry point and control holds this while it works.
  std::mutex& mutex() { return mutex_; }

  // A new channel for the port, or a negative number when the printer cannot be opened.
  std::int32_t open(std::string_view port);
  bool close(std::int32_t channel);
  Channel* find(std::int32_t channel);
  // The reason of the last failed opening; code 0 when the last opening succeeded.
  const OpenFailure& openFailure() const { return openFailure_; }
  // The printer of that directory when some channel has it open.
  std::shared_ptr<Printer> openPrinter(const std::filesystem::path& directory);

 private:
  std::mutex mutex_;
  std::map<std::int32_t, Channel> channels_;
  std::map<std::string, std::weak_ptr<Printer>> printers_;
  std::int32_t next_ = 1;
  OpenFailure openFailure_;

  std::int32_t refuseOpening(std::int32_t result, ErrorCode code, const std::string& why);
};

// Copies `text` into `buffer` (when size > 0), cut to size - 1 bytes without splitting
// a UTF-8 character when `utf8`, and NUL-terminated.
void copyOut(const std::string& text, char* buffer, std::int32_t size, bool utf8);

}  // namespace ecfsim
