#include "Forecast.h"

#include "Chance.h"
#include "numbers/Text.h"

#include <map>
#include <tuple>
#include <vector>

namespace odds {

namespace {

// The chances of 0..n successes of `dice` open-ended dice against `target`.
std::vector<double> successChances(int dice, int target) {
    return binomial(dice, openEndedChance(target));
}

// The likely numbers of successes of a prepared press, finished by the rule itself: those
// rarer than one in ten billion join their nearest likely neighbour. No shown figure can tell,
// and a recovery's sums stay small and quick.
Result<QList<Outcome>> likelyOutcomes(const healing::Press& prepared) {
    std::vector<double> chances =
        successChances(prepared.state.Konstitution, prepared.state.Mindestwurf);
    std::size_t first = 0, last = chances.size() - 1;
    constexpr double rare = 1e-10;
    for (; first < last && chances[first] < rare; ++first)
        chances[first + 1] += chances[first];
    for (; last > first && chances[last] < rare; --last)
        chances[last - 1] += chances[last];
    QList<Outcome> all;
    for (std::size_t k = first; k <= last; ++k) {
        const auto press = healing::finish(prepared, dice::Roll{{}, numbers::Int16(k)});
        if (press.refused())
            return numbers::Refusal{press.refusal()};
        const double cost =
            double(press->state.Kosten.ticks() - prepared.state.Kosten.ticks()) / 10000;
        all.append({chances[k], press->state.Heilungsdauer, cost});
    }
    return all;
}

// The doctor table over all 36 pairs of the 2W6, for a modifier.
void doctorRoll(int mod, double reached, SearchOdds& odds) {
    for (int w1 = 1; w1 <= 6; ++w1) {
        for (int w2 = 1; w2 <= 6; ++w2) {
            const care::Doctor d = care::BestimmeArzt(numbers::Int16(mod + w1 + w2));
            odds.skill[d.Fertigkeit] += 1.0 / 36;
            odds.equipment[d.Equipment] += 1.0 / 36;
            if (d.refused)
                odds.secondRefusal += reached / 36;
        }
    }
}

} // namespace

Result<NextPress> nextPress(const healing::HealingInput& input, const healing::Form1State& state) {
    // The press's own check before its dice: whatever it refuses shows here refused.
    const auto sure = healing::prepareSure(input, state);
    if (sure.refused())
        return numbers::Refusal{sure.refusal()};
    const healing::Press& prepared = sure->prepared;
    NextPress next;
    next.notIll = prepared.notIll;
    if (next.notIll)
        return next;
    next.hospital = prepared.hospital;
    next.target = prepared.state.Mindestwurf;
    next.dice = std::max(0, int(prepared.state.Konstitution));
    next.dieChance = openEndedChance(next.target);
    const std::vector<double> chances = successChances(next.dice, next.target);
    for (qsizetype k = 0; k < sure->finished.size(); ++k) {
        const healing::Form1State& after = sure->finished.at(k).state;
        const double cost = double(after.Kosten.ticks() - prepared.state.Kosten.ticks()) / 10000;
        next.outcomes.append({chances.at(std::size_t(k)), after.Heilungsdauer, cost});
        next.expectedHours += chances.at(std::size_t(k)) * after.Heilungsdauer;
        next.expectedCost += chances.at(std::size_t(k)) * cost;
    }
    return next;
}

Result<Recovery> recovery(const healing::HealingInput& input, const healing::Form1State& state) {
    healing::HealingInput in = input;
    healing::Form1State s = state;
    s.Kosten = {}; // each press's own cost
    const auto first = healing::prepare(in, s);
    if (first.refused())
        return numbers::Refusal{first.refusal()};
    Recovery recovery;
    if (first->notIll)
        return recovery;
    // A negative count heals with its first press, as every count below 1 does.
    const int boxes = first->state.Schadenskaestchen;
    recovery.presses = std::max(1, boxes);
    std::vector<Distribution> hours, cost;
    // Presses alike in everything finish() reads have the same outcomes: a long stay at the
    // floor of 2 is worked out once.
    using Alike = std::tuple<float, int, int, bool, bool>;
    std::map<Alike, std::pair<Distribution, Distribution>> seen;
    for (int i = 0; i < recovery.presses; ++i) {
        in.Schaden = numbers::intText(boxes - i);
        const auto prepared = healing::prepare(in, s);
        if (prepared.refused())
            return numbers::Refusal{prepared.refusal()};
        const healing::Form1State& p = prepared->state;
        const Alike alike{p.Grundzeitraum, p.Mindestwurf, p.Konstitution, p.Schadenskaestchen >= 10,
                          prepared->hospital};
        auto known = seen.find(alike);
        if (known == seen.end()) {
            const auto likely = likelyOutcomes(*prepared);
            if (likely.refused())
                return numbers::Refusal{likely.refusal()};
            std::vector<Point> h, c;
            for (const Outcome& o : *likely) {
                h.push_back({o.hours, o.chance});
                c.push_back({o.cost, o.chance});
            }
            known = seen.emplace(alike, std::pair{Distribution(h), Distribution(c)}).first;
        }
        hours.push_back(known->second.first);
        cost.push_back(known->second.second);
        // What the press leaves for the next one: hospital care, and one box of each pair.
        const healing::ControlChanges& changes = prepared->changes;
        recovery.hospital = recovery.hospital || prepared->hospital;
        if (changes.selectKrankenhaus)
            in.care = healing::CareCondition::Krankenhaus;
        in.dokBio = in.dokBio && !changes.uncheckDokBio;
        in.undokBio = in.undokBio && !changes.uncheckUndokBio;
        in.dokCyb = in.dokCyb && !changes.uncheckDokCyb;
        in.undokCyb = in.undokCyb && !changes.uncheckUndokCyb;
    }
    recovery.hours = fold(hours);
    // The cost is shown in whole Nuyen beside the time, so a coarser sum serves it.
    recovery.cost = fold(cost, {.points = 512});
    return recovery;
}

Result<SearchOdds> normalSearch(const care::NormalSearchInput& input,
                                const care::NormalVersorgungState& state) {
    const auto prepared = care::prepareNormalSearch(input, state);
    if (prepared.refused())
        return numbers::Refusal{prepared.refusal()};
    SearchOdds odds;
    const std::vector<double> successes = successChances(prepared->dice, prepared->MW);
    odds.firstRefusal = successes[0];
    for (std::size_t k = 2; k < successes.size(); ++k)
        odds.spareSuccesses += double(k - 1) * successes[k];
    doctorRoll(prepared->state.FertMod, 1 - odds.firstRefusal, odds);
    return odds;
}

Result<SearchOdds> emergencySearch(const care::EmergencySearchInput& input,
                                   const care::NotfallVersorgungState& state) {
    const auto prepared = care::prepareEmergencySearch(input, state);
    if (prepared.refused())
        return numbers::Refusal{prepared.refusal()};
    SearchOdds odds;
    doctorRoll(prepared->state.Modif, 1, odds);
    return odds;
}

} // namespace odds
