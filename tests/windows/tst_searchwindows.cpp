// The two doctor search windows as they open: every control where it belongs with its start
// caption and state, the list entries, the keyboard path, the drawn arrow, the marked result
// field, captions that fit, and how the windows end (hand-over, Cancel, Escape).

#include "WindowTestMain.h"
#include "RecordingMessageBoxes.h"
#include "ScriptedDice.h"
#include "windows/NormalVersorgung.h"
#include "windows/NotfallVersorgung.h"
#include "windows/ProgramLook.h"
#include "windows/StraightLines.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStyleOptionComboBox>
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

// Each text a control shows, with the width it needs and the width its style leaves for it.
struct CaptionSpace {
    QString text;
    int needed = 0;
    int available = 0;
};

QList<CaptionSpace> captionSpaces(QWidget* w) {
    const QFontMetrics fm = w->fontMetrics();
    QStyle* style = w->style();
    if (auto* box = qobject_cast<QGroupBox*>(w)) {
        QStyleOptionGroupBox opt;
        opt.initFrom(box);
        opt.text = box->title();
        opt.textAlignment = box->alignment();
        opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        // The style sizes the title's rectangle for the text (in its own title font).
        const QRect label =
            style->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box);
        return {{box->title(), label.right() + 1, box->width() - 1}};
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QStyleOptionComboBox opt;
        opt.initFrom(combo);
        opt.editable = combo->isEditable();
        opt.frame = combo->hasFrame();
        const QRect field =
            style->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo);
        QList<CaptionSpace> entries;
        for (int i = 0; i < combo->count(); ++i)
            entries.append({combo->itemText(i), fm.horizontalAdvance(combo->itemText(i)),
                            field.width() - 1}); // drawn one pixel in, clipped at the field
        return entries;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(button);
        opt.text = button->text();
        const auto element = qobject_cast<QRadioButton*>(w) ? QStyle::SE_RadioButtonContents
                             : qobject_cast<QCheckBox*>(w)  ? QStyle::SE_CheckBoxContents
                                                            : QStyle::SE_PushButtonContents;
        return {{button->text(), fm.horizontalAdvance(button->text()),
                 style->subElementRect(element, &opt, button).width()}};
    }
    if (auto* label = qobject_cast<QLabel*>(w))
        return {
            {label->text(), fm.horizontalAdvance(label->text()), label->contentsRect().width()}};
    return {};
}

// Tab's path through a window, starting where the window starts.
QStringList focusPath(QWidget* window) {
    QStringList path;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            path.append(w->objectName());
    return path;
}

int reddishPixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb c = image.pixel(x, y);
            count += (qRed(c) > 150 && qGreen(c) < 100 && qBlue(c) < 100) ? 1 : 0;
        }
    return count;
}

} // namespace

class TestSearchWindows : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();

    void window_data();
    void window();
    void definition_data();
    void definition();
    void lists_data();
    void lists();
    void focusOrder_data();
    void focusOrder();
    void arrow_data();
    void arrow();
    void fonts_data();
    void fonts();
    void captionsFit_data();
    void captionsFit();
    void handOver_data();
    void handOver();
    void leaveWithoutHandOver_data();
    void leaveWithoutHandOver();

  private:
    // A freshly opened window ("Normal" or "Notfall"): controls created, load handler run.
    QWidget* open(const QString& which);

    care::NormalVersorgungState m_normalState;
    care::NotfallVersorgungState m_notfallState;
    std::unique_ptr<dice::Wuerfelomat> m_dice;
    dice::RecordingSink m_mainDice;
    RecordingMessageBoxes m_boxes;
    std::unique_ptr<QWidget> m_window;
};

