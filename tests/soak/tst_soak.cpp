// A long random session with the whole program: a wild user clicks, types, pastes, picks list
// entries, presses keys, hammers buttons, closes and reopens windows in a seeded random order,
// and after every action the program must still hold together. SANIVEX_SOAK_SEED and
// SANIVEX_SOAK_ACTIONS choose the run; a failure names the seed, the action and the actions that
// led to it, so that the same run can be repeated.

#include "RecordingMessageBoxes.h"
#include "WindowTestMain.h"
#include "app/Programm.h"
#include "care/CareTexts.h"
#include "healing/Eingaben.h"
#include "healing/Meldetexte.h"
#include "numbers/Text.h"
#include "windows/Auswahl.h"
#include "windows/Form1.h"
#include "windows/NormalVersorgung.h"
#include "windows/NotfallVersorgung.h"
#include "windows/SanivexInfo.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

#include <cmath>
#include <deque>
#include <random>
#include <tuple>

namespace {

constexpr std::uint64_t ciSeed = 4711;
constexpr long long ciActions = 20000;

const QStringList windowKinds = {"Form1", "Auswahl", "NormalVersorgung", "NotfallVersorgung",
                                 "SanivexInfo"};

// What wild hands put into a text box, besides plain small numbers: blanks, letters, signs,
// both decimal separators, exponents, the limits of every field and of 16 bits, non-ASCII.
const QStringList wildTexts = {
    "",      " ",       "   ",    "abc",   "x1",
    "-",     "--3",     "+4",     "1e5",   "1e39",
    "inf",   "nan",     "0x10",   "40000", "32767",
    "32768", "-32768",  "-32769", "3,5",   "3.5",
    "5,01",  "5.01",    "0,5",    "-0,5",  "0.005",
    "1.000", "1,000.5", "ä€😀",    "٣",     "30",
    "31",    "20",      "21",     "100",   "101",
    "655",   "656",     "682",    "683",   "1365",
    "1366",  "-1",      "-3",     "-100",  "0",
    "-0",    " 7 ",     "6",      "12",    "1000000000000000000000000000000000000000"};

// The texts of a press that could not use its input; such a press must change nothing.
class Refusals {
  public:
    Refusals() {
        namespace m = healing::meldetexte;
        for (const QString& feld : {m::feldSchaden, m::feldKonstitution, m::feldWillenskraft,
                                    m::feldBioIndex, m::feldEssenz, m::feldBioTech})
            m_exact << m::keineGanzeZahl(feld) << m::ganzeZahlAusserhalb(feld)
                    << m::keineZahl(feld);
        m_exact << m::zuVieleWuerfel() << m::kostenZuGross() << m::wurfZuGross()
                << care::texts::gebraeucheKeineZahl << care::texts::gebraeucheZuGross;
        // The messages about a computed value name it; everything around the name is fixed.
        const QString hole = QStringLiteral("\u0001");
        for (const QString& text :
             {m::zuGross(hole), m::zuKlein(hole), m::feldNaeherAnNull(hole, hole)}) {
            QStringList parts = text.split(hole);
            for (QString& part : parts)
                part = QRegularExpression::escape(part);
            m_patterns << QRegularExpression(u'^' + parts.join(QStringLiteral(".+")) + u'$');
        }
    }

    bool contains(const QString& text) const {
        if (m_exact.contains(text))
            return true;
        for (const QRegularExpression& pattern : m_patterns)
            if (pattern.match(text).hasMatch())
                return true;
        return false;
    }

  private:
    QStringList m_exact;
    QList<QRegularExpression> m_patterns;
};

// The messages the rules themselves show; anything neither these nor a refusal is a fault.
const QStringList ruleMessages = {
    healing::meldetexte::nichtKrank,      healing::meldetexte::geheilt,
    care::texts::ersteAblehnung,          care::texts::zweiteAblehnung,
    healing::konstitutionsgrenze.meldung, healing::willensgrenze.meldung};

QtMessageHandler previousHandler = nullptr;

// The offscreen platform cannot raise a window or grab the keyboard for a drop-down, and says so
// every time; that is no news in a run that does it thousands of times.
void withoutPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (!text.startsWith(u"This plugin does not support "))
        previousHandler(type, context, text);
}

