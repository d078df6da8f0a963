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
    Total hours;           // the total healing time of all presses
    Total cost;            // the total hospital cost they add
};

// The remaining boxes healed one press at a time with today's inputs: each press with the
// target number its box count gives, and once a press is in hospital every later one stays
// there, as the real presses would. The essence typed counts for every press (a real press
// empties the field after undocumented cyberware and wants it typed again).
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

} // namespace odds
