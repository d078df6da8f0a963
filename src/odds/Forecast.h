#pragma once
// The forecast: the exact odds of the next "HEILEN!", of the whole recovery and of the doctor
// searches, before anyone rolls. It composes the rules' own functions (prepare, finish, the
// doctor table) with the chances of the dice, so it can never disagree with a press; it never
// rolls and changes nothing. An input the press would refuse gives the press's own message.

#include "Total.h"
#include "care/EmergencySearch.h"
#include "care/NormalSearch.h"
#include "healing/Healing.h"

#include <map>
#include <optional>

namespace odds {

using numbers::Result;

// One number of successes of a press: its chance and what it would bring.
struct Outcome {
    double chance = 0;
    float hours = 0; // the healing duration
    double cost = 0; // Nuyen this press adds to the running cost (hospital only)
};

struct NextPress {
    bool notIll = false; // no damage: the press would only ask "Sind Sie überhaupt krank???"
    bool hospital = false;
    int target = 0;          // the target number after the floor of 2
    int dice = 0;            // open-ended dice rolled (none for 0 or less)
    double dieChance = 0;    // one die reaching the target
    QList<Outcome> outcomes; // 0, 1, ... dice successes
    double expectedHours = 0;
    double expectedCost = 0;
};

// "HEILEN!" as if pressed now.
Result<NextPress> nextPress(const healing::HealingInput& input, const healing::Form1State& state);

struct Recovery {
    int presses = 0;       // one per remaining box
    bool hospital = false; // some press is in hospital, so there is a cost
    Total hours;           // the total healing time of the presses counted
    Total cost;            // the total hospital cost they add
    // A later press the rules would refuse: its number (1 is the next press) and the press's
    // own message. The totals then cover the presses before it; 0 when none is refused.
    int refusedAt = 0;
    QString refusal;
    // Some press but the last empties the essence field (undocumented cyberware in
    // hospital); the recovery counts as if the essence were typed again each time.
    bool essenceRetyped = false;
};

// The remaining boxes healed one press at a time with today's inputs: each press with the
// target number its box count gives, and once a press is in hospital every later one stays
// there, as the real presses would. The essence typed counts for every press (a real press
// empties the field after undocumented cyberware and wants it typed again). Refused only when
// the next press itself is.
Result<Recovery> recovery(const healing::HealingInput& input, const healing::Form1State& state);

// Levels by their chance, and the chance of each refusal.
struct SearchOdds {
    double firstRefusal = 0;  // no etiquette success (normal search only)
    double secondRefusal = 0; // a doctor roll below 1, of all searches
    // Of the searches that reach the doctor roll.
    std::map<int, double> skill;
    std::map<int, double> equipment;
    double spareSuccesses = 0; // expected successes beyond the first (normal search only)
};

Result<SearchOdds> normalSearch(const care::NormalSearchInput& input,
                                const care::NormalVersorgungState& state);
Result<SearchOdds> emergencySearch(const care::EmergencySearchInput& input,
                                   const care::NotfallVersorgungState& state);

// "Was wäre, wenn": the whole recovery for each choice the table can make, each computed by
// recovery() with that choice set in the inputs, so a row always equals the forecast of the
// same inputs typed by hand.
struct Choice {
    enum class Kind { Care, Doctor };
    Kind kind = Kind::Care;
    healing::CareCondition care = healing::CareCondition::daheim;
    bool magic = false;   // long-term magical care (hospital rows only)
    QString label;        // "zu Hause", "Krankenhaus mit magischer Betreuung", ...
    bool current = false; // the choice the inputs hold now
    // Doctor rows: the doctor's skill levels with their chances, of every search (so they add
    // up to 1 - noDoctor); the recovery is their mixture.
    std::map<int, double> skills;
    double noDoctor = 0;
};

struct Comparison {
    Choice choice;
    QString refusal;       // the press would refuse these inputs, or why the choice is impossible
    bool hospital = false; // a cost is part of it
    double meanHours = 0, p90Hours = 0, p90HoursLow = 0, p90HoursHigh = 0;
    double meanCost = 0, p90Cost = 0, p90CostLow = 0, p90CostHigh = 0;
    bool done = false;
};

// The rows to compute: the care conditions (the others marked impossible when the stay is
// forced into hospital), hospital with and without magical care, and the doctor of each open
// search in hospital.
QList<Choice> choices(const healing::HealingInput& input,
                      const std::optional<care::NormalSearchInput>& normal,
                      const care::NormalVersorgungState& normalState,
                      const std::optional<care::EmergencySearchInput>& emergency,
                      const care::NotfallVersorgungState& emergencyState);

// Works the rows out one recovery at a time, so that a window can spread a long comparison
// over several turns of its event loop and show each row as it is done.
class Comparer {
  public:
    Comparer(QList<Choice> choices, const healing::HealingInput& input,
             const healing::Form1State& state);
    bool finished() const { return m_row >= m_rows.size(); }
    // One recovery more (nothing once finished).
    void step();
    const QList<Comparison>& rows() const { return m_rows; }

  private:
    void finishRow();

    healing::HealingInput m_input;
    healing::Form1State m_state;
    QList<Comparison> m_rows;
    qsizetype m_row = 0;
    std::vector<std::pair<double, Recovery>> m_parts; // the row's recoveries, by weight
};

// Every row at once.
QList<Comparison> compareAll(const QList<Choice>& choices, const healing::HealingInput& input,
                             const healing::Form1State& state);

} // namespace odds
