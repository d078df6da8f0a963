#pragma once
// The dice: the only source of chance. One generator lives for the whole run; before every
// die it takes in the clock, as the table-top program always did, without restarting its
// sequence when the clock has not moved. Generator and clock are replaceable for tests.

#include "numbers/Checked.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>

namespace dice {

using numbers::Int16;

// Uniform floats in [0, 1) that can take in a clock value.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual void reseed(std::uint64_t clockValue) = 0;
    virtual float uniform() = 0;
};

// The default generator: xoshiro128+ style state, clock values mixed in by SplitMix64.
class MixingGenerator final : public RandomSource {
  public:
    explicit MixingGenerator(std::uint64_t seed = 0x5A4E1BEC0DEULL);
    void reseed(std::uint64_t clockValue) override;
    float uniform() override;

  private:
    std::uint64_t next();
    std::uint64_t m_state[2];
};

// Where the dice of a success test are listed (the main window's result list).
class DiceSink {
  public:
    virtual ~DiceSink() = default;
    virtual void clearDice() = 0;
    virtual void appendDie(const QString& line) = 0;
};

// Collects the dice of a roll so that a rule can hand them to the window only once it has
// decided the whole press (a refused press must not leave new dice behind).
class RecordingSink final : public DiceSink {
  public:
    void clearDice() override { lines.clear(); }
    void appendDie(const QString& line) override { lines.append(line); }
    QStringList lines;
};

// More dice than the roll table holds; thrown before anything is rolled or listed.
class TooManyDice : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

class Wuerfelomat {
  public:
    static constexpr Int16 maxDice = 100;
    using Clock = std::function<std::uint64_t()>;

    // Defaults: MixingGenerator and the system clock in nanoseconds.
    Wuerfelomat();
    Wuerfelomat(std::unique_ptr<RandomSource> source, Clock clock);

    // One die, 1 to 6.
    Int16 WirfW6();
    // An open-ended die: every six is rolled again and added, so the total is never a multiple
    // of 6.
    Int16 WirfW6Offen();
    // Rolls `anzahl` open-ended dice against `mindestwurf`, lists every total in `sink`
    // (cleared first) and returns the successes; a total equal to the target counts.
    // Throws TooManyDice above maxDice before touching the sink.
    Int16 ZaehleErfolge(const Int16& mindestwurf, const Int16& anzahl, DiceSink& sink);

  private:
    std::unique_ptr<RandomSource> m_source;
    Clock m_clock;
};

} // namespace dice