QWidget* TestSearchWindows::open(const QString& which) {
    if (which == QLatin1String("Normal")) {
        auto w = std::make_unique<NormalVersorgung>(m_normalState, *m_dice, m_mainDice, m_boxes);
        w->Form_Load();
        m_window = std::move(w);
    } else {
        auto w = std::make_unique<NotfallVersorgung>(m_notfallState, *m_dice, m_boxes);
        w->Form_Load();
        m_window = std::move(w);
    }
    return m_window.get();
}

void TestSearchWindows::init() {
    m_normalState = {};
    m_notfallState = {};
    m_dice = scriptedDice({}); // opening and leaving a window rolls nothing
    m_mainDice.lines.clear();
    m_boxes.texts.clear();
}

void TestSearchWindows::cleanup() {
    m_window.reset();
    QCOMPARE(m_boxes.texts, QStringList());
    QCOMPARE(m_mainDice.lines, QStringList());
}

void TestSearchWindows::window_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QSize>("clientTwips");

    QTest::newRow("Normal") << "Normal"
                            << "Suche nach medizinischer Versorgung" << QSize(8220, 5835);
    QTest::newRow("Notfall") << "Notfall"
                             << "Notfallversorgung" << QSize(7590, 5835);
}

void TestSearchWindows::window() {
    QFETCH(QString, which);
    QFETCH(QString, title);
    QFETCH(QSize, clientTwips);

    QWidget* w = open(which);
    QCOMPARE(w->windowTitle(), title);
    QCOMPARE(w->size(), clientTwips / 15);
    QCOMPARE(w->font(), windows::programFont());
}

