#include "Forecast.h"

#include "Chance.h"
#include "numbers/Text.h"

#include <cmath>
#include <iterator>
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
        if (prepared.refused()) {
            recovery.refusedAt = i + 1;
            recovery.refusal = prepared.refusal();
            break;
        }
        const healing::Form1State& p = prepared->state;
        const Alike alike{p.Grundzeitraum, p.Mindestwurf, p.Konstitution, p.Schadenskaestchen >= 10,
                          prepared->hospital};
        auto known = seen.find(alike);
        if (known == seen.end()) {
            const auto likely = likelyOutcomes(*prepared);
            if (likely.refused()) {
                recovery.refusedAt = i + 1;
                recovery.refusal = likely.refusal();
                break;
            }
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
        recovery.essenceRetyped =
            recovery.essenceRetyped || (changes.clearEssenzDok && i + 1 < recovery.presses);
        if (changes.selectKrankenhaus)
            in.care = healing::CareCondition::Krankenhaus;
        in.dokBio = in.dokBio && !changes.uncheckDokBio;
        in.undokBio = in.undokBio && !changes.uncheckUndokBio;
        in.dokCyb = in.dokCyb && !changes.uncheckDokCyb;
        in.undokCyb = in.undokCyb && !changes.uncheckUndokCyb;
    }
    if (hours.empty()) // the very first press is refused only after its dice
        return numbers::Refusal{recovery.refusal};
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

namespace {

using healing::CareCondition;

QString careLabel(CareCondition care, bool magic) {
    switch (care) {
    case CareCondition::daheim:
        return QStringLiteral("zu Hause");
    case CareCondition::Krankenhaus:
        return magic ? QStringLiteral("Krankenhaus mit magischer Betreuung")
                     : QStringLiteral("Krankenhaus ohne magische Betreuung");
    case CareCondition::schlechteUmst:
        return QStringLiteral("schlechte Umstände");
    case CareCondition::furchtbareUmst:
        return QStringLiteral("furchtbare Umstände");
    }
    return {};
}

// The found doctor's skill over all 36 pairs of the 2W6, of every search: `reached` is the
// chance that the search gets to the roll at all.
Choice doctorChoice(const QString& label, int mod, double reached) {
    Choice c;
    c.kind = Choice::Kind::Doctor;
    c.care = CareCondition::Krankenhaus;
    c.label = label;
    c.noDoctor = 1 - reached;
    for (int w1 = 1; w1 <= 6; ++w1) {
        for (int w2 = 1; w2 <= 6; ++w2) {
            const care::Doctor d = care::BestimmeArzt(numbers::Int16(mod + w1 + w2));
            if (d.refused)
                c.noDoctor += reached / 36;
            else
                c.skills[d.Fertigkeit] += reached / 36;
        }
    }
    return c;
}

// The smallest x where the mixture's cdf reaches q, by halving [lo, hi].
double mixedQuantile(const std::vector<std::pair<double, Recovery>>& parts, bool cost, double q,
                     double lo, double hi) {
    double weight = 0;
    for (const auto& [w, r] : parts)
        weight += w;
    const auto cdf = [&](double x) {
        double sum = 0;
        for (const auto& [w, r] : parts)
            sum += w * (cost ? r.cost : r.hours).cdf(x);
        return sum / weight;
    };
    for (int i = 0; i < 200 && hi - lo > 1e-9 * std::max(1.0, std::abs(hi)); ++i) {
        const double mid = lo + (hi - lo) / 2;
        (cdf(mid) >= q ? hi : lo) = mid;
    }
    return hi;
}

} // namespace

QList<Choice> choices(const healing::HealingInput& input,
                      const std::optional<care::NormalSearchInput>& normal,
                      const care::NormalVersorgungState& normalState,
                      const std::optional<care::EmergencySearchInput>& emergency,
                      const care::NotfallVersorgungState& emergencyState) {
    QList<Choice> list;
    for (CareCondition care : {CareCondition::daheim, CareCondition::Krankenhaus,
                               CareCondition::schlechteUmst, CareCondition::furchtbareUmst}) {
        for (bool magic : {false, true}) {
            if (magic && care != CareCondition::Krankenhaus)
                continue;
            Choice c;
            c.care = care;
            c.magic = magic;
            c.label = careLabel(care, magic);
            c.current = input.care == care &&
                        (care != CareCondition::Krankenhaus || input.magischeBetreuung == magic);
            list.append(c);
        }
    }
    if (normal) {
        const auto prepared = care::prepareNormalSearch(*normal, normalState);
        if (!prepared.refused()) {
            const double none = successChances(prepared->dice, prepared->MW)[0];
            list.append(doctorChoice(QStringLiteral("Arzt der normalen Suche"),
                                     prepared->state.FertMod, 1 - none));
        }
    }
    if (emergency) {
        const auto prepared = care::prepareEmergencySearch(*emergency, emergencyState);
        if (!prepared.refused())
            list.append(
                doctorChoice(QStringLiteral("Arzt der Notfallsuche"), prepared->state.Modif, 1));
    }
    return list;
}

