// The main window as the user first sees it: every control where it belongs with its start
// caption and state, the keyboard path through it, the damage field ready for typing, Reset,
// the dice list and the doctor hand-over.

#include "WindowTestMain.h"
#include "LocaleGuard.h"
#include "RecordingMessageBoxes.h"
#include "ScriptedDice.h"
#include "windows/Form1.h"
#include "windows/ProgramLook.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <memory>

namespace {

QRect twips(int x, int y, int w, int h) {
    return QRect(x / 15, y / 15, w / 15, h / 15);
}

QString caption(const QWidget* w) {
    if (auto* b = qobject_cast<const QGroupBox*>(w))
        return b->title();
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return e->text();
    if (auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    return {};
}

int reddishPixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (const QRgb c = image.pixel(x, y);
                qRed(c) > 150 && qGreen(c) < 100 && qBlue(c) < 100)
                ++count;
    return count;
}

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void window();
    void startState_data();
    void startState();
    void focusOrder();
    void startFocusAndTabPath();
    void resetClearsOnlyTotals();
    void diceListShowsTheRoll();
    void handOverWritesDoctorSkill();
    void buttonsAskForTheOtherWindows();
    void captionsFit();
    void redHealingDurationTitle();
    void connectorLines();

  private:
    template <typename T = QWidget> T* control(const char* name) {
        T* w = form->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }

    std::unique_ptr<LocaleGuard> locale;
    healing::Form1State state;
    dice::Wuerfelomat wuerfel;
    RecordingMessageBoxes boxes;
    std::unique_ptr<Form1> form;
};

void TestForm1::init() {
    locale = std::make_unique<LocaleGuard>(QLocale(QLocale::German, QLocale::Germany));
    state = {};
    form = std::make_unique<Form1>(state, wuerfel, boxes);
    form->Form_Load();
}

void TestForm1::cleanup() {
    form.reset();
    locale.reset();
    QCOMPARE(boxes.take(), QStringList());
}