auto fields(const healing::Form1State& s) {
    return std::tie(s.Schadenskaestchen, s.Schadensniveau, s.Verletzungsmod, s.Mindestlebensstil,
                    s.MindeststilStufe, s.Lebensstilstufe, s.Mindestwurf, s.Umstaende,
                    s.Grundzeitraum, s.Konstitution, s.Heilungsdauer, s.BioMod, s.BioDivisor,
                    s.Gesamtzeit, s.Kosten);
}

auto fields(const care::NormalVersorgungState& s) {
    return std::tie(s.Modif, s.Fertigkeit, s.FertMod, s.Zeitraum, s.Erfolge, s.Equipment,
                    s.EquipmentBasis);
}

auto fields(const care::NotfallVersorgungState& s) {
    return std::tie(s.Modif, s.Fertigkeit);
}

QString className(const QObject* object) {
    return QString::fromLatin1(object->metaObject()->className());
}

QString nameOf(const QWidget* control) {
    return className(control->window()) + u'.' + control->objectName();
}

// One line per named control: what the user can see and use of it.
QStringList look(const QWidget* window) {
    QStringList seen;
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(u"qt_"))
            continue; // the toolkit's own parts
        QString line =
            w->objectName() + (w->isEnabled() ? QStringLiteral("\t") : QStringLiteral("\toff\t"));
        if (auto* button = qobject_cast<const QAbstractButton*>(w))
            line += (button->isChecked() ? QStringLiteral("on ") : QString()) + button->text();
        else if (auto* label = qobject_cast<const QLabel*>(w))
            line += label->text();
        else if (auto* edit = qobject_cast<const QLineEdit*>(w))
            line += edit->text();
        else if (auto* combo = qobject_cast<const QComboBox*>(w))
            line += QStringLiteral("%1 of %2: %3")
                        .arg(combo->currentIndex())
                        .arg(combo->count())
                        .arg(combo->currentText());
        else if (auto* list = qobject_cast<const QListWidget*>(w))
            for (int i = 0; i < list->count(); ++i)
                line += list->item(i)->text() + u'|';
        seen << line;
    }
    return seen;
}

QStringList without(QStringList lines, const QStringList& names) {
    lines.removeIf(
        [&names](const QString& line) { return names.contains(line.section(u'\t', 0, 0)); });
    return lines;
}

// The first line that differs, for the failure report.
QString firstDifference(const QStringList& before, const QStringList& after) {
    for (qsizetype i = 0; i < std::max(before.size(), after.size()); ++i) {
        const QString b = before.value(i, QStringLiteral("<none>"));
        const QString a = after.value(i, QStringLiteral("<none>"));
        if (a != b)
            return QStringLiteral("'%1' became '%2'").arg(b, a);
    }
    return QStringLiteral("nothing");
}

// Everything the program shows and keeps, at one moment.
struct Moment {
    QMap<QString, QStringList> windows; // open window kind -> its look
    healing::Form1State form1;
    care::NormalVersorgungState normal;
    care::NotfallVersorgungState notfall;
    QString bioTech; // the doctor's skill as the next press reads it

    bool operator==(const Moment& other) const {
        return windows == other.windows && fields(form1) == fields(other.form1) &&
               fields(normal) == fields(other.normal) && fields(notfall) == fields(other.notfall);
    }
};

} // namespace

