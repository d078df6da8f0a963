// The dice roller: fair faces, open-ended totals, the success count and its list.

#include "../numbers/TableRows.h"
#include "ScriptedDice.h"

#include <array>

using dice::Wuerfelomat;

namespace {

// Always the same value, to probe the mapping of [0, 1) to faces at its edges.
struct FixedSource final : dice::RandomSource {
    explicit FixedSource(float v) : value(v) {}
    void reseed(std::uint64_t) override {}
    float uniform() override { return value; }
    float value;
};

} // namespace

class tst_Wuerfelomat : public QObject {
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
            chi2 += (counts[face] - rolls / 6.0) * (counts[face] - rolls / 6.0) / (rolls / 6.0);
        // 20.5 is the 0.1 % quantile for 5 degrees of freedom; the seed is fixed.
        QVERIFY2(chi2 < 20.5, qPrintable(QString::number(chi2)));
    }

    void faceEdges() {
        for (const auto& [value, face] :
             {std::pair{0.0f, 1}, {0.1666666f, 1}, {1.0f / 6.0f, 2}, {0.99999994f, 6}, {1.0f, 6}}) {
            Wuerfelomat w(std::make_unique<FixedSource>(value), [] { return std::uint64_t(0); });
            QCOMPARE(w.WirfW6(), face);
        }
    }

    // target, number of dice, scripted faces, the list afterwards, successes
    void successes_data() {
        rows({"4|3|4 3 5|4 3 5|2", "13|4|6 4 1 6 6 6 1 6 6 1|10 1 19 13|2", "7|2|5 6 1|5 7|1",
              "-3|1|1|1|1", "4|0|||0", "4|-2|||0"});
    }
    void successes() {
        QFETCH(QStringList, t);
        ScriptedSource* source = nullptr;
        auto w = scriptedDice(faces(t[2]), &source);
        dice::RecordingSink sink;
        sink.lines = {QStringLiteral("old die")}; // the list is cleared first
        QCOMPARE(w->ZaehleErfolge(t[0].toShort(), t[1].toShort(), sink), t[4].toShort());
        QCOMPARE(sink.lines, t[3].split(u' ', Qt::SkipEmptyParts));
        QCOMPARE(source->rolled(), faces(t[2]).size());
        QCOMPARE(source->reseeds, source->rolled()); // the clock is taken in before every die
    }

    void moreThan100DiceTouchNothing() {
        ScriptedSource* source = nullptr;
        auto w = scriptedDice(QList<int>(100, 3), &source);
        dice::RecordingSink sink;
        sink.lines = {QStringLiteral("kept")};
        QVERIFY_THROWS_EXCEPTION(dice::TooManyDice, w->ZaehleErfolge(4, 101, sink));
        QCOMPARE(sink.lines, QStringList{QStringLiteral("kept")});
        QCOMPARE(source->rolled(), 0);
        QCOMPARE(w->ZaehleErfolge(4, 100, sink), 0);
        QCOMPARE(sink.lines.size(), 100);
    }
};

QTEST_GUILESS_MAIN(tst_Wuerfelomat)
#include "tst_wuerfelomat.moc"
