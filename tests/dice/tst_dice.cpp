// The dice roller: the generator against its published definition, exact edges between faces,
// open-ended totals and the count of successes.

#include "ScriptedDice.h"

#include <QTest>
#include <array>
#include <bit>
#include <cmath>

using dice::Wuerfelomat;
using numbers::Int16;

namespace {

// Always the same value, to probe the mapping of [0, 1) to faces at its edges.
struct FixedSource final : dice::RandomSource {
    explicit FixedSource(float v) : value(v) {}
    void reseed(std::uint64_t) override {}
    float uniform() override { return value; }
    float value;
};

// SplitMix64 as its author publishes it. Its mixing keeps 0 at 0, so the seed that gives 0
// is minus its increment: that zeroes a word of the generator's state.
quint64 splitmix64(quint64 x) {
    quint64 z = x + 0x9e3779b97f4a7c15;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
    z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
    return z ^ (z >> 31);
}

constexpr quint64 other = 0xA5A5A5A5A5A5A5A5; // the second word is seeded from seed ^ other
const quint64 zeroFirst = 0 - 0x9e3779b97f4a7c15, zeroSecond = zeroFirst ^ other;

// A seed, a clock value taken in after it (0: none), and the state they must give.
struct Start {
    quint64 seed, clock, s0, s1;
};
// The target and count of a success test, the faces rolled, the dice and successes counted.
struct Throw {
    int target, count;
    QList<int> faces, dice;
    int successes;
};

} // namespace

Q_DECLARE_METATYPE(Start)
Q_DECLARE_METATYPE(Throw)

class tst_Dice : public QObject {
    Q_OBJECT

  private slots:
    // The generator's first outputs against xoroshiro128+ from the state its seed and clock
    // values give, also where they zero a word (the last two rows start with the second word
    // zeroed) or the whole state, which xoroshiro never leaves: the generator steps out to
    // {0, 1}. A clock value (0: none) spends an output.
    void generator_data() {
        QTest::addColumn<Start>("start");
        const quint64 s = 2026, s0 = splitmix64(s), s1 = splitmix64(s ^ other);
        QTest::newRow("seed") << Start{s, 0, s0, s1};
        QTest::newRow("first word 0") << Start{zeroFirst, 0, 0, splitmix64(zeroFirst ^ other)};
        QTest::newRow("clock zeroes first") << Start{s, s, 0, s1};
        QTest::newRow("clock, second 0")
            << Start{zeroSecond, 5, splitmix64(zeroSecond) ^ splitmix64(5), 0};
        QTest::newRow("clock zeroes all") << Start{zeroSecond, zeroSecond, 0, 1};
    }
    void generator() {
        QFETCH(Start, start);
        const auto [seed, clock, s0, s1] = start;
        // Built in zeroed memory, so that a read past the state sees zeros and shows.
        alignas(dice::MixingGenerator) std::array<std::byte, 64> zeroed{};
        auto* generator = new (zeroed.data()) dice::MixingGenerator(seed);
        if (clock)
            generator->reseed(clock);
        quint64 s[2] = {s0, s1};
        for (int i = 0; i < 9; ++i) { // xoroshiro128+, as published
            const quint64 result = s[0] + s[1];
            s[1] ^= s[0];
            s[0] = std::rotl(s[0], 24) ^ s[1] ^ (s[1] << 16);
            s[1] = std::rotl(s[1], 37);
            if (i > 0 || !clock)
                QCOMPARE(quint64(std::ldexp(generator->uniform(), 24)), result >> 40);
        }
    }

    // Every face edge k/6 of the generator's 24-bit values: the largest value below it still
    // gives face k, the edge itself face k + 1; 1.0 (a source that rounds up) gives a six.
    void faceEdges() {
        for (int k = 1; k <= 6; ++k) {
            const float edge = std::ldexp(std::ceil(std::ldexp(k / 6.0, 24)), -24);
            for (const auto& [value, face] : {std::pair{edge - std::ldexp(1.0f, -24), k},
                                              std::pair{edge, std::min(k + 1, 6)}}) {
                Wuerfelomat w(std::make_unique<FixedSource>(value), [] { return 0ull; });
                QCOMPARE(w.WirfW6(), face);
            }
        }
    }

    void successes_data() {
        QTest::addColumn<Throw>("t");
        QTest::newRow("chains") << Throw{13, 4, {6, 4, 1, 6, 6, 6, 1, 6, 6, 1}, {10, 1, 19, 13}, 2};
        QTest::newRow("seven needs a six") << Throw{7, 2, {5, 6, 1}, {5, 7}, 1};
        QTest::newRow("one die") << Throw{4, 1, {4}, {4}, 1};
        QTest::newRow("negative count") << Throw{4, -2, {}, {}, 0};
    }
    void successes() {
        QFETCH(Throw, t);
        ScriptedSource* source = nullptr;
        auto w = scriptedDice(t.faces, &source);
        const dice::Roll roll =
            *dice::ZaehleErfolge(*w, Int16(t.target), Int16(t.count), dice::Purpose::Healing);
        QCOMPARE(QList<int>(roll.dice.begin(), roll.dice.end()), t.dice);
        QCOMPARE(roll.successes, t.successes);
        QCOMPARE(source->clocks,
                 QList<std::uint64_t>(t.faces.size(), 42)); // the clock before each die
    }
};

QTEST_GUILESS_MAIN(tst_Dice)
#include "tst_dice.moc"
