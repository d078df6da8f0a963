// The rule tables of the healing test, procedure by procedure. Each row is one line of the
// table as text: the inputs, then what the procedure must give.

#include "LocaleGuard.h"
#include "healing/Modifikatoren.h"
#include "healing/Schadensniveau.h"
#include "healing/ZeitUndKosten.h"
#include "numbers/Text.h"

#include <QtTest>

using namespace healing;

namespace {

void zeilen(std::initializer_list<const char*> tabelle) {
    QTest::addColumn<QStringList>("zeile");
    for (const char* z : tabelle)
        QTest::newRow(z) << QString::fromUtf8(z).split(u' ');
}

Int16 zahl(const QString& text) {
    return Int16(text.toInt());
}

} // namespace

class TstHeilregeln : public QObject {
    Q_OBJECT

    LocaleGuard m_locale{QLocale::c()}; // point as decimal separator unless a row says otherwise

  private slots:

    // boxes, level, injury modifier, needed lifestyle, its level
    void niveauUndLebensstil_data() {
        zeilen({"-32768 Leicht 1 Unterschicht 2", "-1 Leicht 1 Unterschicht 2",
                "2 Leicht 1 Unterschicht 2", "3 Mittel 2 Mittelschicht 3",
                "5 Mittel 2 Mittelschicht 3", "6 Schwer 3 Oberschicht 4",
                "9 Schwer 3 Oberschicht 4", "10 Tödlich 4 Krankenhaus 5",
                "32767 Tödlich 4 Krankenhaus 5"});
    }
    void niveauUndLebensstil() {
        QFETCH(QStringList, zeile);
        Form1State s;
        Schadniveau(s, zahl(zeile[0]));
        Mindstil(s, s.Schadensniveau);
        Mindstil(s, QStringLiteral("Todlich")); // no accent: matches no level, changes nothing
        QCOMPARE((QStringList{s.Schadensniveau, QString::number(s.Verletzungsmod),
                              s.Mindestlebensstil, QString::number(s.MindeststilStufe)}),
                 zeile.mid(1));
    }

    // natural constitution or willpower, modifier
    void konstitutionUndWillenskraft_data() {
        zeilen(
            {"-5 0", "0 0", "3 0", "4 -1", "6 -1", "7 -2", "9 -2", "10 -3", "12 -3", "32767 -3"});
    }
    void konstitutionUndWillenskraft() {
        QFETCH(QStringList, zeile);
        QCOMPARE(konstwilltabelle(zahl(zeile[0])), zahl(zeile[1]));
        Form1State s;
        QCOMPARE(checkkonst(s, zahl(zeile[0])), "Konstitutionsmodifikator: " + zeile[1]);
        QCOMPARE(checkwille(s, zahl(zeile[0])), "Willenskraftmodifikator: " + zeile[1]);
        QCOMPARE(s.Mindestwurf, Int16(2 * zahl(zeile[1])));
    }

    // doctor's Biotech skill, modifier (no plus sign)
    void arzt_data() {
        zeilen({"-32768 0", "-1 0", "0 4", "1 0", "2 -2", "3 -3", "4 -3", "5 -4", "6 -4", "7 -5",
                "8 -5", "32767 -5"});
    }
    void arzt() {
        QFETCH(QStringList, zeile);
        Form1State s;
        QCOMPARE(checkarzt(s, zahl(zeile[0])), "Biotech Fertigkeit des Arztes: " + zeile[1]);
        QCOMPARE(s.Mindestwurf, zahl(zeile[1]));
    }

    // locale, essence, modifier undocumented, modifier documented
    void essenz_data() {
        // -0.5 and -1.5 give 3.5/2.5 and 4.5/3.5: halves go to the even neighbour.
        zeilen({"C 6 0 0", "C 5.01 0 0", "C 5 1 0", "C 3.01 1 0", "C 3 2 1", "C 1.01 2 1",
                "C 1 3 2", "C 0.01 3 2", "C 0.005 0 0", "C 0 3 2", "C -0.5 4 2", "C -1.5 4 4",
                "de_DE 5,01 0 0", "de_DE 3,01 1 0", "de_DE 1,01 2 1"});
    }
    void essenz() {
        QFETCH(QStringList, zeile);
        LocaleGuard guard{QLocale(zeile[0])};
        const std::optional<float> e = numbers::parseSingle(zeile[1]);
        QVERIFY(e);
        for (const bool undok : {true, false}) {
            Form1State s;
            Steueraenderungen a;
            const QString m = zeile[undok ? 2 : 3];
            QCOMPARE(checkcyberware(s, undok, !undok, e, a), "Essenzmodifikator: +" + m);
            QCOMPARE(s.Mindestwurf, zahl(m));
            QCOMPARE(a.clearEssenzDok, undok); // only undocumented ware empties the field
        }
    }

    // locale, bio-index, dok/undok, BioMod; "1" dok and "2.5" undok first round down to even
    void bioIndex_data() {
        zeilen({"C 0 dok 0", "C 3 dok 2", "C 4 dok 2", "C 5 dok 3", "C 1 dok 1", "C 0.5 dok 1",
                "C -3 dok -1", "C 2.2 dok 2", "C 4 undok 4", "C 2.2 undok 3", "C 2.5 undok 3",
                "C 0 undok 0", "de_DE 0,5 dok 1", "de_DE 2,2 undok 3"});
    }
    void bioIndex() {
        QFETCH(QStringList, zeile);
        LocaleGuard guard{QLocale(zeile[0])};
        const std::optional<float> b = numbers::parseSingle(zeile[1]);
        QVERIFY(b);
        const bool undok = zeile[2] == u"undok";
        Form1State s;
        s.BioMod = 99;
        uberprufeBioIndex(s, undok, *b);
        QCOMPARE(s.BioMod, zahl(zeile[3]));
        QCOMPARE(s.BioDivisor, Int16(undok ? 1 : 2));
        QCOMPARE(s.Mindestwurf, zahl(zeile[3]));
    }

    // boxes, hours, skill, care (K hospital, KM with magical care, H home), Kosten before in
    // ten-thousandths, label afterwards ("-" for none). The second 16-hour press shows that
    // the running total is rounded after each press.
    void kosten_data() {
        zeilen({"4 288 8 K 0 6000", "4 288 8 KM 0 12000", "10 288 8 K 0 12400",
                "10 288 8 KM 0 18400", "10 24 655 K 0 33750", "10 288 -2 K 0 11900",
                "4 16 8 K 0 333.33", "4 16 8 K 3333300 666.66", "4 288 8 H 12345 -"});
    }
    void kosten() {
        QFETCH(QStringList, zeile);
        Form1State s;
        s.Schadenskaestchen = zahl(zeile[0]);
        s.Heilungsdauer = zeile[1].toFloat();
        s.Kosten = numbers::Amount::fromTicks(zeile[4].toLongLong());
        const auto label = checkarztkosten(s, zahl(zeile[2]), zeile[3] != u"H", zeile[3] == u"KM");
        QCOMPARE(label.value_or(QStringLiteral("-")),
                 zeile[5] == u"-" ? zeile[5] : zeile[5] + " Nuyen");
        // The state holds exactly the total that is shown.
        QCOMPARE(s.Kosten.text(), zeile[3] == u"H" ? QStringLiteral("1.2345") : zeile[5]);
    }
};

QTEST_GUILESS_MAIN(TstHeilregeln)
#include "tst_heilregeln.moc"
