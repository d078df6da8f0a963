#include "Eingaben.h"

#include "numbers/Text.h"

namespace healing {

std::optional<QString> ueberGrenze(const QString& text, const Attributgrenze& grenze) {
    const auto wert = numbers::parseDouble(text);
    if (wert && *wert > grenze.grenze)
        return grenze.meldung;
    return std::nullopt;
}

} // namespace healing