void TestSearchWindows::definition_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("checked");

    const QByteArray frame = "QGroupBox", option = "QRadioButton", check = "QCheckBox",
                     list = "QComboBox", text = "QLineEdit", listBox = "QListWidget",
                     label = "QLabel", button = "QPushButton";
    const QString normal = QStringLiteral("NormalVersorgung");
    const QString notfall = QStringLiteral("NotfallVersorgung");
    auto row = [](const char* which, const char* name, const QByteArray& kind,
                  const QString& container, const QString& caption, QRect geometry,
                  bool enabled = true, bool checked = false) {
        QTest::addRow("%s/%s", which, name)
            << QString::fromLatin1(which) << QString::fromUtf8(name) << kind << container << caption
            << geometry << enabled << checked;
    };

    row("Normal", "frmSituation", frame, normal, "Situation", twips(120, 120, 6375, 3015));
    row("Normal", "frmAnbieter", frame, "frmSituation", "Gesuchter Anbieter",
        twips(120, 360, 1695, 2295));
    row("Normal", "optKonzern", option, "frmAnbieter", "Konzerneigen", twips(120, 240, 1335, 375));
    row("Normal", "optPrivat", option, "frmAnbieter", "Privat", twips(120, 600, 855, 255));
    row("Normal", "optIllegal", option, "frmAnbieter", "Illegal", twips(120, 840, 855, 375));
    row("Normal", "optoeffentlich", option, "frmAnbieter", "Öffentlich",
        twips(120, 1200, 1095, 255));
    row("Normal", "optKlinik", option, "frmAnbieter", "Klinik", twips(120, 1440, 1215, 375));
    row("Normal", "optKrankenhaus", option, "frmAnbieter", "Krankenhaus",
        twips(120, 1800, 1335, 315));
    row("Normal", "frmConnection", frame, "frmSituation", "Vermittelnde Connection",
        twips(1920, 360, 4335, 975));
    row("Normal", "optSchieber", option, "frmConnection",
        "Schieber, Regierungsbeamter, Organschieber, etc.", twips(120, 240, 4095, 375));
    row("Normal", "optStrassendoc", option, "frmConnection",
        "Straßendoc, Sanivex-Medtechniker, etc.", twips(120, 600, 3615, 255));
    row("Normal", "frmArt", frame, "frmSituation", "Art der Chirurgie",
        twips(1920, 1440, 1935, 735));
    row("Normal", "cmbArt", list, "frmArt", "", twips(120, 240, 1575, 315));
    row("Normal", "frmKategorie", frame, "frmSituation", "Implantatkategorie",
        twips(3960, 1440, 2295, 735));
    row("Normal", "cmbKategorie", list, "frmKategorie", "", twips(120, 240, 2055, 315));
    row("Normal", "frmLegal", frame, "frmSituation", "Legalität", twips(1920, 2280, 1935, 615));
    row("Normal", "cmbLegalität", list, "frmLegal", "", twips(120, 240, 1695, 315));
    row("Normal", "frmGebräuche", frame, "frmSituation", "Gebräuchefertigkeit",
        twips(3960, 2280, 1695, 615));
    row("Normal", "txtGebräuche", text, "frmGebräuche", "1", twips(240, 240, 1095, 285));
    row("Normal", "lstModifMeld", listBox, normal, "", twips(120, 3240, 1695, 1230));
    row("Normal", "frmFertMod", frame, normal, "Fertigk.Mod.", twips(1920, 3240, 1095, 735));
    row("Normal", "lblFertMod", label, "frmFertMod", "", twips(240, 360, 615, 255));
    row("Normal", "lblPlus", label, normal, "+", twips(3120, 3480, 255, 375));
    row("Normal", "frmW6er", frame, normal, "2W6", twips(3360, 3240, 975, 735));
    row("Normal", "lblWurf1", label, "frmW6er", "", twips(120, 360, 255, 255));
    row("Normal", "lblWurf2", label, "frmW6er", "", twips(600, 360, 255, 255));
    row("Normal", "frmSumme", frame, normal, "Ergebnis (inkl. Mod.)", twips(5040, 3240, 1695, 735));
    row("Normal", "lblSumme", label, "frmSumme", "", twips(600, 240, 615, 375));
    row("Normal", "frmModif", frame, normal, "Modif.", twips(120, 4560, 735, 735));
    row("Normal", "lblModif", label, "frmModif", "", twips(120, 360, 375, 255));
    row("Normal", "frmMindestwurf", frame, normal, "MW", twips(960, 4560, 615, 735));
    row("Normal", "lblMindestwurf", label, "frmMindestwurf", "", twips(120, 360, 375, 255));
    row("Normal", "frmErfolge", frame, normal, "Erfolge", twips(1680, 4560, 735, 735));
    row("Normal", "lblErfolge", label, "frmErfolge", "", twips(120, 360, 375, 255));
    row("Normal", "frmZeitraum", frame, normal, "Zeitraum", twips(2520, 4560, 1335, 735));
    row("Normal", "lblZeitraum", label, "frmZeitraum", "", twips(120, 360, 1095, 255));
    row("Normal", "cmdImproveTime", button, normal, "+", twips(2760, 5400, 255, 255), false);
    row("Normal", "cmdDiminTime", button, normal, "-", twips(3240, 5400, 255, 255), false);
    row("Normal", "frmSuchErgebnis", frame, normal, "Suchergebnis", twips(4200, 4320, 3855, 975));
    row("Normal", "Frame1", frame, "frmSuchErgebnis", "Fertigkeitsstufe",
        twips(120, 240, 1455, 615));
    row("Normal", "lblFertigkeit", label, "Frame1", "", twips(480, 240, 495, 255));
    row("Normal", "Frame2", frame, "frmSuchErgebnis", "Ausrüstungsstufe",
        twips(1680, 240, 1455, 615));
    row("Normal", "lblEquipment", label, "Frame2", "", twips(480, 240, 495, 255));
    row("Normal", "cmdImproveQual", button, "frmSuchErgebnis", "+", twips(3360, 240, 255, 255),
        false);
    row("Normal", "cmdDiminQual", button, "frmSuchErgebnis", "-", twips(3360, 600, 255, 195),
        false);
    row("Normal", "cmdSuchDoc", button, normal, "Suche einen Arzt!", twips(4200, 5400, 1815, 375));
    row("Normal", "cmdUebernehmen", button, normal, "Übernehmen!", twips(6120, 5400, 1095, 375));
    row("Normal", "cmdCancel", button, normal, "Cancel", twips(7320, 5400, 735, 375));

    row("Notfall", "frmSituation", frame, notfall, "Situation", twips(120, 120, 7335, 2895));
    row("Notfall", "frmDienstleister", frame, "frmSituation",
        "Medizinisches Dienstleistungsunternehmen", twips(120, 360, 3255, 1575));
    row("Notfall", "optSanivex", option, "frmDienstleister", "Sanivex", twips(120, 240, 1335, 375));
    row("Notfall", "optRapidmed", option, "frmDienstleister", "Rapidmed/sonstiger Konzernservice",
        twips(120, 600, 2895, 255));
    row("Notfall", "optPrivat", option, "frmDienstleister", "Privat", twips(120, 840, 855, 375));
    row("Notfall", "optIllegal", option, "frmDienstleister", "Öffentlich/Illegal",
        twips(120, 1200, 1695, 255), true, true);
    row("Notfall", "frmRettungsteam", frame, "frmSituation", "Rettungsteam",
        twips(3600, 360, 2415, 975));
    row("Notfall", "optHTR", option, "frmRettungsteam", "High-Threat", twips(120, 240, 1335, 375));
    row("Notfall", "optKriseneinsatz", option, "frmRettungsteam", "Standard/Kriseneinsatz",
        twips(120, 600, 2175, 255));
    row("Notfall", "frmKontrakt", frame, "frmSituation", "Medizinischer Kontrakt",
        twips(3600, 1440, 1935, 735));
    row("Notfall", "cmbKontrakt", list, "frmKontrakt", "", twips(120, 240, 1575, 315));
    row("Notfall", "frmGegend", frame, "frmSituation", "Gegend", twips(5640, 1440, 1455, 735));
    row("Notfall", "cmbGegend", list, "frmGegend", "", twips(120, 240, 1095, 315));
    row("Notfall", "chkSIN", check, "frmSituation", "Charakter ist SINlos",
        twips(120, 2040, 1815, 375));
    row("Notfall", "chkArrest", check, "frmSituation", "Patient ist Gefangener/steht unter Arrest",
        twips(120, 2400, 3255, 375));
    row("Notfall", "lstModifMeld", listBox, notfall, "", twips(120, 3240, 1695, 1815));
    row("Notfall", "frmModif", frame, notfall, "Modifikator", twips(1920, 3240, 1095, 735));
    row("Notfall", "lblModif", label, "frmModif", "", twips(240, 360, 615, 255));
    row("Notfall", "lblPlus", label, notfall, "+", twips(3120, 3480, 255, 375));
    row("Notfall", "frmW6er", frame, notfall, "2W6", twips(3360, 3240, 975, 735));
    row("Notfall", "lblWurf1", label, "frmW6er", "", twips(120, 360, 255, 255));
    row("Notfall", "lblWurf2", label, "frmW6er", "", twips(600, 360, 255, 255));
    row("Notfall", "frmSumme", frame, notfall, "Ergebnis (inkl. Mod.)",
        twips(5040, 3240, 1695, 735));
    row("Notfall", "lblSumme", label, "frmSumme", "", twips(600, 240, 615, 375));
    row("Notfall", "cmdSuchDoc", button, notfall, "Suche einen Arzt!",
        twips(1920, 4200, 1815, 975));
    row("Notfall", "frmSuchErgebnis", frame, notfall, "Suchergebnis",
        twips(3840, 4080, 3615, 1095));
    row("Notfall", "Frame1", frame, "frmSuchErgebnis", "Fertigkeitsstufe",
        twips(240, 360, 1455, 615));
    row("Notfall", "lblFertigkeit", label, "Frame1", "", twips(480, 240, 495, 255));
    row("Notfall", "Frame2", frame, "frmSuchErgebnis", "Ausrüstungsstufe",
        twips(2040, 360, 1455, 615));
    row("Notfall", "lblEquipment", label, "Frame2", "", twips(480, 240, 495, 255));
    row("Notfall", "cmdCancel", button, notfall, "Cancel", twips(240, 5400, 1575, 375));
    row("Notfall", "cmdUebernehmen", button, notfall, "Übernehmen!", twips(2040, 5400, 1695, 375));
}