class TestSoak : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void cleanup();
    void wildUser();

  private:
    QString act();
    QString click(QAbstractButton* button);
    QString clickAnything();
    QString press();
    QString reopen();
    QString startHammering();
    QString trade();
    QString editText();
    QString chooseEntry();
    QString pressKey();
    QString answerPopup(QWidget* popup);
    QString closeWindow();

    QString check(const Moment& before, const QStringList& messages);
    Moment now() const;
    QList<QWidget*> openWindows() const;
    void watchNewWindows();
    QString report(qint64 index, const QString& broken) const;

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    template <class T> T* any(const QList<T*>& list) {
        return list.isEmpty() ? nullptr : list.at(pick(int(list.size())));
    }
    template <class T> QList<T*> usable(const QList<QWidget*>& windows) const {
        QList<T*> found;
        for (QWidget* window : windows)
            for (T* control : window->findChildren<T*>())
                if (control->isVisible() && control->isEnabled() &&
                    !control->objectName().isEmpty())
                    found << control;
        return found;
    }
    QString someText();

    std::unique_ptr<app::Programm> m_programm;
    RecordingMessageBoxes m_boxes;
    Refusals m_refusals;
    std::mt19937 m_rng;
    std::uint64_t m_seed = ciSeed;
    QPointer<Form1> m_main;
    std::deque<QString> m_log;

    // What the current action touched, set by the action and by the watched buttons.
    QString m_actedOn;
    bool m_resetClicked = false;
    bool m_normalSearched = false;
    const numbers::Int16* m_handedOver = nullptr;

    QPointer<QAbstractButton> m_hammer;
    int m_hammerLeft = 0;

    // The figures of the run.
    qint64 m_badTexts = 0;
    qint64 m_texts = 0;
    qint64 m_messages = 0;
    qint64 m_refused = 0;
    qint64 m_heilen = 0;
    qint64 m_searches = 0;
    qint64 m_handOvers = 0;
    qint64 m_resets = 0;
    qint64 m_hammers = 0;
    qint64 m_trades = 0;
    QMap<QString, qint64> m_opened;
    QMap<QString, qint64> m_shown;
};

void TestSoak::initTestCase() {
    // Closing the main window at the end must not quit the test.
    QApplication::setQuitOnLastWindowClosed(false);
    previousHandler = qInstallMessageHandler(withoutPlatformNotes);
}

void TestSoak::cleanup() {
    m_programm.reset();
}

QList<QWidget*> TestSoak::openWindows() const {
    QList<QWidget*> open;
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_programm->form1.window(), m_programm->auswahl.window(),
             m_programm->normalVersorgung.window(), m_programm->notfallVersorgung.window(),
             m_programm->sanivexInfo.window()})
        if (w)
            open << w;
    return open;
}

Moment TestSoak::now() const {
    Moment moment{{},
                  m_programm->form1.state,
                  m_programm->normalVersorgung.state,
                  m_programm->notfallVersorgung.state,
                  m_main->findChild<QLineEdit*>(QStringLiteral("txtBioTech"))->text()};
    for (QWidget* window : openWindows())
        moment.windows.insert(className(window), look(window));
    return moment;
}

// Hooks into every new window's buttons, to learn what a key or click really set off.
void TestSoak::watchNewWindows() {
    for (QWidget* window : openWindows()) {
        if (window->property("soakWatched").toBool())
            continue;
        window->setProperty("soakWatched", true);
        ++m_opened[className(window)];
        auto button = [window](const char* name) {
            return window->findChild<QAbstractButton*>(QString::fromLatin1(name));
        };
        if (qobject_cast<Form1*>(window)) {
            connect(button("cmdHeilen"), &QAbstractButton::clicked, this, [this] { ++m_heilen; });
            connect(button("cmdReset"), &QAbstractButton::clicked, this, [this] {
                m_resetClicked = true;
                ++m_resets;
            });
            continue;
        }
        const bool normal = qobject_cast<NormalVersorgung*>(window);
        if (!normal && !qobject_cast<NotfallVersorgung*>(window))
            continue;
        const numbers::Int16* fertigkeit = normal ? &m_programm->normalVersorgung.state.Fertigkeit
                                                  : &m_programm->notfallVersorgung.state.Fertigkeit;
        connect(button("cmdSuchDoc"), &QAbstractButton::clicked, this, [this, normal] {
            ++m_searches;
            m_normalSearched = m_normalSearched || normal;
        });
        connect(button("cmdUebernehmen"), &QAbstractButton::clicked, this, [this, fertigkeit] {
            ++m_handOvers;
            m_handedOver = fertigkeit;
        });
    }
}

QString TestSoak::someText() {
    const int kind = pick(20);
    if (kind < 12)
        return numbers::intText(pick(42) - 6);
    if (kind < 19)
        return wildTexts.at(pick(int(wildTexts.size())));
    QString digits;
    for (int i = 0, n = 6 + pick(300); i < n; ++i)
        digits += QChar(u'0' + pick(10));
    return digits;
}

QString TestSoak::click(QAbstractButton* button) {
    m_actedOn = className(button->window());
    const QString name = nameOf(button);
    if (pick(4) == 0) {
        button->click();
        return QStringLiteral("click() ") + name;
    }
    // A check box or option reacts to its box and caption, not to empty space beside them.
    QPoint at = button->rect().center();
    if (!qobject_cast<QPushButton*>(button))
        at.setX(std::min(6, at.x()));
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
    return QStringLiteral("mouse click ") + name;
}

