#include "host/module_env.h"

#include <utility>

#include "ecf/module.h"

namespace ecf {
namespace {

// Delegates to the real environment, except for what the host chose to provide.
class HostEnv final : public Env {
 public:
  DateTime now() override { return clock_ ? clock_() : realEnv().now(); }
  std::string hostDirectory() override {
    return directory_.empty() ? realEnv().hostDirectory() : directory_;
  }
  bool fileExists(const std::string& path) override { return realEnv().fileExists(path); }
  bool directoryExists(const std::string& path) override {
    return realEnv().directoryExists(path);
  }
  bool readFile(const std::string& path, std::string& contents, std::string* error,
                std::size_t maxBytes) override {
    return realEnv().readFile(path, contents, error, maxBytes);
  }
  bool appendToFile(const std::string& path, const std::string& data,
                    std::string* error) override {
    return realEnv().appendToFile(path, data, error);
  }
  bool replaceFile(const std::string& path, const std::string& data,
                   std::string* error) override {
    return realEnv().replaceFile(path, data, error);
  }
  bool createDirectory(const std::string& path, std::string* error) override {
    return realEnv().createDirectory(path, error);
  }
  void* loadLibrary(const std::string& name, std::string* error) override {
    return realEnv().loadLibrary(name, error);
  }
  void* findSymbol(void* library, const std::string& name) override {
    return realEnv().findSymbol(library, name);
  }
  void delay(int count) override { realEnv().delay(count); }
  void processMessages() override {
    if (pump_) pump_();
  }

  std::string directory_;
  ClockCallback clock_;
  MessagePumpCallback pump_;
};

HostEnv& hostEnv() {
  static HostEnv env;
  return env;
}

HostSettings& mutableSettings() {
  static HostSettings settings;
  return settings;
}

}  // namespace

Env& moduleEnv() { return hostEnv(); }
const HostSettings& hostSettings() { return mutableSettings(); }

void installHostSettings(const HostSettings& settings) { mutableSettings() = settings; }

void installHostDirectory(const std::string& directory) {
  hostEnv().directory_ = directory.empty() ? std::string() : withTrailingSeparator(directory);
  dsDirCad = hostEnv().hostDirectory();
}

void installClock(ClockCallback clock) { hostEnv().clock_ = std::move(clock); }
void installMessagePump(MessagePumpCallback pump) { hostEnv().pump_ = std::move(pump); }

}  // namespace ecf