void TestSearchWindows::definition() {
    QFETCH(QString, which);
    QFETCH(QString, name);
    QFETCH(QByteArray, kind);
    QFETCH(QString, container);
    QFETCH(QString, text);
    QFETCH(QRect, geometry);
    QFETCH(bool, enabled);
    QFETCH(bool, checked);

    QWidget* w = open(which)->findChild<QWidget*>(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(QByteArray(w->metaObject()->className()), kind);
    QCOMPARE(w->parentWidget()->objectName(), container);
    QCOMPARE(caption(w), text);
    QCOMPARE(w->geometry(), geometry);
    QCOMPARE(w->isEnabled(), enabled);
    QVERIFY(!w->isHidden());
    if (auto* b = qobject_cast<QAbstractButton*>(w); b && b->isCheckable())
        QCOMPARE(b->isChecked(), checked);
    if (auto* l = qobject_cast<QListWidget*>(w))
        QCOMPARE(l->count(), 0);
}

void TestSearchWindows::lists_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("cmbArt") << "Normal"
                            << "cmbArt"
                            << QStringList{"Kosmetisch",     "Implantat", "Therapeutisch",
                                           "Transimplantat", "Trauma",    "Nanochirugie"};
    QTest::newRow("cmbKategorie")
        << "Normal"
        << "cmbKategorie"
        << QStringList{"Standardcyberware",   "Alphaware",       "Betaware",
                       "Deltaware",           "Standardbioware", "Kosmetische Bioware",
                       "Kultivierte Bioware", "Nanoware"};
    QTest::newRow("cmbLegalität") << "Normal"
                                  << "cmbLegalität"
                                  << QStringList{"Legal", "Paralegal/Klasse A",
                                                 "Sicherheit/Klasse B", "Militärisch/Klasse C"};
    QTest::newRow("cmbKontrakt") << "Notfall"
                                 << "cmbKontrakt"
                                 << QStringList{"Keiner", "Super-Platin", "Platin", "Gold",
                                                "Basis"};
    QTest::newRow("cmbGegend") << "Notfall"
                               << "cmbGegend"
                               << QStringList{"AAA oder AA", "A oder B", "C oder D", "E oder Z"};
}