void TestForm1::window() {
    QCOMPARE(form->objectName(), QStringLiteral("Form1"));
    QCOMPARE(form->windowTitle(), QStringLiteral("Sanivex - Genesor"));
    QCOMPARE(form->size(), QSize(10530 / 15, 9135 / 15));
    QVERIFY(form->isWindow());
    QVERIFY(form->windowFlags().testFlags(Qt::WindowMinMaxButtonsHint));
    QCOMPARE(form->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    QCOMPARE(form->layout(), nullptr);
}

void TestForm1::startState_data() {
    QTest::addColumn<QString>("frame"); // "" = directly on the window
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("enabled"); // the control's own flag
    QTest::addColumn<bool>("usable");  // own flag and every containing frame enabled
    QTest::addColumn<int>("checked");  // -1: not a button with a check state

    const QString window;
    const QString frame = QStringLiteral("QGroupBox");
    const QString check = QStringLiteral("QCheckBox");
    const QString option = QStringLiteral("QRadioButton");
    const QString text = QStringLiteral("QLineEdit");
    const QString list = QStringLiteral("QListWidget");
    const QString label = QStringLiteral("QLabel");
    const QString button = QStringLiteral("QPushButton");
    auto row = [](const char* name, const QString& in, const QString& kind, const char* caption,
                  QRect geometry, bool enabled, bool usable, int checked) {
        QTest::newRow(name) << in << kind << QString::fromUtf8(caption) << geometry << enabled
                            << usable << checked;
    };

    // clang-format off
    // Directly on the window.
    row("SchadenFrame", window, frame, "Schadenskästchen", twips(120, 240, 1575, 975), true, true, -1);
    row("Pflegebedingungen", window, frame, "Pflegebedingungen", twips(2040, 360, 2895, 1935), true, true, -1);
    row("magischeBetreuung", window, check, "langfristige magische Betreuung", twips(5280, 480, 2775, 255), false, false, 0);
    row("Erwachter", window, check, "Patient ist Erwachter", twips(5280, 840, 3015, 255), false, false, 0);
    row("undokBio", window, check, "Patient hat undokumentierte Bioware", twips(5280, 1080, 3735, 375), false, false, 0);
    row("dokBio", window, check, "Patient hat dokumentierte Bioware", twips(5280, 1440, 3735, 375), true, true, 0);
    row("undokCyb", window, check, "Patient hat undokumentierte Cyberware", twips(5280, 1800, 3735, 375), false, false, 0);
    row("dokCyb", window, check, "Patient hat dokumentierte Cyberware", twips(5280, 2160, 3735, 375), false, false, 0);
    row("Kommunikation", window, check, "Patient/Arzt Kommunikation gestört", twips(5280, 2520, 3015, 495), false, false, 0);
    row("KonstitutionFrame", window, frame, "natürliche Konstitution", twips(120, 2520, 1935, 855), true, true, -1);
    row("WillenFrame", window, frame, "natürliche Willenskraft", twips(2400, 2520, 1935, 855), false, false, -1);
    row("dokCybFrame", window, frame, "Essenz", twips(120, 3480, 1215, 855), false, false, -1);
    row("BioIndexFrame", window, frame, "Bio-Index", twips(1440, 3480, 1935, 855), false, false, -1);
    row("LebensstilFrame", window, frame, "Lebensstil", twips(3480, 3600, 1815, 2415), true, true, -1);
    row("Meldungen", window, list, "", twips(5760, 3600, 3375, 1425), true, true, -1);
    row("Frame2", window, frame, "Würfelergebnisse", twips(8640, 480, 1455, 2655), true, true, -1);
    row("frmBioTech", window, frame, "Biotech-Fertigkeit des Arztes", twips(120, 4440, 2295, 735), false, false, -1);
    row("Label1", window, label, "Mindestwurf (errechnet)", twips(6240, 5400, 1695, 255), true, true, -1);
    row("Modifk", window, text, "", twips(8040, 5280, 1095, 375), true, true, -1);
    row("NiveauFrame", window, frame, "Schadensniveau/Mindestlebensstil", twips(120, 5520, 3015, 1455), true, true, -1);
    row("frmGrundzeitraum", window, frame, "Grundzeitraum", twips(3480, 6120, 1815, 975), true, true, -1);
    row("Frame1", window, frame, "Heilungsdauer", twips(6120, 6720, 1575, 735), true, true, -1);
    row("frmGesamtzeit", window, frame, "Gesamtzeit", twips(8040, 6840, 2295, 615), true, true, -1);
    row("cmdHeilen", window, button, "HEILEN!", twips(120, 7200, 3015, 735), true, true, -1);
    row("frmErfolge", window, frame, "Erfolge beim Würfeln", twips(3480, 7200, 1815, 735), true, true, -1);
    row("cmdReset", window, button, "Reset", twips(9360, 7560, 615, 375), true, true, -1);
    row("frmKosten", window, frame, "Krankenhauskosten", twips(8160, 8040, 2175, 735), true, true, -1);
    row("cmdSanivexInfo", window, button, "Sanivex Info", twips(3240, 8760, 2175, 375), true, true, -1);

    // Inside frames.
    row("Schaden", "SchadenFrame", text, "0", twips(120, 360, 1335, 285), true, true, -1);
    row("txtKonstitution", "KonstitutionFrame", text, "3", twips(120, 360, 1695, 285), true, true, -1);
    row("Willenskraft", "WillenFrame", text, "3", twips(120, 360, 1695, 285), true, false, -1);
    row("EssenzDok", "dokCybFrame", text, "6", twips(360, 360, 495, 285), true, false, -1);
    row("BioIndex", "BioIndexFrame", text, "0", twips(120, 360, 1695, 285), false, false, -1);
    row("txtBioTech", "frmBioTech", text, "8", twips(240, 360, 375, 285), true, false, -1);
    row("cmdSuchDoc", "frmBioTech", button, "Suche Arzt!", twips(840, 360, 1215, 255), true, false, -1);
    row("Krankenhaus", "Pflegebedingungen", option, "Krankenhaus", twips(240, 360, 2415, 375), true, true, 0);
    row("daheim", "Pflegebedingungen", option, "zu Hause", twips(240, 720, 2415, 255), true, true, 1);
    row("schlechteUmst", "Pflegebedingungen", option, "schlechte Umstände", twips(240, 1080, 2415, 255), true, true, 0);
    row("furchtbareUmst", "Pflegebedingungen", option, "furchtbare Umstände", twips(240, 1440, 1935, 255), true, true, 0);
    row("Strasse", "LebensstilFrame", option, "Strasse", twips(120, 240, 1575, 375), true, true, 1);
    row("Squatter", "LebensstilFrame", option, "Squatter", twips(120, 600, 1575, 375), true, true, 0);
    row("Unterschicht", "LebensstilFrame", option, "Unterschicht", twips(120, 960, 1575, 255), true, true, 0);
    row("Mittelschicht", "LebensstilFrame", option, "Mittelschicht", twips(120, 1320, 1575, 255), true, true, 0);
    row("Oberschicht", "LebensstilFrame", option, "Oberschicht", twips(120, 1680, 1215, 255), true, true, 0);
    row("Luxus", "LebensstilFrame", option, "Luxus", twips(120, 2040, 1335, 315), true, true, 0);
    row("niveaulabel", "NiveauFrame", label, "", twips(120, 360, 1935, 375), true, true, -1);
    row("Stillabel", "NiveauFrame", label, "", twips(120, 960, 2655, 375), true, true, -1);
    row("lblGrundzeitraum", "frmGrundzeitraum", label, "", twips(240, 360, 1335, 495), true, true, -1);
    row("lblErfolge", "frmErfolge", label, "", twips(240, 360, 1335, 255), true, true, -1);
    row("lblHeilungsdauer", "Frame1", label, "", twips(120, 240, 1335, 375), true, true, -1);
    row("lstErgebnis", "Frame2", list, "", twips(240, 360, 975, 2010), true, true, -1);
    row("lblGesamtzeit", "frmGesamtzeit", label, "", twips(120, 240, 2055, 255), true, true, -1);
    row("lblKosten", "frmKosten", label, "", twips(120, 240, 1935, 375), true, true, -1);
    // clang-format on
}

void TestForm1::startState() {
    QFETCH(QString, frame);
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    QFETCH(bool, enabled);
    QFETCH(bool, usable);
    QFETCH(int, checked);

    // Controls keep their places when the window grows: there is no layout to move them.
    form->resize(1000, 800);

    auto* w = control(QTest::currentDataTag());
    QCOMPARE(QString::fromLatin1(w->metaObject()->className()), kind);
    QCOMPARE(w->parentWidget()->objectName(), frame.isEmpty() ? QStringLiteral("Form1") : frame);
    QCOMPARE(caption(w), text);
    if (auto* list = qobject_cast<QListWidget*>(w))
        QCOMPARE(list->count(), 0);
    QCOMPARE(w->geometry(), geometry);
    QCOMPARE(w->isEnabledTo(w->parentWidget()), enabled);
    QCOMPARE(w->isEnabled(), usable);
    if (auto* b = qobject_cast<QAbstractButton*>(w); b && b->isCheckable())
        QCOMPARE(int(b->isChecked()), checked);
    else
        QCOMPARE(checked, -1);
}

void TestForm1::focusOrder() {
    // Every control that takes the keyboard focus, by its position in the focus order.
    // clang-format off
    const QStringList expected = {
        "Schaden", "magischeBetreuung", "Erwachter", "BioIndex", "undokBio", "dokBio",
        "dokCyb", "undokCyb", "Kommunikation", "Strasse", "Squatter", "Unterschicht",
        "Mittelschicht", "Oberschicht", "Luxus", "txtKonstitution", "Willenskraft", "EssenzDok",
        "Krankenhaus", "daheim", "schlechteUmst", "furchtbareUmst", "cmdHeilen", "Modifk",
        "Meldungen", "lstErgebnis", "cmdReset", "txtBioTech", "cmdSuchDoc", "cmdSanivexInfo",
    };
    // clang-format on

    QStringList chain;
    for (QWidget* w = form->nextInFocusChain(); w != form.get(); w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            chain.append(w->objectName());
    QCOMPARE(chain, expected);
}

void TestForm1::startFocusAndTabPath() {
    form->show();
    QApplication::setActiveWindow(form.get());
    QVERIFY(QTest::qWaitForWindowActive(form.get()));

    auto* schaden = control<QLineEdit>("Schaden");
    QCOMPARE(QApplication::focusWidget(), schaden);
    QCOMPARE(schaden->selectedText(), QStringLiteral("0"));

    // The first key typed replaces the selected "0".
    QTest::keyClick(schaden, Qt::Key_4);
    QCOMPARE(schaden->text(), QStringLiteral("4"));

    // Tab passes over everything that cannot be used at start (the hospital-only check boxes,
    // the bio-index, the fields in the disabled willpower, essence and doctor frames) and
    // stops once in each option group.
    const QStringList expected = {
        "dokBio",    "Strasse",     "txtKonstitution", "Krankenhaus",    "cmdHeilen", "Modifk",
        "Meldungen", "lstErgebnis", "cmdReset",        "cmdSanivexInfo", "Schaden",
    };
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(visited, expected);
}

void TestForm1::resetClearsOnlyTotals() {
    // What a few healing tests leave behind.
    state.Gesamtzeit = 60.0f;
    state.Kosten = numbers::Amount::fromTicks(12'345'000);
    state.Heilungsdauer = 24.0f;
    state.Mindestwurf = 5;
    const QStringList otherLabels = {"niveaulabel", "Stillabel", "lblGrundzeitraum", "lblErfolge",
                                     "lblHeilungsdauer"};
    for (const QString& name : otherLabels)
        form->findChild<QLabel*>(name)->setText(name + QStringLiteral(" shown"));
    control<QLabel>("lblGesamtzeit")->setText(QStringLiteral("60 hrs = 2,5 Tage"));
    control<QLabel>("lblKosten")->setText(QStringLiteral("1234,5"));
    control<QListWidget>("Meldungen")->addItem(QStringLiteral("Erwachter: +2"));
    control<QListWidget>("lstErgebnis")->addItem(QStringLiteral("4"));
    control<QLineEdit>("Modifk")->setText(QStringLiteral("5"));
    control<QLineEdit>("Schaden")->setText(QStringLiteral("2"));
    control<QCheckBox>("dokBio")->setChecked(true);

    for (int press = 0; press < 2; ++press) {
        control<QPushButton>("cmdReset")->click();

        QCOMPARE(state.Gesamtzeit, 0.0f);
        QCOMPARE(state.Kosten, numbers::Amount{});
        QCOMPARE(control<QLabel>("lblGesamtzeit")->text(), QString());
        QCOMPARE(control<QLabel>("lblKosten")->text(), QString());

        QCOMPARE(state.Heilungsdauer, 24.0f);
        QCOMPARE(state.Mindestwurf, numbers::Int16(5));
        for (const QString& name : otherLabels)
            QCOMPARE(form->findChild<QLabel*>(name)->text(), name + QStringLiteral(" shown"));
        QCOMPARE(control<QListWidget>("Meldungen")->count(), 1);
        QCOMPARE(control<QListWidget>("lstErgebnis")->count(), 1);
        QCOMPARE(control<QLineEdit>("Modifk")->text(), QStringLiteral("5"));
        QCOMPARE(control<QLineEdit>("Schaden")->text(), QStringLiteral("2"));
        QVERIFY(control<QCheckBox>("dokBio")->isChecked());
    }
}

void TestForm1::diceListShowsTheRoll() {
    auto* list = control<QListWidget>("lstErgebnis");
    list->addItem(QStringLiteral("from the last roll"));

    // The same dice once into a plain recorder and once into the window.
    dice::RecordingSink recorded;
    const auto ownSuccesses = scriptedDice({6, 5, 2, 4})->ZaehleErfolge(5, 3, recorded);
    const auto shownSuccesses = scriptedDice({6, 5, 2, 4})->ZaehleErfolge(5, 3, *form);

    QCOMPARE(shownSuccesses, ownSuccesses);
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown.append(list->item(i)->text());
    QCOMPARE(shown, recorded.lines);
    QCOMPARE(shown.size(), 3);

    form->clearDice();
    QCOMPARE(list->count(), 0);
}

void TestForm1::handOverWritesDoctorSkill() {
    // At start the doctor's frame is disabled; the hand-over writes the field all the same.
    auto* field = control<QLineEdit>("txtBioTech");
    form->uebernehmeFertigkeit(7);
    QCOMPARE(field->text(), QStringLiteral("7"));
    form->uebernehmeFertigkeit(0);
    QCOMPARE(field->text(), QStringLiteral("0"));
    QVERIFY(!field->isEnabled());
}

void TestForm1::buttonsAskForTheOtherWindows() {
    int suchDoc = 0;
    int info = 0;
    connect(form.get(), &Form1::suchDocRequested, this, [&] { ++suchDoc; });
    connect(form.get(), &Form1::sanivexInfoRequested, this, [&] { ++info; });

    control<QPushButton>("cmdSanivexInfo")->click();
    QCOMPARE(info, 1);
    QCOMPARE(suchDoc, 0);

    // "Suche Arzt!" answers only while its frame is enabled.
    auto* suchDoc_ = control<QPushButton>("cmdSuchDoc");
    QTest::mouseClick(suchDoc_, Qt::LeftButton);
    QCOMPARE(suchDoc, 0);
    control("frmBioTech")->setEnabled(true);
    QTest::mouseClick(suchDoc_, Qt::LeftButton);
    QCOMPARE(suchDoc, 1);
    QCOMPARE(info, 1);
}

void TestForm1::captionsFit() {
    const QList<QWidget*> all = form->findChildren<QWidget*>();
    int checked = 0;
    for (QWidget* w : all) {
        // Every control, also inside frames with their own colours, uses the program font.
        const QFontInfo font(w->font());
        QVERIFY2(font.family() == windows::programFont().family() &&
                     font.pixelSize() == windows::programFont().pixelSize(),
                 qPrintable(w->objectName()));

        const QString text = caption(w);
        if (text.isEmpty() || qobject_cast<QLineEdit*>(w))
            continue;
        const QFontMetrics fm = w->fontMetrics();
        const QStyle* style = w->style();
        int room = w->width();
        if (auto* box = qobject_cast<QGroupBox*>(w)) {
            // The title starts where the style puts it and must end inside the frame.
            QStyleOptionGroupBox opt;
            opt.initFrom(box);
            opt.text = box->title();
            opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
            const QRect label =
                style->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box);
            room -= label.left();
        } else if (qobject_cast<QCheckBox*>(w)) {
            room -= style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, w) +
                    style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, w);
        } else if (qobject_cast<QRadioButton*>(w)) {
            room -= style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, w) +
                    style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, w);
        } else if (qobject_cast<QPushButton*>(w)) {
            room -= 2 * style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w);
        } else {
            room = w->contentsRect().width();
        }
        const int needed = fm.horizontalAdvance(text);
        QVERIFY2(needed <= room,
                 qPrintable(
                     QStringLiteral("%1: %2 > %3 px").arg(w->objectName()).arg(needed).arg(room)));
        QVERIFY2(fm.height() <= w->height(), qPrintable(w->objectName()));
        ++checked;
    }
    // 15 frames, 7 check boxes, 10 options, 4 buttons and the one captioned label.
    QCOMPARE(checked, 37);
}

