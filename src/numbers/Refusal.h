#pragma once
// How a rule says no. Every rule entry point returns a Result: either the refusal (one German
// message that names the field, so the user knows what to change) or the outcome. Inside a
// rule, refuse() ends the decision at once and orRefuse() names the message for a checked step
// that may leave the 16-bit range; decide() is the one place where both, and any overflow no
// step named, turn into the refused Result, so no exception ever leaves a rule.

#include "Checked.h"

#include <QString>
#include <utility>
#include <variant>

namespace numbers {

// An empty message refuses silently: a trade step at its limit does nothing and says nothing.
struct Refusal {
    QString message;
};

template <class Outcome> class Result {
  public:
    Result(Outcome outcome) : m_value(std::move(outcome)) {}
    Result(Refusal refusal) : m_value(std::move(refusal)) {}

    bool refused() const { return std::holds_alternative<Refusal>(m_value); }
    // The message, or nothing when there is an outcome.
    QString refusal() const { return refused() ? std::get<Refusal>(m_value).message : QString(); }

    const Outcome& operator*() const { return std::get<Outcome>(m_value); }
    Outcome& operator*() { return std::get<Outcome>(m_value); }
    const Outcome* operator->() const { return &std::get<Outcome>(m_value); }
    Outcome* operator->() { return &std::get<Outcome>(m_value); }

  private:
    std::variant<Refusal, Outcome> m_value;
};

// Thrown by refuse() and caught only by decide().
struct Refused {
    QString message;
};

[[noreturn]] inline void refuse(const QString& message) {
    throw Refused{message};
}

// Runs one checked step; if it leaves its range, the decision is refused with `message`.
template <class Step> auto orRefuse(const QString& message, Step step) -> decltype(step()) {
    try {
        return step();
    } catch (const Overflow&) {
        refuse(message);
    }
}

// Runs a rule's whole decision. An overflow that no step named is refused with
// `overflowMessage`, so even an unforeseen sum changes nothing and ends nothing.
template <class Decision>
auto decide(const QString& overflowMessage, Decision decision) -> Result<decltype(decision())> {
    try {
        return decision();
    } catch (const Refused& refused) {
        return Refusal{refused.message};
    } catch (const Overflow&) {
        return Refusal{overflowMessage};
    }
}

} // namespace numbers
