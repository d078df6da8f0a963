#pragma once
// The shapes of the searches' modifier tables and the running sum they feed. An option rule
// belongs to one option button and carries its own message (which need not repeat the
// caption); an entry rule belongs to one drop-down entry, whose message is the entry text
// followed by its suffix. Each search keeps its tables as data in its own module.

#include "numbers/Checked.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace care {

using numbers::Int16;

template <typename Option> struct OptionRule {
    Option option;
    Int16 modif = 0;
    Int16 fertMod = 0;
    QString message;
};

struct EntryRule {
    QString entry;
    Int16 modif = 0;
    Int16 fertMod = 0;
    QString suffix; // ": +1", ": +0", ": -1"
};

// Collects the messages in the order the rules are tested, with `Modif` and `FertMod`.
struct ModifierSum {
    QStringList meldungen;
    Int16 Modif = 0;
    Int16 FertMod = 0;

    void apply(Int16 modif, Int16 fertMod, const QString& message) {
        Modif = numbers::add(Modif, modif);
        FertMod = numbers::add(FertMod, fertMod);
        meldungen.append(message);
    }

    // The rule of the selected option, if any; an empty group adds nothing.
    template <typename Option>
    void applyOption(const QList<OptionRule<Option>>& rules, std::optional<Option> selected) {
        for (const auto& rule : rules) {
            if (selected == rule.option)
                apply(rule.modif, rule.fertMod, rule.message);
        }
    }

    // The rule whose entry equals `text` exactly and case-sensitively; other texts, the
    // empty one included, add nothing. `prefix` leads the message ("Gegend ").
    void applyEntry(const QList<EntryRule>& rules, const QString& text,
                    const QString& prefix = {}) {
        for (const auto& rule : rules) {
            if (text == rule.entry)
                apply(rule.modif, rule.fertMod, prefix + text + rule.suffix);
        }
    }
};

// The entry texts of a drop-down list whose rules are tested in list order.
inline QStringList entryTexts(const QList<EntryRule>& rules) {
    QStringList texts;
    for (const auto& rule : rules)
        texts.append(rule.entry);
    return texts;
}

} // namespace care
