#include "metrics.h"

#include <cstdio>

namespace ecfd {
namespace {

// A label value in Prometheus' quoting: backslash, quote and line feed escaped.
std::string label(const std::string& value) {
  std::string out;
  for (const char c : value) {
    if (c == '\\' || c == '"') out += '\\';
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    out += c;
  }
  return out;
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

}  // namespace

void Metrics::documentPrinted(const std::string& kind) {
  std::lock_guard<std::mutex> lock(mutex_);
  ++documents_[kind.empty() ? "unknown" : kind];
}

void Metrics::refusal(const std::string& errorName) {
  std::lock_guard<std::mutex> lock(mutex_);
  ++refusals_[errorName.empty() ? "unknown" : errorName];
}

void Metrics::request(int status, double seconds) {
  std::lock_guard<std::mutex> lock(mutex_);
  ++responses_[status];
  ++durationCount_;
  durationSum_ += seconds;
  for (std::size_t i = 0; i < kBuckets.size(); ++i) {
    if (seconds <= kBuckets[i]) ++bucketCounts_[i];
  }
}

void Metrics::printerState(const Json& status) {
  std::lock_guard<std::mutex> lock(mutex_);
  status_ = status;
}

std::string Metrics::render(std::size_t queueDepth) const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::string out;
  out += "# HELP ecfd_documents_printed_total Documents on the printer's tape, by kind.\n";
  out += "# TYPE ecfd_documents_printed_total counter\n";
  for (const auto& [kind, count] : documents_) {
    out += "ecfd_documents_printed_total{kind=\"" + label(kind) + "\"} " + std::to_string(count) + "\n";
  }
  out += "# HELP ecfd_printer_refusals_total Commands the printer refused, by its error name.\n";
  out += "# TYPE ecfd_printer_refusals_total counter\n";
  for (const auto& [name, count] : refusals_) {
    out += "ecfd_printer_refusals_total{error=\"" + label(name) + "\"} " + std::to_string(count) + "\n";
  }
  out += "# HELP ecfd_queue_depth Requests waiting for the printer or running.\n";
  out += "# TYPE ecfd_queue_depth gauge\n";
  out += "ecfd_queue_depth " + std::to_string(queueDepth) + "\n";
  out += "# HELP ecfd_http_responses_total Responses sent, by status code.\n";
  out += "# TYPE ecfd_http_responses_total counter\n";
  for (const auto& [status, count] : responses_) {
    out += "ecfd_http_responses_total{code=\"" + std::to_string(status) + "\"} " +
           std::to_string(count) + "\n";
  }
  out += "# HELP ecfd_http_request_duration_seconds Time from a request read to its answer.\n";
  out += "# TYPE ecfd_http_request_duration_seconds histogram\n";
  for (std::size_t i = 0; i < kBuckets.size(); ++i) {
    out += "ecfd_http_request_duration_seconds_bucket{le=\"" + number(kBuckets[i]) + "\"} " +
           std::to_string(bucketCounts_[i]) + "\n";
  }
  out += "ecfd_http_request_duration_seconds_bucket{le=\"+Inf\"} " + std::to_string(durationCount_) + "\n";
  out += "ecfd_http_request_duration_seconds_sum " + number(durationSum_) + "\n";
  out += "ecfd_http_request_duration_seconds_count " + std::to_string(durationCount_) + "\n";
  const auto gauge = [&](const char* name, const char* help, const char* field) {
    out += std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " gauge\n";
    const bool known = status_.is_object() && status_.contains(field) && status_.at(field).is_boolean();
    out += std::string(name) + " " + (known ? (status_.at(field).get<bool>() ? "1" : "0") : "NaN") + "\n";
  };
  gauge("ecfd_printer_on_line", "1 when the printer answered its last status reading.", "onLine");
  gauge("ecfd_printer_day_open", "1 while a fiscal day is open.", "dayOpen");
  gauge("ecfd_printer_z_pending", "1 when a Z reduction is pending.", "zPending");
  gauge("ecfd_printer_paper_out", "1 when the printer has no paper.", "paperOut");
  gauge("ecfd_printer_document_open", "1 while a document is open.", "documentOpen");
  return out;
}

}  // namespace ecfd
