// The program used as a user uses it: the main window's options, boxes, fields and "HEILEN!";
// the choice dialog and the search windows it opens, their searches with scripted dice, and
// "Übernehmen!" handing the found skill back. The rules have their own tests; these check the
// wiring between controls, handlers and rules, and the windows' lifetime.

#include "LocaleGuard.h"
#include "ProgramDriver.h"
#include "WindowTestMain.h"

class TestProgramm : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { QCOMPARE(d.stop(), QString()); }
    void use_data();
    void use() { d.play(); }
    void handOverBeforeClosing();
    void realMessageBox();

  private:
    ProgramDriver d;
    const LocaleGuard german{QLocale(QLocale::German, QLocale::Germany)}; // "3,5 Tage"
};

void TestProgramm::use_data() {
    ProgramDriver::columns();
    const auto row = ProgramDriver::row;
    const QList<int> none, three{2, 2, 2}; // no six, no success against a target above 2
    // clang-format off
    // A press at four boxes after `actions` lists the modifier line of the input just set.
    const auto read = [&](const QString& actions, const QString& line, QList<int> dice = {2, 2, 2}) { row(dice, actions + "; Schaden=4; cmdHeilen", "Meldungen~" + line); };
    // Bad input after a good press: one message naming the field, and nothing changes.
    const auto bad = [&](const QString& before, const QString& typed, const QString& message, QList<int> dice = {2, 2, 2}) { row(dice, before + "; " + typed + "; snapshot; cmdHeilen", "boxes=" + message + "; changed="); };
    const QString whole = "Bitte im Feld „%1“ eine ganze Zahl eingeben.", range = "Bitte im Feld „%1“ eine ganze Zahl von -32768 bis 32767 eingeben.";

    row(none, "", "focus=Schaden[0]");
    row(none, "Schaden<4>", "Schaden=4");

    // Care conditions and ware boxes.
    row(none, "Krankenhaus", "magischeBetreuung:enabled; Erwachter:enabled; undokBio:enabled; undokCyb:enabled; dokCyb:enabled; Kommunikation:enabled; Willenskraft:enabled; txtBioTech:enabled; cmdSuchDoc:enabled; Luxus:disabled; EssenzDok:disabled; BioIndex:disabled");
    row(none, "Krankenhaus; Erwachter; Willenskraft=7; schlechteUmst; Luxus", "Willenskraft=3; Willenskraft:disabled; Erwachter:disabled; Erwachter:on; Luxus:on");
    row(none, "Krankenhaus; dokCyb; EssenzDok=4,5; daheim", "dokCyb:off; dokCyb:disabled; EssenzDok:disabled; EssenzDok=4,5");
    row(none, "Krankenhaus; txtBioTech=5; furchtbareUmst", "txtBioTech=8");
    row(none, "Krankenhaus; dokBio; daheim", "BioIndex:enabled");
    row(none, "Krankenhaus; undokBio; daheim", "BioIndex:disabled");
    row(none, "Krankenhaus; undokBio; schlechteUmst", "BioIndex:enabled");
    row(none, "Krankenhaus; undokBio; furchtbareUmst", "BioIndex:enabled");
    row(none, "dokBio", "dokBio:on; BioIndex:enabled");
    row(none, "Krankenhaus; undokBio; dokBio", "dokBio:on; undokBio:off; BioIndex:enabled");
    row(none, "Krankenhaus; dokBio; undokBio", "undokBio:on; dokBio:off");
    row(none, "Krankenhaus; undokCyb; dokCyb", "dokCyb:on; undokCyb:off; EssenzDok:enabled");
    row(none, "Krankenhaus; dokCyb; undokCyb", "undokCyb:on; dokCyb:off; EssenzDok:enabled");
    row(none, "Krankenhaus; undokBio; undokBio", "undokBio:off; BioIndex:enabled");
    row(none, "Krankenhaus; dokCyb; dokCyb", "dokCyb:off; EssenzDok:enabled");

    // Attribute limits: the refused value is replaced by a selected "1" after the message.
    row(none, "?txtKonstitution; txtKonstitution=31", "boxes=Was bist du für ein Tier? [txtKonstitution=31]; txtKonstitution=1; focus=txtKonstitution[1]");
    row(none, "Krankenhaus; ?Willenskraft; Willenskraft=21", "boxes=Ja, klar! Stahlwille! [Willenskraft=21]; Willenskraft=1; focus=Willenskraft[1]");
    row(none, "Krankenhaus; txtKonstitution=30; Willenskraft=20", "txtKonstitution=30; Willenskraft=20");
    row(none, "txtKonstitution=-", "txtKonstitution=-");

    // Every input reaches the press.
    read("schlechteUmst", "Schlechte Umstände: +1");
    read("furchtbareUmst", "Furchtbare Umstände: +3");
    read("Luxus", "Lebensstil besser als benötigt: -1");
    read("Mittelschicht", "Lebensstil ausreichend");
    read("dokBio; BioIndex=4", "Patient hat Bioware: +2");
    read("Krankenhaus; magischeBetreuung", "Langfristige magische Betreuung: -2");
    read("Krankenhaus; Erwachter", "Patient ist Erwachter: +2");
    read("Krankenhaus; Kommunikation", "Patient/Arzt Kommunikation gestört: +2");
    read("Krankenhaus; undokBio; BioIndex=4", "Patient hat undokumentierte Bioware: +4");
    read("Krankenhaus; dokCyb; EssenzDok=1", "Essenzmodifikator: +2");
    read("Krankenhaus; undokCyb; EssenzDok=1", "Essenzmodifikator: +3");
    read("Krankenhaus; txtKonstitution=7", "Konstitutionsmodifikator: -2", QList<int>(7, 2));
    read("Krankenhaus; Willenskraft=12", "Willenskraftmodifikator: -3");
    read("Krankenhaus; txtBioTech=0", "Biotech Fertigkeit des Arztes: 4");

    // Whole presses: 13 against 12 is the one success; then 10 against 9, in hospital.
    row({6, 6, 1, 3, 2}, "Schaden=4; cmdHeilen", "Meldungen=Grundmindestwurf: 4|Verletzungsmod.: 2|Lebensstil schlechter als benötigt: +6; niveaulabel=Schadensniveau ist Mittel; Stillabel=Benötigter Lebensstil Mittelschicht; Modifk=12; lblGrundzeitraum=288 hrs = 12 Tage; lstErgebnis=13|3|2; lblErfolge=1; lblHeilungsdauer=288 hrs = 12 Tage; Schaden=3; lblGesamtzeit=288 hrs = 12 Tage; lblKosten=");
    row({6, 4, 2, 1}, "Schaden=10; cmdHeilen", "Meldungen~Sie sind im Krankenhaus!; Krankenhaus:on; daheim:off; Willenskraft:enabled; Luxus:disabled; Schaden=9; lblGrundzeitraum=432 hrs = 18 Tage; lblKosten=18400 Nuyen");
    // The healed state shows before the message; a press without damage only clears the
    // modifier list and returns the focus.
    row(three + three, "Schaden=2; cmdHeilen; ?Schaden; cmdHeilen; snapshot; cmdHeilen<Space>", "boxes=Sie sind geheilt! [Schaden=0]|Sind Sie überhaupt krank??? [Schaden=0]; changed=Meldungen; Meldungen=; focus=Schaden");
    // Enter heals, unless a focused button takes it for itself.
    row(three, "Schaden=4; Schaden<Return>; cmdReset<Return>", "Schaden=3; lblGesamtzeit=");
    // Four days without success in hospital cost 2000; Reset starts both totals again.
    row(QList<int>(6, 1), "Krankenhaus; Schaden=4; cmdHeilen; Schaden=4; cmdHeilen; snapshot; cmdReset", "changed=Gesamtzeit|Kosten|lblGesamtzeit|lblKosten; lblGesamtzeit=; lblKosten=");
    row(QList<int>(9, 1), "Krankenhaus; Schaden=4; cmdHeilen; Schaden=4; cmdHeilen; cmdReset; Schaden=4; cmdHeilen", "lblGesamtzeit=96 hrs = 4 Tage; lblKosten=2000 Nuyen; lstErgebnis=1|1|1");

    bad("Schaden=4; cmdHeilen", "Schaden=abc", whole.arg("Schadenskästchen"));
    bad("Schaden=4; cmdHeilen", "Schaden=40000", range.arg("Schadenskästchen"));
    bad("Schaden=4; cmdHeilen", "Schaden=", whole.arg("Schadenskästchen"));
    // The change handler stops values above 30 but lets these through to the press.
    bad("Schaden=4; cmdHeilen", "txtKonstitution=x", whole.arg("natürliche Konstitution"));
    bad("Schaden=4; cmdHeilen", "txtKonstitution=-40000", range.arg("natürliche Konstitution"));
    bad("Krankenhaus; Schaden=4; cmdHeilen", "Willenskraft=abc", whole.arg("natürliche Willenskraft"));
    bad("Krankenhaus; Schaden=4; cmdHeilen", "txtBioTech=abc", whole.arg("Biotech-Fertigkeit des Arztes"));
    // Skill x 50 leaves 16 bits at the tariff of 10 boxes, found after the dice are rolled.
    bad("Schaden=12; cmdHeilen", "txtBioTech=999", "Der Kostenanteil der Biotech-Fertigkeit passt nicht in den Zahlenbereich. Bitte im Feld „Biotech-Fertigkeit des Arztes“ eine Zahl näher an 0 eingeben.", three + three);
    // The first press empties the essence field; the box stays ticked.
    bad("Krankenhaus; undokCyb; Schaden=4; cmdHeilen", "", "Bitte im Feld „Essenz“ eine Zahl eingeben.");
    bad("Krankenhaus; undokBio; Schaden=4; cmdHeilen", "BioIndex=1e30", "Der Bioware-Modifikator passt nicht in den Zahlenbereich. Bitte im Feld „Bio-Index“ eine Zahl näher an 0 eingeben.");

    // The windows beside the main one. Emergency: -2 + 12, skill 6. Normal: one success
    // against 4, then 12, skill 7.
    const QString notfall = "Krankenhaus; Form1.cmdSuchDoc; cmdNotfall; ", normal = "Krankenhaus; Form1.cmdSuchDoc; cmdNormalfall; ";
    const QString rescue = notfall + "Notfall.cmdSuchDoc; ", treat = normal + "Normal.cmdSuchDoc; ";
    const QList<int> rescueDice{6, 6}, treatDice{4, 6, 6};
    row(none, "Krankenhaus; Form1.cmdSuchDoc; Form1.cmdSuchDoc", "windows=Auswahl|Form1");
    row(none, notfall, "windows=Form1|NotfallVersorgung");
    row(none, normal, "windows=Form1|NormalVersorgung");
    row(none, "cmdSanivexInfo; cmdSanivexInfo", "windows=Form1|SanivexInfo");
    row(none, "cmdSanivexInfo; cmdClose", "windows=Form1");
    // Answering again while a search window is open leaves it as it is, and each window hands
    // over its own skill: emergency 0 + 7, skill 5; normal one success, then 12, skill 7.
    const QString both = notfall + "Form1.cmdSuchDoc; cmdNormalfall; optSanivex; cmbGegend=A oder B; chkSIN; Notfall.cmdSuchDoc; optKonzern; cmbArt=Trauma; txtGebräuche=2; Normal.cmdSuchDoc; ";
    row({3, 4, 6, 1, 2, 6, 6}, both + "snapshot; " + notfall + "Form1.cmdSuchDoc; cmdNormalfall", "changed=; windows=Form1|NormalVersorgung|NotfallVersorgung");
    row({3, 4, 6, 1, 2, 6, 6}, both + "Normal.cmdUebernehmen; Notfall.cmdUebernehmen", "txtBioTech=5; windows=Form1");
    // A reopened window starts afresh, except for the skill found before.
    row(rescueDice, notfall + "snapshot; Notfall.cmdSuchDoc; Notfall.cmdCancel; Form1.cmdSuchDoc; cmdNotfall", "changed=");
    row(treatDice, normal + "snapshot; Normal.cmdSuchDoc; Normal.cmdCancel; Form1.cmdSuchDoc; cmdNormalfall", "changed=lstErgebnis");
    row(rescueDice, rescue + "Notfall.<close>; Form1.cmdSuchDoc; cmdNotfall; Notfall.cmdUebernehmen", "txtBioTech=6; windows=Form1");
    row(treatDice, treat + "Normal.cmdCancel; Form1.cmdSuchDoc; cmdNormalfall; Normal.cmdUebernehmen", "txtBioTech=7; windows=Form1");
    row(rescueDice, rescue + "daheim; Notfall.cmdUebernehmen", "txtBioTech=6; txtBioTech:disabled");
    row(none, notfall + "Notfall.cmdUebernehmen", "txtBioTech=0");
    row(none, normal + "Normal.cmdUebernehmen", "txtBioTech=0");
    row(rescueDice, rescue + "Notfall.cmdCancel", "txtBioTech=8; windows=Form1");
    row(treatDice, treat + "Normal.<close>", "txtBioTech=8; windows=Form1");
    // Escape closes, also where the focused control might keep the key for itself.
    row(treatDice, treat + "Normal.txtGebräuche<Escape>", "txtBioTech=8; windows=Form1");
    row(none, normal + "Normal.lstModifMeld<Escape>", "windows=Form1");
    row(none, notfall + "Notfall.cmbGegend<Escape>", "windows=Form1");
    row(rescueDice, rescue + "Notfall.cmdUebernehmen<Escape>", "txtBioTech=8; windows=Form1");
    row(none, "Krankenhaus; Form1.cmdSuchDoc; cmdNormalfall<Escape>", "windows=Form1");
    // Closing the main window closes the others; a hand-over that comes too late, before they
    // are gone, must not bring the main window back.
    row(rescueDice, "Krankenhaus; cmdSanivexInfo; Form1.cmdSuchDoc; cmdNormalfall; Form1.cmdSuchDoc; cmdNotfall; Form1.cmdSuchDoc; Notfall.cmdSuchDoc; Form1.<close>; Notfall.cmdUebernehmen", "windows=");

    // Searches: the messages in the rules' order whatever the order of the inputs, the contract
    // default shown, the etiquette dice in the main window's list.
    row({3, 4}, notfall + "Notfall.cmdSuchDoc", "lstModifMeld=Öffentlich/Illegal: -1|Keiner: -1; lblModif=-2; lblWurf1=3; lblWurf2=4; lblSumme=5; lblFertigkeit=4; lblEquipment=2; cmbKontrakt=Keiner");
    row({6, 5}, notfall + "chkArrest; chkSIN; cmbGegend=C oder D; cmbKontrakt=Gold; optKriseneinsatz; optSanivex; Notfall.cmdSuchDoc", "lstModifMeld=Sanivex: +2|Std/Kriseinsatz: +0|Gold: +1|Gegend C oder D: -1|SINlos: -1|Unter Arrest: -2; lblModif=-1; lblSumme=10; lblFertigkeit=6; lblEquipment=4; cmbKontrakt=Gold");
    row({6, 2, 3, 5, 6}, normal + "txtGebräuche=2; cmbLegalität=Legal; cmbKategorie=Betaware; cmbArt=Implantat; optStrassendoc; optPrivat; Normal.cmdSuchDoc", "lstModifMeld=Privat: +1|Strassendoc: -2|Implantat: +1|Betaware: +4|Legal: -1; lblModif=3; lblFertMod=1; lblMindestwurf=7; lblZeitraum=14 Tage; Normal.lblErfolge=1; lblWurf1=5; lblWurf2=6; lblSumme=12; lblFertigkeit=7; lblEquipment=5; lstErgebnis=8|3");
    // The second refusal (skill 6 found, then 1 + 1) shows before the levels change.
    const QString refusal = "boxes=Keiner will dir helfen! Sorry, Kollego! [lblSumme=0, lblFertigkeit=6, lblEquipment=4]; lblWurf1=1; lblWurf2=1; lblFertigkeit=0; lblEquipment=0";
    row({6, 6, 1, 1}, rescue + "?lblSumme; ?lblFertigkeit; ?lblEquipment; Notfall.cmdSuchDoc", refusal + "; lblModif=-2");
    row({3, 6, 6, 3, 1, 1}, normal + "optIllegal; Normal.cmdSuchDoc; ?lblSumme; ?lblFertigkeit; ?lblEquipment; Normal.cmdSuchDoc", refusal + "; lblModif=-1");
    row({6, 6, 1, 1}, rescue + "Notfall.cmdSuchDoc; Notfall.cmdUebernehmen", "boxes=Keiner will dir helfen! Sorry, Kollego!; txtBioTech=0");
    // The first refusal closes the window; the skill found before it is kept.
    row({4, 6, 6, 3}, treat + "Normal.cmdSuchDoc", "boxes=Sorry, Kollego, keiner will dich behandeln!; windows=Form1; lstErgebnis=3; txtBioTech=8");
    row({4, 6, 6, 3}, treat + "Normal.cmdSuchDoc; Form1.cmdSuchDoc; cmdNormalfall; Normal.cmdUebernehmen", "boxes=Sorry, Kollego, keiner will dich behandeln!; txtBioTech=7");
    // The trade opens with two successes and stays open. Skill 5 and equipment 3 with one or
    // three successes, then skill 7 and equipment 5 with one.
    row({4, 3, 4}, treat, "cmdImproveTime:disabled; cmdImproveQual:disabled; cmdDiminTime:disabled; cmdDiminQual:disabled");
    row({4, 4, 4, 3, 4}, normal + "txtGebräuche=3; Normal.cmdSuchDoc; cmdImproveTime; cmdDiminQual", "lblZeitraum=3,5 Tage; Normal.lblErfolge=3; lblEquipment=2; cmdImproveQual:enabled; cmdDiminTime:enabled");
    row({4, 4, 4, 3, 4, 4, 6, 6}, normal + "txtGebräuche=3; Normal.cmdSuchDoc; txtGebräuche=1; Normal.cmdSuchDoc; cmdDiminTime; cmdImproveQual", "lblZeitraum=14 Tage; Normal.lblErfolge=1; lblEquipment=6; lblFertigkeit=7");
    // An unusable etiquette skill: one message, and nothing changes, not even the dice list.
    const QString etiquette = normal + "Normal.cmdSuchDoc; optKonzern; cmbKategorie=Deltaware; snapshot; txtGebräuche=";
    const QString noNumber = "boxes=Bitte im Feld „Gebräuchefertigkeit“ eine ganze Zahl eingeben.; changed=txtGebräuche";
    row({4, 3, 4}, etiquette + "; Normal.cmdSuchDoc", noNumber);
    row({4, 3, 4}, etiquette + "abc; Normal.cmdSuchDoc", noNumber);
    row({4, 3, 4}, etiquette + "101; Normal.cmdSuchDoc", "boxes=Bitte im Feld „Gebräuchefertigkeit“ eine ganze Zahl von höchstens 100 eingeben.; changed=txtGebräuche");
    // clang-format on
}

