// The dice roller: fair faces, exact edges between faces, open-ended totals and the count of
// successes.

#include "ScriptedDice.h"

#include <QTest>
#include <array>
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

} // namespace

class tst_Dice : public QObject {
    Q_OBJECT

  private slots:
    // All dice of one test fall within one clock tick: they must still be fair, not copies.
    void fairWithinOneClockTick() {
        Wuerfelomat w(std::make_unique<dice::MixingGenerator>(7), [] { return std::uint64_t(99); });
        constexpr int rolls = 60000;
        std::array<int, 7> counts{};
        for (int i = 0; i < rolls; ++i)
            ++counts.at(w.WirfW6());
        double chi2 = 0;
        for (int face = 1; face <= 6; ++face)
            chi2 += std::pow(counts[face] - rolls / 6.0, 2) / (rolls / 6.0);
        // 20.5 is the 0.1 % quantile for 5 degrees of freedom; the seed is fixed.
        QVERIFY2(chi2 < 20.5, qPrintable(QString::number(chi2)));
        // The clock is mixed in: the same generator under another clock rolls other dice.
        const auto faces = [](std::uint64_t tick) {
            Wuerfelomat w(std::make_unique<dice::MixingGenerator>(7), [tick] { return tick; });
            QList<int> f;
            for (int i = 0; i < 20; ++i)
                f << w.WirfW6();
            return f;
        };
        QVERIFY(faces(99) != faces(100));
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
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("faces");
        QTest::addColumn<QList<int>>("dice");
        QTest::addColumn<int>("successes");
        QTest::newRow("chains") << 13 << 4 << QList{6, 4, 1, 6, 6, 6, 1, 6, 6, 1}
                                << QList{10, 1, 19, 13} << 2;
        QTest::newRow("seven needs a six") << 7 << 2 << QList{5, 6, 1} << QList{5, 7} << 1;
        QTest::newRow("negative count") << 4 << -2 << QList<int>{} << QList<int>{} << 0;
    }
    void successes() {
        QFETCH(int, target);
        QFETCH(int, count);
        QFETCH(QList<int>, faces);
        QFETCH(QList<int>, dice);
        QFETCH(int, successes);
        ScriptedSource* source = nullptr;
        auto w = scriptedDice(faces, &source);
        const dice::Roll roll =
            *dice::ZaehleErfolge(*w, Int16(target), Int16(count), dice::Purpose::Healing);
        QCOMPARE(QList<int>(roll.dice.begin(), roll.dice.end()), dice);
        QCOMPARE(roll.successes, successes);
        QCOMPARE(source->rolled(), faces.size());
        QCOMPARE(source->reseeds, source->rolled()); // the clock is taken in before every die
    }
};

QTEST_GUILESS_MAIN(tst_Dice)
#include "tst_dice.moc"
