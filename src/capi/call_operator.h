// The operator during one call of the C interface: the request's answers come first, then
// the host's operator (a C callback or a C++ one), else the answer is no. Every notice and
// question is kept for the reply.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "capi/json_values.h"
#include "ecf/ecf.h"
#include "ecf/host.h"

namespace ecf::capi {

// True for the life of a scope: how a call from inside a call or an operator is recognised.
class RaisedFlag {
 public:
  explicit RaisedFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~RaisedFlag() { flag_ = false; }
  RaisedFlag(const RaisedFlag&) = delete;
  RaisedFlag& operator=(const RaisedFlag&) = delete;

 private:
  bool& flag_;
};

// Installed in front of the host's operator for its lifetime.
class CallOperator {
 public:
  explicit CallOperator(std::vector<bool> answers);
  ~CallOperator();
  CallOperator(const CallOperator&) = delete;
  CallOperator& operator=(const CallOperator&) = delete;

  // "notices": [texts], "questions": [{"text", "answer": "yes" | "no"}].
  void addTo(Json& reply) const;

 private:
  bool answer(const OperatorMessage& message);
  bool forward(const OperatorMessage& message);

  std::vector<bool> answers_;
  std::size_t nextAnswer_ = 0;
  OperatorCallback host_;
  Json notices_ = Json::array();
  Json questions_ = Json::array();
};

// The message as the C callback receives it:
//   {"text": ..., "kind": "notice" | "question", "scheme": ..., "type": 3}
std::string operatorMessageJson(const OperatorMessage& message);

// Installs a C host's operator (NULL removes it).
void installCOperator(ecf_operator_fn callback, void* context);

// True while an operator callback runs: the module may not be re-entered from it.
bool insideOperator();

}  // namespace ecf::capi
