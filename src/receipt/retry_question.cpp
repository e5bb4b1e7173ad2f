#include "receipt/retry_question.h"

#include "host/datamodule.h"
#include "host/operator.h"

namespace ecf {

bool tefRetryMode(const std::string& tefModeText, bool usesCards) {
  return (tefModeText == "S" || tefModeText == "T") && usesCards;
}

std::string printerNotRespondingQuestion() { return msgPadrao("Imp_N_Resp"); }

bool askToPrintAgain(const std::string& question, const std::string& scheme) {
  return askRetry(question, scheme);
}

bool attemptUntilAccepted(const std::function<bool()>& attempt, bool offerRetry,
                          const std::function<std::string()>& question,
                          const std::string& scheme, const std::function<void()>& onYes) {
  while (!attempt()) {
    if (!offerRetry || !askToPrintAgain(question(), scheme)) return false;
    if (onYes) onYes();
  }
  return true;
}

}  // namespace ecf