QString TestSoak::clickAnything() {
    QWidget* window = any(openWindows());
    QAbstractButton* button = any(usable<QAbstractButton>({window}));
    return button ? click(button) : QStringLiteral("nothing to click in ") + className(window);
}

// The buttons that do the work: "HEILEN!" and the two searches.
QString TestSoak::press() {
    QList<QAbstractButton*> buttons;
    for (QAbstractButton* button : usable<QAbstractButton>(openWindows()))
        if (button->objectName() == u"cmdHeilen" || (button->objectName() == u"cmdSuchDoc" &&
                                                     qobject_cast<SearchWindow*>(button->window())))
            buttons << button;
    return buttons.isEmpty() ? clickAnything() : click(any(buttons));
}

// The way to another window: a user after a doctor goes through hospital care, "Suche Arzt!"
// and the choice dialog; now and then the contract table.
QString TestSoak::reopen() {
    QList<QAbstractButton*> buttons;
    if (QWidget* dialog = m_programm->auswahl.window())
        buttons = usable<QAbstractButton>({dialog});
    else if (pick(4) == 0)
        buttons << m_main->findChild<QAbstractButton*>(QStringLiteral("cmdSanivexInfo"));
    for (const char* name : {"cmdSuchDoc", "Krankenhaus"}) {
        if (!buttons.isEmpty())
            break;
        if (auto* button = m_main->findChild<QAbstractButton*>(QString::fromLatin1(name));
            button->isEnabled())
            buttons << button;
    }
    if (buttons.isEmpty()) // a frame in the way
        buttons << m_main->findChild<QAbstractButton*>(QStringLiteral("cmdSanivexInfo"));
    return click(any(buttons));
}

// A few clicks in a row on one trade button of the normal search, to reach its limits.
QString TestSoak::trade() {
    QList<QAbstractButton*> buttons;
    if (QWidget* normal = m_programm->normalVersorgung.window())
        for (QAbstractButton* button : usable<QAbstractButton>({normal}))
            if (button->objectName().startsWith(u"cmdImprove") ||
                button->objectName().startsWith(u"cmdDimin"))
                buttons << button;
    if (buttons.isEmpty())
        return clickAnything();
    ++m_trades;
    m_hammer = any(buttons);
    m_hammerLeft = pick(12);
    return QStringLiteral("trade %1 more times: ").arg(m_hammerLeft) + click(m_hammer);
}

// The same button again and again, as a user does who wants more of something.
QString TestSoak::startHammering() {
    QWidget* window = any(openWindows());
    QList<QAbstractButton*> buttons;
    for (QAbstractButton* button : usable<QAbstractButton>({window}))
        if (qobject_cast<QPushButton*>(button))
            buttons << button;
    m_hammer = any(buttons);
    if (!m_hammer)
        return QStringLiteral("nothing to hammer in ") + className(window);
    ++m_hammers;
    m_hammerLeft = 10 + pick(180);
    return QStringLiteral("start hammering %1 times: ").arg(m_hammerLeft) + click(m_hammer);
}

QString TestSoak::editText() {
    QLineEdit* edit = any(usable<QLineEdit>(openWindows()));
    if (!edit)
        return clickAnything();
    m_actedOn = className(edit->window());
    QTest::mouseClick(edit, Qt::LeftButton); // the cursor lands in the middle of the text
    const int how = pick(8);
    if (how == 0) {
        const int count = 1 + pick(4);
        for (int i = 0; i < count; ++i)
            QTest::keyClick(edit, Qt::Key_Backspace);
        return QStringLiteral("%1 backspaces in %2").arg(count).arg(nameOf(edit));
    }
    const QString text = someText();
    ++m_texts;
    if (!numbers::parseInt16(text))
        ++m_badTexts;
    const bool over = pick(3) != 0;
    if (over)
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    bool ascii = true;
    for (QChar c : text)
        ascii = ascii && c.unicode() < 0x7f;
    // Long texts arrive by the clipboard: typing them key by key would only repeat the check
    // of the attribute fields hundreds of times.
    if (how < 4 && ascii && text.size() <= 12) {
        QTest::keyClicks(edit, text);
        return QStringLiteral("type %1\"%2\" into %3")
            .arg(over ? QStringLiteral("over all: ") : QString(), text, nameOf(edit));
    }
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    return QStringLiteral("paste %1\"%2\" into %3")
        .arg(over ? QStringLiteral("over all: ") : QString(), text, nameOf(edit));
}