void TestSearchWindows::lists() {
    QFETCH(QString, which);
    QFETCH(QString, name);
    QFETCH(QStringList, entries);

    auto* list = open(which)->findChild<QComboBox*>(name);
    QVERIFY(list);
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown.append(list->itemText(i));
    QCOMPARE(shown, entries);
    QVERIFY(!list->isEditable());
    QCOMPARE(list->currentIndex(), -1);
    QCOMPARE(list->currentText(), QString());
}

void TestSearchWindows::focusOrder_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QStringList>("order");

    QTest::newRow("Normal") << "Normal"
                            << QStringList{"optKonzern",     "optPrivat",      "optIllegal",
                                           "optoeffentlich", "optSchieber",    "optStrassendoc",
                                           "cmbArt",         "cmbKategorie",   "cmdSuchDoc",
                                           "lstModifMeld",   "cmdCancel",      "cmdUebernehmen",
                                           "optKlinik",      "optKrankenhaus", "cmbLegalität",
                                           "txtGebräuche",   "cmdImproveTime", "cmdImproveQual",
                                           "cmdDiminTime",   "cmdDiminQual"};
    QTest::newRow("Notfall") << "Notfall"
                             << QStringList{"chkSIN",      "chkArrest",        "optSanivex",
                                            "optRapidmed", "optPrivat",        "optIllegal",
                                            "optHTR",      "optKriseneinsatz", "cmbKontrakt",
                                            "cmbGegend",   "cmdSuchDoc",       "lstModifMeld",
                                            "cmdCancel",   "cmdUebernehmen"};
}

