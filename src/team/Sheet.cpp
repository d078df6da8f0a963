#include "Sheet.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <limits>

namespace team {
namespace {

// The variables by name, so the text form says what each number is.
struct IntField {
    const char* name;
    numbers::Int16 healing::Form1State::*member;
};
struct HoursField {
    const char* name;
    float healing::Form1State::*member;
};
using S = healing::Form1State;
constexpr IntField intFields[] = {{"Schadenskaestchen", &S::Schadenskaestchen},
                                  {"Verletzungsmod", &S::Verletzungsmod},
                                  {"MindeststilStufe", &S::MindeststilStufe},
                                  {"Lebensstilstufe", &S::Lebensstilstufe},
                                  {"Mindestwurf", &S::Mindestwurf},
                                  {"Umstaende", &S::Umstaende},
                                  {"Konstitution", &S::Konstitution},
                                  {"BioMod", &S::BioMod},
                                  {"BioDivisor", &S::BioDivisor}};
constexpr HoursField hoursFields[] = {{"Grundzeitraum", &S::Grundzeitraum},
                                      {"Heilungsdauer", &S::Heilungsdauer},
                                      {"Gesamtzeit", &S::Gesamtzeit}};

template <class T, class Read>
bool readMap(const QJsonValue& value, QMap<QString, T>& out, Read read) {
    if (!value.isObject())
        return false;
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        std::optional<T> item = read(it.value());
        if (!item)
            return false;
        out.insert(it.key(), *item);
    }
    return true;
}

std::optional<QString> readText(const QJsonValue& v) {
    return v.isString() ? std::optional(v.toString()) : std::nullopt;
}
std::optional<bool> readBool(const QJsonValue& v) {
    return v.isBool() ? std::optional(v.toBool()) : std::nullopt;
}
std::optional<QStringList> readLines(const QJsonValue& v) {
    if (!v.isArray())
        return std::nullopt;
    QStringList lines;
    for (const QJsonValue& line : v.toArray()) {
        if (!line.isString())
            return std::nullopt;
        lines << line.toString();
    }
    return lines;
}

// A whole number that fits the variable exactly; a fraction or a wider number is refused.
bool readInt(const QJsonValue& v, std::int64_t low, std::int64_t high, std::int64_t& out) {
    if (!v.isDouble())
        return false;
    const double d = v.toDouble();
    if (!(d >= double(low) && d <= double(high)) || d != std::floor(d))
        return false;
    out = std::int64_t(d);
    return true;
}

} // namespace

healing::HealingInput Sheet::input() const {
    healing::HealingInput in;
    for (auto [name, field] : {std::pair{"Schaden", &in.Schaden},
                               {"txtKonstitution", &in.txtKonstitution},
                               {"Willenskraft", &in.Willenskraft},
                               {"BioIndex", &in.BioIndex},
                               {"EssenzDok", &in.EssenzDok},
                               {"txtBioTech", &in.txtBioTech}})
        *field = texts.value(QLatin1String(name), *field);
    using healing::CareCondition;
    in.care = checked.value("Krankenhaus")      ? CareCondition::Krankenhaus
              : checked.value("schlechteUmst")  ? CareCondition::schlechteUmst
              : checked.value("furchtbareUmst") ? CareCondition::furchtbareUmst
                                                : CareCondition::daheim;
    for (auto [name, box] : {std::pair{"dokBio", &in.dokBio},
                             {"undokBio", &in.undokBio},
                             {"dokCyb", &in.dokCyb},
                             {"undokCyb", &in.undokCyb},
                             {"magischeBetreuung", &in.magischeBetreuung},
                             {"Erwachter", &in.Erwachter},
                             {"Kommunikation", &in.Kommunikation}})
        *box = checked.value(QLatin1String(name));
    return in;
}

QByteArray Sheet::json() const {
    QJsonObject t, c, e, l, s;
    for (auto it = texts.begin(); it != texts.end(); ++it)
        t.insert(it.key(), it.value());
    for (auto it = checked.begin(); it != checked.end(); ++it)
        c.insert(it.key(), it.value());
    for (auto it = enabled.begin(); it != enabled.end(); ++it)
        e.insert(it.key(), it.value());
    for (auto it = lists.begin(); it != lists.end(); ++it)
        l.insert(it.key(), QJsonArray::fromStringList(it.value()));
    for (const IntField& f : intFields)
        s.insert(f.name, int(state.*f.member));
    // A float widens to a double exactly, and the double narrows back to the same float.
    for (const HoursField& f : hoursFields)
        s.insert(f.name, double(state.*f.member));
    s.insert("Schadensniveau", state.Schadensniveau);
    s.insert("Mindestlebensstil", state.Mindestlebensstil);
    // The cost as a decimal text of ten-thousandths: a double would round beyond 2^53.
    s.insert("Kosten", QString::number(state.Kosten.ticks()));
    return QJsonDocument(
               QJsonObject{
                   {"texts", t}, {"checked", c}, {"enabled", e}, {"lists", l}, {"state", s}})
        .toJson(QJsonDocument::Compact);
}

std::optional<Sheet> Sheet::fromJson(const QByteArray& text, QString* why) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(text, &error);
    const QJsonObject o = doc.object();
    Sheet sheet;
    const auto fail = [why](const QString& what) {
        *why = what;
        return std::nullopt;
    };
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return fail(QStringLiteral("ein Patient ist unlesbar"));
    if (!readMap(o["texts"], sheet.texts, readText) ||
        !readMap(o["checked"], sheet.checked, readBool) ||
        !readMap(o["enabled"], sheet.enabled, readBool) ||
        !readMap(o["lists"], sheet.lists, readLines))
        return fail(QStringLiteral("ein Feld eines Patienten hat den falschen Typ"));
    const QJsonObject s = o["state"].toObject();
    for (const IntField& f : intFields) {
        std::int64_t v = 0;
        if (!readInt(s[f.name], std::numeric_limits<numbers::Int16>::min(),
                     std::numeric_limits<numbers::Int16>::max(), v))
            return fail(QStringLiteral("der Wert „%1“ liegt außerhalb des Bereichs").arg(f.name));
        sheet.state.*f.member = numbers::Int16(v);
    }
    for (const HoursField& f : hoursFields) {
        const double hours = s[f.name].toDouble(-1);
        // Hours are never negative, and a total beyond a float is out of range, not infinite.
        if (!s[f.name].isDouble() || !(hours >= 0 && hours <= std::numeric_limits<float>::max()) ||
            double(float(hours)) != hours)
            return fail(QStringLiteral("der Wert „%1“ liegt außerhalb des Bereichs").arg(f.name));
        sheet.state.*f.member = float(hours);
    }
    bool number = false;
    const qlonglong ticks = s["Kosten"].toString().toLongLong(&number);
    if (!s["Schadensniveau"].isString() || !s["Mindestlebensstil"].isString() || !number ||
        ticks < 0)
        return fail(QStringLiteral("der Wert „Kosten“ liegt außerhalb des Bereichs"));
    sheet.state.Schadensniveau = s["Schadensniveau"].toString();
    sheet.state.Mindestlebensstil = s["Mindestlebensstil"].toString();
    sheet.state.Kosten = numbers::Amount::fromTicks(ticks);
    return sheet;
}

} // namespace team