Comparer::Comparer(QList<Choice> choices, const healing::HealingInput& input,
                   const healing::Form1State& state)
    : m_input(input), m_state(state) {
    for (Choice& c : choices) {
        Comparison row;
        row.choice = std::move(c);
        m_rows.append(row);
    }
}

void Comparer::step() {
    if (finished())
        return;
    Comparison& row = m_rows[m_row];
    healing::HealingInput in = m_input;
    in.care = row.choice.care;
    in.magischeBetreuung = row.choice.care == CareCondition::Krankenhaus
                               ? row.choice.magic
                               : m_input.magischeBetreuung;
    if (row.choice.kind == Choice::Kind::Care) {
        // A stay forced into hospital cannot be cared for anywhere else.
        if (in.care != CareCondition::Krankenhaus) {
            const auto first = healing::prepare(in, m_state);
            if (!first.refused() && first->hospital) {
                row.refusal = QStringLiteral("nicht möglich: ab 10 Schadenskästchen nur im "
                                             "Krankenhaus");
                return finishRow();
            }
        }
        const auto r = recovery(in, m_state);
        if (r.refused())
            row.refusal = r.refusal();
        else
            m_parts.push_back({1.0, *r});
        return finishRow();
    }
    // A doctor row: one skill level per step, in rising order.
    if (row.choice.skills.empty()) {
        row.refusal = QStringLiteral("Diese Suche findet keinen Arzt.");
        return finishRow();
    }
    auto level = row.choice.skills.begin();
    std::advance(level, std::ptrdiff_t(m_parts.size()));
    in.txtBioTech = numbers::intText(level->first);
    const auto r = recovery(in, m_state);
    if (r.refused()) {
        row.refusal = r.refusal();
        return finishRow();
    }
    m_parts.push_back({level->second, *r});
    if (m_parts.size() == row.choice.skills.size())
        finishRow();
}

void Comparer::finishRow() {
    Comparison& row = m_rows[m_row++];
    row.done = true;
    std::vector<std::pair<double, Recovery>> parts = std::move(m_parts);
    m_parts.clear();
    if (!row.refusal.isEmpty() || parts.empty())
        return;
    for (const auto& [w, r] : parts)
        if (r.refusedAt > 0) { // figures that stop short of healing would mislead here
            row.refusal = QStringLiteral("Der %1. Heilungswurf würde abgelehnt: %2")
                              .arg(r.refusedAt)
                              .arg(r.refusal);
            return;
        }
    double weight = 0;
    for (const auto& [w, r] : parts) {
        weight += w;
        row.hospital = row.hospital || r.hospital;
        row.meanHours += w * r.hours.mean();
        row.meanCost += w * r.cost.mean();
    }
    row.meanHours /= weight;
    row.meanCost /= weight;
    // Each part's bounds hold for the mixture with the largest of them: its true 90 % lies
    // between its quantiles at 90 % -+ D, widened by E.
    const auto figure = [&](bool cost, double& value, double& low, double& high) {
        if (parts.size() == 1) {
            const Total& t = cost ? parts.front().second.cost : parts.front().second.hours;
            value = t.quantile(0.9);
            low = t.lowerQuantile(0.9);
            high = t.upperQuantile(0.9);
            return;
        }
        double e = 0, d = 0, lo = INFINITY, hi = -INFINITY;
        for (const auto& [w, r] : parts) {
            const Total& t = cost ? r.cost : r.hours;
            e = std::max(e, t.maxError());
            d = std::max(d, t.maxCdfError());
            lo = std::min(lo, t.lowest());
            hi = std::max(hi, t.highest());
        }
        value = mixedQuantile(parts, cost, 0.9, lo, hi);
        low = mixedQuantile(parts, cost, 0.9 - d, lo, hi) - e;
        high = mixedQuantile(parts, cost, 0.9 + d, lo, hi) + e;
    };
    figure(false, row.p90Hours, row.p90HoursLow, row.p90HoursHigh);
    figure(true, row.p90Cost, row.p90CostLow, row.p90CostHigh);
}

QList<Comparison> compareAll(const QList<Choice>& choices, const healing::HealingInput& input,
                             const healing::Form1State& state) {
    Comparer comparer(choices, input, state);
    while (!comparer.finished())
        comparer.step();
    return comparer.rows();
}

} // namespace odds