void TestSearchWindows::focusOrder() {
    QFETCH(QString, which);
    QFETCH(QStringList, order);

    QWidget* w = open(which);
    QCOMPARE(focusPath(w), order);

    w->show();
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    QVERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), order.first());
    // Taking the focus must not select an option of an empty group.
    if (auto* option = qobject_cast<QRadioButton*>(QApplication::focusWidget()))
        QVERIFY(!option->isChecked());
}

void TestSearchWindows::arrow_data() {
    QTest::addColumn<QString>("which");
    for (const char* which : {"Normal", "Notfall"})
        QTest::newRow(which) << QString::fromLatin1(which);
}

void TestSearchWindows::arrow() {
    QFETCH(QString, which);

    QWidget* w = open(which);
    const QList<QLine> expected = {QLine(4320, 3600, 4680, 3600), QLine(4320, 3720, 4680, 3720),
                                   QLine(4560, 3480, 4920, 3600), QLine(4560, 3840, 4920, 3720)};
    for (int i = 0; i < expected.size(); ++i) {
        const QString name = QStringLiteral("Line%1").arg(i + 1);
        auto* line = w->findChild<windows::StraightLines*>(name);
        QVERIFY2(line, qPrintable(name));
        const QLine t = expected.at(i);
        QCOMPARE(line->pixelLines(),
                 QList<QLine>{QLine(t.x1() / 15, t.y1() / 15, t.x2() / 15, t.y2() / 15)});
    }
}

void TestSearchWindows::fonts_data() {
    arrow_data();
}

void TestSearchWindows::fonts() {
    QFETCH(QString, which);

    QWidget* w = open(which);
    auto* plus = w->findChild<QLabel*>("lblPlus");
    QVERIFY(plus->font().bold());
    QCOMPARE(plus->font().pointSizeF(), 13.5);
    auto* skill = w->findChild<QLabel*>("lblFertigkeit");
    QVERIFY(skill->font().bold());
    QCOMPARE(skill->font().pointSizeF(), 9.75);
    QVERIFY(w->findChild<QPushButton*>("cmdSuchDoc")->font().bold());
    QVERIFY(!w->findChild<QPushButton*>("cmdCancel")->font().bold());

    // Red is seen on screen: the title of Frame1 and the skill shown, nothing in Frame2.
    skill->setText(QStringLiteral("10"));
    w->findChild<QLabel*>("lblEquipment")->setText(QStringLiteral("6"));
    const QImage image = w->grab().toImage();
    auto area = [w](const QWidget* child, int height) {
        return QRect(child->mapTo(w, QPoint(0, 0)), QSize(child->width(), height));
    };
    auto* frame1 = w->findChild<QGroupBox*>("Frame1");
    auto* frame2 = w->findChild<QGroupBox*>("Frame2");
    QVERIFY(reddishPixels(image, area(frame1, skill->y())) > 0); // the title above the label
    QVERIFY(reddishPixels(image, area(skill, skill->height())) > 0);
    QCOMPARE(reddishPixels(image, area(frame2, frame2->height())), 0);
}

void TestSearchWindows::captionsFit_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("needed");
    QTest::addColumn<int>("available");

    for (const char* which : {"Normal", "Notfall"}) {
        QWidget* w = open(QString::fromLatin1(which));
        for (QWidget* child : w->findChildren<QWidget*>())
            for (const CaptionSpace& c : captionSpaces(child))
                if (!c.text.isEmpty())
                    QTest::addRow("%s/%s/%s", which, qPrintable(child->objectName()),
                                  qPrintable(c.text))
                        << c.text << c.needed << c.available;
    }
    m_window.reset();
}

