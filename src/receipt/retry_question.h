// The operator's question whether to print again after the printer refused a sale
// command, shared by the opening, the items and the closing of a receipt.
#pragma once

#include <functional>
#include <string>

namespace ecf {

// A sale offers the question after a refusal only in TEF retry mode: its TEF mode text
// is exactly "S" or "T" (letter case matters) and it uses card transactions.
bool tefRetryMode(const std::string& tefModeText, bool usesCards);

// "Impressora não responde. Imprimir novamente?"
std::string printerNotRespondingQuestion();

// The question itself: true when the operator chooses to print again.
bool askToPrintAgain(const std::string& question, const std::string& scheme);

// Runs `attempt` until the printer accepts it. After a refusal the operator is asked
// the text `question` gives when `offerRetry`; each yes calls `onYes` and attempts again.
// False when a refusal is not retried. The question is composed only after a refusal.
bool attemptUntilAccepted(const std::function<bool()>& attempt, bool offerRetry,
                          const std::function<std::string()>& question, const std::string& scheme,
                          const std::function<void()>& onYes = {});

}  // namespace ecf