QString TestSoak::chooseEntry() {
    if (pick(5) == 0) {
        QListWidget* list = any(usable<QListWidget>(openWindows()));
        if (!list)
            return clickAnything();
        m_actedOn = className(list->window());
        const int row = pick(list->count() + 1) - 1;
        list->setCurrentRow(row);
        return QStringLiteral("row %1 in %2").arg(row).arg(nameOf(list));
    }
    QComboBox* combo = any(usable<QComboBox>(openWindows()));
    if (!combo)
        return clickAnything();
    m_actedOn = className(combo->window());
    const int index = pick(combo->count() + 1) - 1;
    combo->setCurrentIndex(index);
    return QStringLiteral("entry %1 \"%2\" in %3")
        .arg(index)
        .arg(combo->currentText(), nameOf(combo));
}

QString TestSoak::pressKey() {
    static const std::pair<Qt::Key, const char*> keys[] = {
        {Qt::Key_Return, "Return"}, {Qt::Key_Enter, "Enter"},     {Qt::Key_Escape, "Escape"},
        {Qt::Key_Tab, "Tab"},       {Qt::Key_Backtab, "Backtab"}, {Qt::Key_Space, "Space"}};
    const auto& [key, keyName] = keys[pick(std::size(keys))];
    QWidget* window = any(openWindows());
    m_actedOn = className(window);
    QWidget* target = window->focusWidget();
    if (!target || !target->isVisible() || !target->isEnabled())
        target = window;
    QTest::keyClick(target, key);
    return QStringLiteral("%1 on %2")
        .arg(QLatin1String(keyName), target == window ? className(window) : nameOf(target));
}

// An open drop-down takes the next keys, as it does for a user.
QString TestSoak::answerPopup(QWidget* popup) {
    m_actedOn = popup->parentWidget() ? className(popup->parentWidget()->window()) : QString();
    static const std::pair<Qt::Key, const char*> keys[] = {{Qt::Key_Down, "Down"},
                                                           {Qt::Key_Up, "Up"},
                                                           {Qt::Key_Return, "Return"},
                                                           {Qt::Key_Escape, "Escape"}};
    const auto& [key, keyName] = keys[pick(std::size(keys))];
    QWidget* target = popup->focusWidget() ? popup->focusWidget() : popup;
    QTest::keyClick(target, key);
    return QStringLiteral("%1 in the open drop-down").arg(QLatin1String(keyName));
}

// The close box of any window but the main one.
QString TestSoak::closeWindow() {
    QList<QWidget*> windows = openWindows();
    windows.removeOne(m_main.data());
    QWidget* window = any(windows);
    if (!window)
        return reopen();
    m_actedOn = className(window);
    window->close();
    return QStringLiteral("close box of ") + className(window);
}

QString TestSoak::act() {
    if (QWidget* popup = QApplication::activePopupWidget())
        return answerPopup(popup);
    if (m_hammerLeft > 0 && m_hammer && m_hammer->isVisible() && m_hammer->isEnabled()) {
        --m_hammerLeft;
        return QStringLiteral("again: ") + click(m_hammer);
    }
    m_hammerLeft = 0;
    const int roll = pick(1000);
    if (roll < 3)
        return startHammering();
    if (roll < 40)
        return trade();
    if (roll < 300)
        return clickAnything();
    if (roll < 420)
        return press();
    if (roll < 500)
        return reopen();
    if (roll < 720)
        return editText();
    if (roll < 800)
        return chooseEntry();
    if (roll < 950)
        return pressKey();
    return closeWindow();
}

