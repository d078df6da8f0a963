#pragma once
// What a healing press shows of time and money: the base period as a time line, and the
// hospital tariff that adds the cost of the healed box to the running Kosten.

#include "Form1State.h"

#include <optional>

namespace healing {

// Caption of lblGrundzeitraum: the time line of Grundzeitraum.
QString ZeigeGrundzeitraum(const Form1State& s);

// In hospital, adds the cost of Heilungsdauer at the tariff of Schadenskaestchen (the boxes
// before this press lowers them) to Kosten, rounds the running total to whole hundredths and
// returns the new caption of lblKosten. At home nothing changes and there is no caption.
// `fertigkeit` is the doctor's Biotech skill, which the press reads at home too. Throws
// Verweigerung when skill x 50 leaves 16 bits (10 boxes or more) or Kosten its range.
std::optional<QString> checkarztkosten(Form1State& s, Int16 fertigkeit, bool krankenhaus,
                                       bool magischeBetreuung);

} // namespace healing
