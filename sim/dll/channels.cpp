#include "dll/channels.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <limits>

#include "base/utf8_path.h"
#include "core/state_store.h"

namespace ecfsim {

std::optional<std::filesystem::path> printerDirectory(std::string_view port) {
  const auto root = stateRoot();
  if (!root) return std::nullopt;
  return *root / sanitizePortName(port);
}

Registry& Registry::instance() {
  static Registry registry;
  return registry;
}

std::shared_ptr<Printer> Registry::openPrinter(const std::filesystem::path& directory) {
  const auto it = printers_.find(ecf::utf8FromPath(directory));
  return it == printers_.end() ? nullptr : it->second.lock();
}

std::int32_t Registry::open(std::string_view port) {
  const auto directory = printerDirectory(port);
  if (!directory) return -1;
  std::shared_ptr<Printer> printer = openPrinter(*directory);
  if (!printer) {
    try {
      printer = Printer::open(*directory);
    } catch (const std::exception& error) {
      // The entry point can only say -2; the reason (an unreadable state names its file
      // and field) goes where an integrator looks.
      std::fprintf(stderr, "ecfsim: %s\n", error.what());
      return -2;
    }
    printers_[ecf::utf8FromPath(*directory)] = printer;
  }
  if (printer->state().conditions.refuseOpen) return -3;
  const std::int32_t channel = next_;
  next_ = next_ == std::numeric_limits<std::int32_t>::max() ? 1 : next_ + 1;
  channels_[channel].printer = printer;
  return channel;
}

bool Registry::close(std::int32_t channel) {
  if (channels_.erase(channel) != 1) return false;
  for (auto it = printers_.begin(); it != printers_.end();) {
    it = it->second.expired() ? printers_.erase(it) : std::next(it);
  }
  return true;
}

Channel* Registry::find(std::int32_t channel) {
  const auto it = channels_.find(channel);
  return it == channels_.end() ? nullptr : &it->second;
}

void copyOut(const std::string& text, char* buffer, std::int32_t size, bool utf8) {
  if (buffer == nullptr || size <= 0) return;
  std::size_t length = std::min(text.size(), static_cast<std::size_t>(size) - 1);
  if (utf8 && length < text.size()) {
    // Step back over continuation bytes so the cut falls between characters.
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  }
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

}  // namespace ecfsim