QString TestSoak::check(const Moment& before, const QStringList& messages) {
    QMap<QString, int> visible;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && windowKinds.contains(className(w)))
            ++visible[className(w)];
    for (auto it = visible.cbegin(); it != visible.cend(); ++it)
        if (it.value() > 1)
            return QStringLiteral("%1 windows %2 are open").arg(it.value()).arg(it.key());
    if (!m_main || !m_main->isVisible())
        return QStringLiteral("the main window is gone");

    for (const auto& pair : {std::pair("dokBio", "undokBio"), std::pair("dokCyb", "undokCyb")}) {
        auto checked = [this](const char* name) {
            return m_main->findChild<QAbstractButton*>(QString::fromLatin1(name))->isChecked();
        };
        if (checked(pair.first) && checked(pair.second))
            return QStringLiteral("both %1 and %2 are checked").arg(pair.first, pair.second);
    }

    const Moment after = now();
    qsizetype refusals = 0;
    for (const QString& message : messages) {
        if (m_refusals.contains(message))
            ++refusals;
        else if (!ruleMessages.contains(message))
            return QStringLiteral("unexpected message \"%1\"").arg(message);
    }
    if (refusals > 0) {
        ++m_refused;
        if (messages.size() != 1)
            return QStringLiteral("a refused press showed %1 messages: %2")
                .arg(messages.size())
                .arg(messages.join(QStringLiteral(" / ")));
        if (!(after == before)) {
            QString what = QStringLiteral("the state");
            for (auto it = before.windows.cbegin(); it != before.windows.cend(); ++it)
                if (after.windows.value(it.key()) != it.value())
                    what = it.key() + QStringLiteral(": ") +
                           firstDifference(it.value(), after.windows.value(it.key()));
            return QStringLiteral("the refused press \"%1\" changed %2")
                .arg(messages.first(), what);
        }
    }

    const healing::Form1State& form1 = after.form1;
    if (!std::isfinite(form1.Gesamtzeit) || form1.Gesamtzeit < 0.0f || form1.Kosten.ticks() < 0)
        return QStringLiteral("Gesamtzeit %1 h, Kosten %2")
            .arg(double(form1.Gesamtzeit))
            .arg(form1.Kosten.ticks());
    if (m_resetClicked) {
        if (form1.Gesamtzeit != 0.0f || form1.Kosten != numbers::Amount{})
            return QStringLiteral("Reset left the totals at %1 h and %2")
                .arg(double(form1.Gesamtzeit))
                .arg(form1.Kosten.ticks());
    } else {
        // Only the doctor's share (50 per skill level, at 10 boxes or more) can be negative:
        // a press may lower the cost by at most that share, rounded to cents.
        const auto skill = numbers::parseInt16(before.bioTech);
        const qint64 share = skill && *skill < 0 ? qint64(*skill) * 50 * 10000 - 50 : 0;
        if (form1.Gesamtzeit < before.form1.Gesamtzeit ||
            form1.Kosten.ticks() < before.form1.Kosten.ticks() + share)
            return QStringLiteral("the totals fell without Reset: %1 h -> %2 h, %3 -> %4")
                .arg(double(before.form1.Gesamtzeit))
                .arg(double(form1.Gesamtzeit))
                .arg(before.form1.Kosten.ticks())
                .arg(form1.Kosten.ticks());
    }

    const care::NormalVersorgungState& normal = after.normal;
    if (normal.Equipment < normal.EquipmentBasis - 1 ||
        normal.Equipment > normal.EquipmentBasis + 6 || normal.Erfolge < 0 ||
        !std::isfinite(normal.Zeitraum) || normal.Zeitraum < 0.0f)
        return QStringLiteral("normal search out of bounds: Equipment %1 (found %2), Erfolge %3, "
                              "Zeitraum %4")
            .arg(normal.Equipment)
            .arg(normal.EquipmentBasis)
            .arg(normal.Erfolge)
            .arg(double(normal.Zeitraum));

    const QString bioTech = m_main->findChild<QLineEdit*>(QStringLiteral("txtBioTech"))->text();
    if (m_handedOver && bioTech != numbers::intText(*m_handedOver))
        return QStringLiteral("\"Übernehmen!\" of skill %1 left txtBioTech at \"%2\"")
            .arg(*m_handedOver)
            .arg(bioTech);

    // Other windows write only two things into the main window: the etiquette dice of the
    // normal search and the handed-over skill.
    if (m_actedOn != u"Form1" && !m_actedOn.isEmpty()) {
        QStringList mayChange;
        if (m_normalSearched)
            mayChange << QStringLiteral("lstErgebnis");
        if (m_handedOver)
            mayChange << QStringLiteral("txtBioTech");
        const QStringList was = without(before.windows.value(QStringLiteral("Form1")), mayChange);
        const QStringList is = without(after.windows.value(QStringLiteral("Form1")), mayChange);
        if (was != is || fields(before.form1) != fields(form1))
            return QStringLiteral("an action in %1 changed the main window: %2")
                .arg(m_actedOn, firstDifference(was, is));
    }
    return {};
}

