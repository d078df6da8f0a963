#pragma once
// How bad the wound is and how well the patient has to live for it: the damage level of a
// number of filled boxes with its injury modifier, and the lifestyle that level needs.

#include "Form1State.h"

namespace healing {

// Writes Schadensniveau and Verletzungsmod for K filled boxes (negative counts are light).
void Schadniveau(Form1State& s, Int16 K);

// Writes Mindestlebensstil and MindeststilStufe for the damage level name K; a name that is
// none of the four levels leaves both as they were.
void Mindstil(Form1State& s, const QString& K);

} // namespace healing
