#include "wuerfelomat.h"

#include "numbers/Text.h"

#include <chrono>

namespace dice {

namespace {

std::uint64_t splitmix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

std::uint64_t rotl(std::uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

std::uint64_t systemClock() {
    return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

} // namespace

MixingGenerator::MixingGenerator(std::uint64_t seed)
    : m_state{splitmix(seed), splitmix(seed ^ 0xA5A5A5A5A5A5A5A5ULL)} {
    if (m_state[0] == 0 && m_state[1] == 0)
        m_state[1] = 1;
}

void MixingGenerator::reseed(std::uint64_t clockValue) {
    // Mixing (not replacing) keeps the sequence going when the clock has not moved.
    m_state[0] ^= splitmix(clockValue);
    if (m_state[0] == 0 && m_state[1] == 0)
        m_state[1] = 1;
    next();
}

std::uint64_t MixingGenerator::next() {
    // xoroshiro128+
    const std::uint64_t s0 = m_state[0];
    std::uint64_t s1 = m_state[1];
    const std::uint64_t result = s0 + s1;
    s1 ^= s0;
    m_state[0] = rotl(s0, 24) ^ s1 ^ (s1 << 16);
    m_state[1] = rotl(s1, 37);
    return result;
}

float MixingGenerator::uniform() {
    // 24 random bits fill a float's mantissa exactly: values k / 2^24, all below 1.
    return static_cast<float>(next() >> 40) * (1.0f / 16777216.0f);
}

Wuerfelomat::Wuerfelomat() : Wuerfelomat(std::make_unique<MixingGenerator>(), systemClock) {}

Wuerfelomat::Wuerfelomat(std::unique_ptr<RandomSource> source, Clock clock)
    : m_source(std::move(source)), m_clock(std::move(clock)) {}

Int16 Wuerfelomat::WirfW6() {
    m_source->reseed(m_clock());
    // In double, 6 x r is exact for every 24-bit r: no value just below a sixth rounds up into
    // the next face, as it would in single precision.
    const double r = m_source->uniform();
    const int die = static_cast<int>(6.0 * r) + 1;
    // A source that rounds up to 1.0 must still give a six, never a seven.
    return static_cast<Int16>(die > 6 ? 6 : die < 1 ? 1 : die);
}

Int16 Wuerfelomat::WirfW6Offen() {
    const Int16 first = WirfW6();
    if (first != 6)
        return first;
    Int16 total = first;
    Int16 last;
    do {
        last = WirfW6();
        total = numbers::add(total, last); // an endless run of sixes ends in Overflow, not a wrap
    } while (last == 6);
    return total;
}

std::optional<QList<Int16>> Wuerfelomat::openEnded(Int16 count, Int16, Purpose) {
    QList<Int16> totals;
    for (Int16 i = 0; i < count; ++i)
        totals.append(WirfW6Offen());
    return totals;
}

std::optional<QList<Int16>> Wuerfelomat::plain(Int16 count, Purpose) {
    QList<Int16> faces;
    for (Int16 i = 0; i < count; ++i)
        faces.append(WirfW6());
    return faces;
}

std::optional<Roll> ZaehleErfolge(Dice& dice, const Int16& mindestwurf, const Int16& anzahl,
                                  Purpose purpose) {
    const Int16 count = anzahl; // read once, before the first die
    if (count <= 0)
        return Roll{};
    const auto totals = dice.openEnded(count, mindestwurf, purpose);
    if (!totals)
        return std::nullopt;
    Roll roll{*totals, 0};
    for (Int16 total : roll.dice)
        if (total >= mindestwurf)
            ++roll.successes;
    return roll;
}

QString Dice::text(const QList<Int16>& dice) const {
    QStringList faces;
    for (Int16 die : dice)
        faces << numbers::intText(die);
    return faces.join(u' ');
}

} // namespace dice
