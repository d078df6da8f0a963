#pragma once
// The dice: the only source of chance. Where they come from is one small interface with two
// implementations, the generator here and the dice a user rolled at the table and typed in;
// no rule knows which one it got. The generator lives for the whole run; before every die it
// takes in the clock, as the table-top program always did, without restarting its sequence
// when the clock has not moved. Generator and clock are replaceable for tests.

#include "numbers/Checked.h"

#include <QList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace dice {

using numbers::Int16;

// Uniform floats in [0, 1) that can take in a clock value.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual void reseed(std::uint64_t clockValue) = 0;
    virtual float uniform() = 0;
};

// The default generator: xoroshiro128+ state, clock values mixed in by SplitMix64.
class MixingGenerator final : public RandomSource {
  public:
    explicit MixingGenerator(std::uint64_t seed = 0x5A4E1BEC0DEULL);
    void reseed(std::uint64_t clockValue) override;
    float uniform() override;

  private:
    std::uint64_t next();
    std::uint64_t m_state[2];
};

// The dice of one success test in rolling order, each an open-ended total, and how many of
// them reached the target.
struct Roll {
    QList<Int16> dice;
    Int16 successes = 0;
};

// What the dice of a roll are for; dice typed in by hand are asked for by this name.
enum class Purpose { Healing, Etiquette, DoctorSearch };

// Where the dice of a roll come from. Both give nothing when the user abandons the roll.
class Dice {
  public:
    virtual ~Dice() = default;
    // `count` open-ended totals (each 1 or more, never a multiple of 6) rolled against `target`.
    virtual std::optional<QList<Int16>> openEnded(Int16 count, Int16 target, Purpose purpose) = 0;
    // `count` plain dice, 1 to 6.
    virtual std::optional<QList<Int16>> plain(Int16 count, Purpose purpose) = 0;
    // The dice are typed in at the table, not rolled by the program.
    virtual bool byHand() const { return false; }
    // A roll as the record writes it: "13 3 2".
    virtual QString text(const QList<Int16>& dice) const;
};

// The success test: `anzahl` open-ended dice (none when 0 or negative) against `mindestwurf`,
// a total equal to the target counting. Nothing when the dice were not given.
std::optional<Roll> ZaehleErfolge(Dice& dice, const Int16& mindestwurf, const Int16& anzahl,
                                  Purpose purpose);

class Wuerfelomat final : public Dice {
  public:
    // The most dice one success test takes; the rules refuse more, naming the field.
    static constexpr Int16 maxDice = 100;
    using Clock = std::function<std::uint64_t()>;

    // Defaults: MixingGenerator and the system clock in nanoseconds.
    Wuerfelomat();
    Wuerfelomat(std::unique_ptr<RandomSource> source, Clock clock);

    // One die, 1 to 6.
    Int16 WirfW6();
    // An open-ended die: every six is rolled again and added, so the total is never a multiple
    // of 6. A run of sixes longer than a 16-bit total holds throws numbers::Overflow.
    Int16 WirfW6Offen();

    std::optional<QList<Int16>> openEnded(Int16 count, Int16 target, Purpose purpose) override;
    std::optional<QList<Int16>> plain(Int16 count, Purpose purpose) override;

  private:
    std::unique_ptr<RandomSource> m_source;
    Clock m_clock;
};

} // namespace dice
