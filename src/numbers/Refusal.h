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

struct Refusal {
    QString message;
};
// The user left the dice dialog: the press or search is as if never made, and says nothing.
struct Abandoned {};
// A trade step at its limit: it does nothing and says nothing.
struct AtLimit {};

template <class Outcome> class Result {
  public:
    Result(Outcome outcome) : m_value(std::move(outcome)) {}
    Result(Refusal refusal) : m_value(std::move(refusal)) {}
    Result(Abandoned abandoned) : m_value(abandoned) {}
    Result(AtLimit atLimit) : m_value(atLimit) {}

    // No outcome, for whichever of the three reasons.
    bool refused() const { return !std::holds_alternative<Outcome>(m_value); }
    bool abandoned() const { return std::holds_alternative<Abandoned>(m_value); }
    bool atLimit() const { return std::holds_alternative<AtLimit>(m_value); }
    // The message of a refusal; nothing for an outcome, abandoned dice or a step at its limit.
    QString refusal() const {
        const auto* refusal = std::get_if<Refusal>(&m_value);
        return refusal ? refusal->message : QString();
    }

    const Outcome& operator*() const { return std::get<Outcome>(m_value); }
    Outcome& operator*() { return std::get<Outcome>(m_value); }
    const Outcome* operator->() const { return &std::get<Outcome>(m_value); }
    Outcome* operator->() { return &std::get<Outcome>(m_value); }

  private:
    std::variant<Refusal, Abandoned, AtLimit, Outcome> m_value;
};

// Thrown by refuse() and caught only by decide().
struct Refused {
    QString message;
};

[[noreturn]] inline void refuse(const QString& message) {
    throw Refused{message};
}

// Ends a decision whose dice the user did not give; decide() makes it Abandoned.
[[noreturn]] inline void abandon() {
    throw Abandoned{};
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
    } catch (const Abandoned& abandoned) {
        return abandoned;
    } catch (const Overflow&) {
        return Refusal{overflowMessage};
    }
}

} // namespace numbers