void TestSearchWindows::captionsFit() {
    QFETCH(int, needed);
    QFETCH(int, available);
    QVERIFY2(
        needed <= available,
        qPrintable(QStringLiteral("%1 px needed, %2 px available").arg(needed).arg(available)));
}

void TestSearchWindows::handOver_data() {
    arrow_data();
}

void TestSearchWindows::handOver() {
    QFETCH(QString, which);

    m_normalState.Fertigkeit = 7;
    m_notfallState.Fertigkeit = 9;
    const int expected = which == QLatin1String("Normal") ? 7 : 9;
    QWidget* w = open(which);
    w->show();

    // The main window's field is written while the search window is still open.
    QList<int> handedOver;
    bool openWhenHandedOver = false;
    auto record = [&](numbers::Int16 fertigkeit) {
        handedOver.append(fertigkeit);
        openWhenHandedOver = w->isVisible();
    };
    if (auto* normal = qobject_cast<NormalVersorgung*>(w))
        connect(normal, &NormalVersorgung::skillHandedOver, this, record);
    else
        connect(qobject_cast<NotfallVersorgung*>(w), &NotfallVersorgung::skillHandedOver, this,
                record);

    QTest::mouseClick(w->findChild<QPushButton*>("cmdUebernehmen"), Qt::LeftButton);
    QCOMPARE(handedOver, QList<int>{expected});
    QVERIFY(openWhenHandedOver);
    QVERIFY(!w->isVisible());
    QCOMPARE(m_normalState.Fertigkeit, numbers::Int16(7));
    QCOMPARE(m_notfallState.Fertigkeit, numbers::Int16(9));
}

void TestSearchWindows::leaveWithoutHandOver_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("control"); // where the key or click goes
    QTest::addColumn<bool>("escape");

    QTest::newRow("Normal/Cancel") << "Normal"
                                   << "cmdCancel" << false;
    QTest::newRow("Normal/Escape on option") << "Normal"
                                             << "optKonzern" << true;
    QTest::newRow("Normal/Escape in etiquette field") << "Normal"
                                                      << "txtGebräuche" << true;
    QTest::newRow("Normal/Escape in list") << "Normal"
                                           << "cmbLegalität" << true;
    QTest::newRow("Normal/Escape in messages") << "Normal"
                                               << "lstModifMeld" << true;
    QTest::newRow("Notfall/Cancel") << "Notfall"
                                    << "cmdCancel" << false;
    QTest::newRow("Notfall/Escape on check box") << "Notfall"
                                                 << "chkSIN" << true;
    QTest::newRow("Notfall/Escape in list") << "Notfall"
                                            << "cmbGegend" << true;
    QTest::newRow("Notfall/Escape on button") << "Notfall"
                                              << "cmdUebernehmen" << true;
}

void TestSearchWindows::leaveWithoutHandOver() {
    QFETCH(QString, which);
    QFETCH(QString, control);
    QFETCH(bool, escape);

    QWidget* w = open(which);
    w->show();
    std::unique_ptr<QSignalSpy> handOver;
    if (auto* normal = qobject_cast<NormalVersorgung*>(w))
        handOver = std::make_unique<QSignalSpy>(normal, &NormalVersorgung::skillHandedOver);
    else
        handOver = std::make_unique<QSignalSpy>(qobject_cast<NotfallVersorgung*>(w),
                                                &NotfallVersorgung::skillHandedOver);
    auto* target = w->findChild<QWidget*>(control);
    QVERIFY(target);
    if (escape) {
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Escape);
    } else {
        QTest::mouseClick(target, Qt::LeftButton);
    }
    QVERIFY(!w->isVisible());
    QCOMPARE(handOver->count(), 0);
}

SANIVEX_WINDOW_TEST_MAIN(TestSearchWindows)
#include "tst_searchwindows.moc"