QString TestSoak::report(qint64 index, const QString& broken) const {
    QStringList tail(m_log.cbegin(), m_log.cend());
    return QStringLiteral("SANIVEX_SOAK_SEED=%1, action %2: %3\nLast actions:\n  %4")
        .arg(m_seed)
        .arg(index)
        .arg(broken, tail.join(QStringLiteral("\n  ")));
}

void TestSoak::wildUser() {
    bool ok = false;
    m_seed = qEnvironmentVariable("SANIVEX_SOAK_SEED").toULongLong(&ok);
    if (!ok)
        m_seed = ciSeed;
    long long actions = qEnvironmentVariable("SANIVEX_SOAK_ACTIONS").toLongLong(&ok);
    if (!ok)
        actions = ciActions;
    std::seed_seq seq{std::uint32_t(m_seed), std::uint32_t(m_seed >> 32)};
    m_rng.seed(seq);

    // The real generator, seeded, and a clock that moves on by one for every die: the same
    // seed rolls the same dice.
    auto dice =
        std::make_unique<dice::Wuerfelomat>(std::make_unique<dice::MixingGenerator>(m_seed),
                                            [tick = std::uint64_t{0}]() mutable { return ++tick; });
    m_programm = std::make_unique<app::Programm>(std::move(dice), &m_boxes);
    m_main = m_programm->start();
    watchNewWindows();

    QElapsedTimer timer;
    timer.start();
    for (qint64 index = 1; index <= actions; ++index) {
        const Moment before = now();
        m_actedOn.clear();
        m_resetClicked = m_normalSearched = false;
        m_handedOver = nullptr;
        QString what;
        try {
            what = act();
        } catch (const std::exception& e) {
            QFAIL(qPrintable(report(index, QStringLiteral("exception escaped: ") + e.what())));
        } catch (...) {
            QFAIL(qPrintable(report(index, QStringLiteral("unknown exception escaped"))));
        }
        const QStringList messages = m_boxes.take();
        m_messages += messages.size();
        for (const QString& message : messages)
            ++m_shown[message];
        m_log.push_back(QStringLiteral("#%1 %2").arg(index).arg(what) +
                        (messages.isEmpty()
                             ? QString()
                             : QStringLiteral(" -> ") + messages.join(QStringLiteral(" / "))));
        if (m_log.size() > 30)
            m_log.pop_front();
        if (const QString broken = check(before, messages); !broken.isEmpty())
            QFAIL(qPrintable(report(index, broken)));
        watchNewWindows();
        if (index % 32 == 0) { // the event loop gets its turn now and then, and deletes
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    // The last action: closing the main window ends the program and takes every window along.
    m_main->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY2(!(w->isVisible() && windowKinds.contains(className(w))),
                 qPrintable(className(w) + QStringLiteral(" outlived the main window")));
    QVERIFY(!m_programm->form1.window());

    qInfo("seed %llu: %lld actions in %lld ms, %lld texts typed or pasted (%lld no usable whole "
          "number), %lld messages (%lld refused presses), %lld HEILEN, %lld searches, %lld "
          "hand-overs, %lld resets, %lld hammerings, %lld trade runs",
          static_cast<unsigned long long>(m_seed), actions, timer.elapsed(), m_texts, m_badTexts,
          m_messages, m_refused, m_heilen, m_searches, m_handOvers, m_resets, m_hammers, m_trades);
    QStringList opened;
    for (auto it = m_opened.cbegin(); it != m_opened.cend(); ++it)
        opened << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    qInfo("windows opened: %s", qPrintable(opened.join(QStringLiteral(", "))));
    for (auto it = m_shown.cbegin(); it != m_shown.cend(); ++it)
        qInfo("%6lld x %s", it.value(), qPrintable(it.key()));
}

SANIVEX_WINDOW_TEST_MAIN(TestSoak)
#include "tst_soak.moc"
