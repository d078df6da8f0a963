#pragma once
// The healing test behind "HEILEN!": one press heals one damage box. heile() gets the texts and
// check marks the window reads and the per-window state, and decides the whole press before it
// returns: every number the press needs is read first, every sum is checked, and only a press
// that gets through to its end comes back as carried out. A refused press carries nothing but
// its message; the dice it may already have drawn are dropped with it.

#include "Form1State.h"
#include "Steueraenderungen.h"
#include "dice/wuerfelomat.h"

#include <QStringList>
#include <optional>

namespace healing {

// The selected option of the frame Pflegebedingungen.
enum class Pflege { Krankenhaus, daheim, schlechteUmst, furchtbareUmst };

// What the window reads at the press. The defaults are the window's start values.
struct HeilenEingabe {
    QString Schaden = QStringLiteral("0");
    QString txtKonstitution = QStringLiteral("3");
    QString Willenskraft = QStringLiteral("3");
    QString BioIndex = QStringLiteral("0");
    QString EssenzDok = QStringLiteral("6");
    QString txtBioTech = QStringLiteral("8");
    Pflege pflege = Pflege::daheim;
    bool dokBio = false;
    bool undokBio = false;
    bool dokCyb = false;
    bool undokCyb = false;
    bool magischeBetreuung = false;
    bool Erwachter = false;
    bool Kommunikation = false;
};

struct HeilenErgebnis {
    enum class Art {
        // Show `meldung` and nothing else: no state, label, list or dice change.
        Verweigert,
        // Clear Meldungen, take `zustand`, show `meldung` ("Sind Sie überhaupt krank???") and
        // put the focus on Schaden. Every other output keeps what it shows.
        NichtKrank,
        // Take `zustand`, apply the outputs below in their order, then show `meldung` unless
        // it is empty.
        Durchgefuehrt,
    };
    Art art = Art::Verweigert;
    QString meldung;
    Form1State zustand; // all variables as the press leaves them; untouched copy when refused

    // The outputs of a press that was carried out, in the order the user sees them change.
    QString niveaulabel;
    QString Stillabel;
    QStringList Meldungen; // the whole new content of the list
    Steueraenderungen steuerung;
    QString Modifk;
    QString lblGrundzeitraum;
    QStringList lstErgebnis; // clear the list, then append these; empty when no die was rolled
    QString lblErfolge;
    QString lblHeilungsdauer;
    std::optional<QString> lblKosten; // hospital only; at home the label keeps its text
    QString Schaden;
    QString lblGesamtzeit;
    bool geheilt = false; // the last box is healed; `meldung` is then "Sie sind geheilt!"
};

HeilenErgebnis heile(const HeilenEingabe& eingabe, const Form1State& zustand,
                     dice::Wuerfelomat& wuerfel);

} // namespace healing