void TestProgramm::handOverBeforeClosing() {
    d.start({6, 6});
    d.act("Krankenhaus; Form1.cmdSuchDoc; cmdNotfall; Notfall.cmdSuchDoc");
    QStringList written;
    connect(qobject_cast<QLineEdit*>(d.find("txtBioTech")), &QLineEdit::textChanged, this,
            [&] { written << d.seen("txtBioTech=; windows="); });
    d.act("Notfall.cmdUebernehmen");
    QCOMPARE(written, QStringList{"txtBioTech=6; windows=Form1|NotfallVersorgung"});
}

void TestProgramm::realMessageBox() {
    d.start({1, 1}, true); // -2 + 2: the refusal
    d.act("Krankenhaus; Form1.cmdSuchDoc; cmdNotfall");
    QStringList seen; // title, text, buttons
    QTimer::singleShot(0, this, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen << box->windowTitle() << box->text();
            for (QAbstractButton* button : box->buttons())
                seen << button->text();
            box->done(0);
        }
    });
    d.act("Notfall.cmdSuchDoc");
    QCOMPARE(seen,
             QStringList({"Sanivex_Genesor", "Keiner will dir helfen! Sorry, Kollego!", "OK"}));
    QCOMPARE(d.seen("lblFertigkeit=0"), "lblFertigkeit=0");
}

SANIVEX_WINDOW_TEST_MAIN(TestProgramm)
#include "tst_programm.moc"