void TestForm1::redHealingDurationTitle() {
    control<QLabel>("lblHeilungsdauer")->setText(QStringLiteral("48 hrs = 2 Tage"));
    const QImage shot = form->grab().toImage();

    auto* frame1 = control("Frame1");
    auto* inside = control("lblHeilungsdauer");
    const QRect title(frame1->pos(), QSize(frame1->width(), inside->y()));
    QVERIFY(reddishPixels(shot, title) > 10);
    QCOMPARE(reddishPixels(shot, inside->geometry().translated(frame1->pos())), 0);
    // Only this one frame has a red title.
    QCOMPARE(reddishPixels(shot, form->rect()), reddishPixels(shot, title));
}

void TestForm1::connectorLines() {
    const QImage shot = form->grab().toImage();
    const QRgb background = shot.pixel(1, 1);
    // A point in the middle of each line, in twips.
    const QList<QPoint> middles = {{5580, 6600}, {5580, 7560}, {5880, 6840},
                                   {6000, 7080}, {7860, 7080}, {8880, 7740}};
    for (const QPoint& m : middles) {
        const QPoint p = m / 15;
        QVERIFY2(shot.pixel(p) != background,
                 qPrintable(QStringLiteral("line at %1,%2").arg(p.x()).arg(p.y())));
    }
}

SANIVEX_WINDOW_TEST_MAIN(TestForm1)
#include "tst_form1.moc"
