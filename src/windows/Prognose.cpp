#include "Prognose.h"

#include "Charts.h"
#include "ProgramLook.h"
#include "healing/HealingTexts.h"
#include "odds/Forecast.h"
#include "odds/Wording.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cmath>

using namespace odds::wording;
using odds::wording::Case;

namespace {

QLabel* textLabel(QWidget* parent, bool headline = false) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::StrongFocus); // so the keyboard and a screen reader reach it
    QFont font = label->font();
    if (headline) {
        font.setPixelSize(font.pixelSize() > 0 ? font.pixelSize() * 3 / 2 : 15);
        font.setBold(true);
    }
    label->setFont(font);
    return label;
}

// How far the true q-quantile may lie from the one shown.
double halfWidth(const odds::Total& total, double q) {
    const double value = total.quantile(q);
    return std::max(value - total.lowerQuantile(q), total.upperQuantile(q) - value);
}

QString quantileText(const odds::Total& total, double q, Case grammar = Case::Nominative) {
    return duration(total.quantile(q), grammar, halfWidth(total, q));
}

QString quantileNuyen(const odds::Total& total, double q) {
    return nuyen(total.quantile(q), halfWidth(total, q));
}

// How a recovery's total was worked out, when not exactly: one short line.
QString approximation(const odds::Total& total, const QString& unit, double scale) {
    const QLocale locale;
    switch (total.method()) {
    case odds::Method::Exact:
        return {};
    case odds::Method::Binned:
        return QStringLiteral("Näherung (%1): Summen in %2 Stufen, jeder Wert höchstens %3 %4 "
                              "daneben.")
            .arg(unit)
            .arg(total.points())
            .arg(locale.toString(total.maxError() / scale, 'g', 2), unit);
    case odds::Method::Normal:
        return QStringLiteral("Näherung (%1): Normalverteilung, jede Chance höchstens %2 "
                              "daneben; gezeigt nur die Stellen, die das erlaubt.")
            .arg(unit, percent(total.maxCdfError()));
    }
    return {};
}

// The levels of a found doctor as bars; level 0 is the doctor roll's refusal.
QList<windows::BarChart::Bar> levels(const std::map<int, double>& chances) {
    QList<windows::BarChart::Bar> bars;
    for (const auto& [level, chance] : chances)
        bars.append({level == 0 ? QStringLiteral("keiner") : QString::number(level),
                     chance,
                     percent(chance),
                     {}});
    return bars;
}

// "Arzt gefunden mit 83,0 % — am ehesten Fertigkeit 5"
QString searchHeadline(const odds::SearchOdds& odds) {
    const double found = 1 - odds.firstRefusal - odds.secondRefusal;
    int likeliest = 0;
    double most = -1;
    for (const auto& [level, chance] : odds.skill)
        if (level != 0 && chance > most)
            most = chance, likeliest = level;
    if (likeliest == 0)
        return QStringLiteral("Kein Arzt zu finden.");
    return QStringLiteral("Arzt gefunden mit %1 — am ehesten Fertigkeit %2")
        .arg(percent(found))
        .arg(likeliest);
}

} // namespace

Prognose::Prognose(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Prognose"));
    setWindowTitle(QStringLiteral("Prognose"));
    setFont(windows::programFont());
    auto* inner = new QWidget;
    auto* column = new QVBoxLayout(inner);

    const auto section = [&](const QString& title, const QString& name, QLabel*& headline,
                             QLabel*& text) {
        auto* box = new QGroupBox(title, inner);
        box->setObjectName(name);
        auto* layout = new QVBoxLayout(box);
        headline = textLabel(box, true);
        text = textLabel(box);
        layout->addWidget(headline);
        layout->addWidget(text);
        column->addWidget(box);
        return box;
    };

    auto* next = section(QStringLiteral("Nächster Wurf"), QStringLiteral("frmNaechsterWurf"),
                         m_nextHeadline, m_next);
    m_nextHeadline->setObjectName(QStringLiteral("lblNaechsterWurfKurz"));
    m_next->setObjectName(QStringLiteral("lblNaechsterWurf"));
    m_successes = new windows::BarChart(QStringLiteral("Chance der Erfolge"),
                                        QStringLiteral("Erfolge"), next);
    m_successes->setObjectName(QStringLiteral("chartErfolge"));
    next->layout()->addWidget(m_successes);

    auto* recovery = section(QStringLiteral("Bis zur Heilung"), QStringLiteral("frmBisZurHeilung"),
                             m_recoveryHeadline, m_recovery);
    m_recoveryHeadline->setObjectName(QStringLiteral("lblBisZurHeilungKurz"));
    m_recovery->setObjectName(QStringLiteral("lblBisZurHeilung"));
    m_healed = new windows::CurveChart(QStringLiteral("Chance, geheilt zu sein"),
                                       QStringLiteral("Tage"), recovery);
    m_healed->setObjectName(QStringLiteral("chartGeheilt"));
    recovery->layout()->addWidget(m_healed);

    const auto search = [&](const QString& title, const QString& name, QLabel*& headline,
                            QLabel*& text, windows::BarChart*& skill,
                            windows::BarChart*& equipment) {
        auto* box = section(title, name, headline, text);
        auto* charts = new QHBoxLayout;
        skill = new windows::BarChart(QStringLiteral("Chance der Fertigkeitsstufe"),
                                      QStringLiteral("Fertigkeitsstufe"), box);
        equipment = new windows::BarChart(QStringLiteral("Chance der Ausrüstungsstufe"),
                                          QStringLiteral("Ausrüstungsstufe"), box);
        charts->addWidget(skill);
        charts->addWidget(equipment);
        static_cast<QVBoxLayout*>(box->layout())->addLayout(charts);
        return box;
    };
    m_normal =
        search(QStringLiteral("Arztsuche: normale Versorgung"), QStringLiteral("frmNormalSuche"),
               m_normalHeadline, m_normalText, m_normalSkill, m_normalEquipment);
    m_emergency =
        search(QStringLiteral("Arztsuche: Notfallversorgung"), QStringLiteral("frmNotfallSuche"),
               m_emergencyHeadline, m_emergencyText, m_emergencySkill, m_emergencyEquipment);

    section(QStringLiteral("Vergleich: was wäre, wenn"), QStringLiteral("frmVergleich"),
            m_compareHeadline, m_compare);
    m_compareHeadline->setObjectName(QStringLiteral("lblVergleichKurz"));
    m_compare->setObjectName(QStringLiteral("lblVergleich"));
    m_compare->setTextFormat(Qt::RichText);
    column->addStretch();

    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(inner);
    m_scroll->setWidgetResizable(true);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Whatever the window's height, the reader learns that there is more below.
    m_moreBelow = new QLabel(QStringLiteral("▼ Weiter unten folgt mehr: bitte scrollen"), this);
    m_moreBelow->setObjectName(QStringLiteral("lblWeiterUnten"));
    m_moreBelow->setAlignment(Qt::AlignCenter);
    m_moreBelow->setAutoFillBackground(true);
    QScrollBar* bar = m_scroll->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, &Prognose::updateMoreBelow);
    connect(bar, &QScrollBar::rangeChanged, this, &Prognose::updateMoreBelow);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(m_scroll);
    outer->addWidget(m_moreBelow);
    resize(540, 700);
    windows::closeOnEscape(this);

    m_compareTimer.setSingleShot(true);
    connect(&m_compareTimer, &QTimer::timeout, this, &Prognose::compareSome);
}

Prognose::~Prognose() = default;

void Prognose::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateMoreBelow();
}

void Prognose::updateMoreBelow() {
    const QScrollBar* bar = m_scroll->verticalScrollBar();
    m_moreBelow->setVisible(bar->value() < bar->maximum());
}

bool Prognose::comparisonDone() const {
    return !m_comparer || m_comparer->finished();
}

void Prognose::showForecast(const ForecastInputs& inputs) {
    showNextPress(inputs);
    showRecovery(inputs);
    showSearches(inputs);
    startComparison(inputs);
}

void Prognose::showNextPress(const ForecastInputs& inputs) {
    const auto next = odds::nextPress(inputs.healing, inputs.state);
    QList<windows::BarChart::Bar> bars;
    if (next.refused() || next->notIll) {
        m_nextHeadline->hide();
        m_next->setText(next.refused() ? next.refusal() : healing::texts::notIll);
        m_successes->setBars(bars);
        m_successes->hide();
        return;
    }
    const auto cost = [&](const odds::Outcome& o) {
        return next->hospital ? QStringLiteral(", Kosten ") + nuyen(o.cost) : QString();
    };
    // The answer: the likeliest number of successes and what it brings.
    qsizetype likeliest = 0;
    for (qsizetype k = 1; k < next->outcomes.size(); ++k)
        if (next->outcomes.at(k).chance > next->outcomes.at(likeliest).chance)
            likeliest = k;
    const odds::Outcome& best = next->outcomes.at(likeliest);
    m_nextHeadline->setText(
        QStringLiteral("Dieser Wurf: mit %1 %2 — dann %3%4")
            .arg(percent(best.chance),
                 likeliest == 0 ? QStringLiteral("kein Erfolg") : successes(int(likeliest)),
                 duration(best.hours), cost(best)));
    m_nextHeadline->show();

    QString text =
        QStringLiteral("Mindestwurf %1 mit %2 offenen W6 (%3); ein Würfel trifft mit %4.")
            .arg(next->target)
            .arg(next->dice)
            .arg(next->hospital ? QStringLiteral("im Krankenhaus") : QStringLiteral("zu Hause"))
            .arg(percent(next->dieChance));
    // Every number of successes; each run of rare ones is summed up under its own range, as a
    // line and as a bar, so that no gap hides.
    QStringList lines;
    const auto rare = [&](qsizetype k) { return k > 0 && next->outcomes.at(k).chance < 0.0005; };
    for (qsizetype k = 0; k < next->outcomes.size(); ++k) {
        if (rare(k)) {
            qsizetype last = k;
            double chance = 0;
            for (; last < next->outcomes.size() && rare(last); ++last)
                chance += next->outcomes.at(last).chance;
            --last;
            const QString range =
                k < last ? QStringLiteral("%1–%2").arg(k).arg(last) : QString::number(k);
            lines << QStringLiteral("%1 zusammen: %2")
                         .arg(successes(int(k), int(last)), percent(chance));
            bars.append({range, chance, percent(chance), {}});
            k = last;
            continue;
        }
        const odds::Outcome& o = next->outcomes.at(k);
        lines << QStringLiteral("%1: %2, Heilungsdauer %3%4")
                     .arg(successes(int(k)), percent(o.chance), duration(o.hours), cost(o));
        bars.append({QString::number(k), o.chance, percent(o.chance), duration(o.hours)});
    }
    text += QStringLiteral("\n") + lines.join(QStringLiteral("\n"));
    text += QStringLiteral("\nErwartete Heilungsdauer: %1").arg(duration(next->expectedHours));
    if (next->hospital)
        text += QStringLiteral(", erwartete Kosten dieses Kästchens: %1")
                    .arg(nuyen(next->expectedCost));
    m_next->setText(text);
    m_successes->setBars(bars);
    m_successes->setAccessibleDescription(QStringLiteral("Unter den Balken die Heilungsdauer. ") +
                                          m_successes->accessibleDescription());
    m_successes->show();
}

void Prognose::showRecovery(const ForecastInputs& inputs) {
    const auto recovery = odds::recovery(inputs.healing, inputs.state);
    if (recovery.refused() || recovery->presses == 0) {
        m_recoveryHeadline->hide();
        m_recovery->setText(recovery.refused() ? recovery.refusal()
                                               : QStringLiteral("Nichts zu heilen."));
        m_healed->hide();
        return;
    }
    const odds::Total& hours = recovery->hours;
    const int counted = recovery->refusedAt > 0 ? recovery->refusedAt - 1 : recovery->presses;
    QStringList headline, lines;
    if (recovery->refusedAt > 0) {
        QString which = ordinal(recovery->refusedAt);
        which[0] = which[0].toUpper();
        headline << QStringLiteral("%1 würde abgelehnt; bis dahin etwa %2")
                        .arg(which, duration(hours.mean()));
        lines << QStringLiteral("%1 würde abgelehnt: %2").arg(which, recovery->refusal)
              << QStringLiteral("Alle Zahlen gelten für die %1 Heilungswürfe davor.").arg(counted);
    } else {
        headline << QStringLiteral("Geheilt in etwa %1 — in 8 von 10 Fällen zwischen %2 und %3")
                        .arg(duration(hours.mean(), Case::Dative),
                             quantileText(hours, 0.1, Case::Dative),
                             quantileText(hours, 0.9, Case::Dative));
    }
    lines << boxesAndRolls(recovery->presses, recovery->presses) + QStringLiteral(".") +
                 QStringLiteral(" Heilungszeit: erwartet %1, Median %2, zu 10 % höchstens %3, "
                                "zu 90 % höchstens %4.")
                     .arg(duration(hours.mean()), quantileText(hours, 0.5),
                          quantileText(hours, 0.1), quantileText(hours, 0.9));
    const QString note = approximation(hours, QStringLiteral("Tage"), 24);
    if (!note.isEmpty())
        lines << note;
    if (recovery->hospital) {
        const odds::Total& cost = recovery->cost;
        headline << QStringLiteral("Kosten etwa %1 (höchstens %2 in 9 von 10 Fällen)")
                        .arg(nuyen(cost.mean()), quantileNuyen(cost, 0.9));
        const double sofar = double(inputs.state.Kosten.ticks()) / 10000;
        lines << QStringLiteral("Krankenhauskosten zusätzlich zu den bisherigen %1: erwartet "
                                "%2, Median %3, zu 90 % höchstens %4.")
                     .arg(nuyen(sofar), nuyen(cost.mean()), quantileNuyen(cost, 0.5),
                          quantileNuyen(cost, 0.9));
        const QString costNote = approximation(cost, QStringLiteral("Nuyen"), 1);
        if (!costNote.isEmpty())
            lines << costNote;
    }
    if (recovery->essenceRetyped)
        lines << QStringLiteral("Gerechnet, als würde die Essenz nach jedem Wurf neu eingetragen "
                                "(ein Wurf leert das Feld).");
    m_recoveryHeadline->setText(headline.join(QStringLiteral("\n")));
    m_recoveryHeadline->show();
    m_recovery->setText(lines.join(QStringLiteral("\n")));

    // The chance to be healed within so many days, from no time at all to where it is all
    // but certain.
    const double median = hours.quantile(0.5), p90 = hours.quantile(0.9);
    const double end = hours.quantile(0.999);
    QList<QPointF> curve{{0, 0}};
    if (hours.method() == odds::Method::Normal) {
        for (int i = 0; i <= 100; ++i) {
            const double h = hours.lowest() + (end - hours.lowest()) * i / 100;
            curve.append({h / 24, hours.cdf(h)});
        }
    } else {
        for (const odds::Point& point : hours.distribution().points())
            if (point.value <= end)
                curve.append({point.value / 24, hours.cdf(point.value)});
    }
    const QString medianText = quantileText(hours, 0.5), p90Text = quantileText(hours, 0.9);
    m_healed->setCurve(
        curve,
        {{median / 24, QStringLiteral("Median: ") + medianText},
         {p90 / 24, QStringLiteral("90 %: ") + p90Text}},
        QStringLiteral("Geheilt nach höchstens %1 mit 50 %, nach höchstens %2 "
                       "mit 90 %.")
            .arg(quantileText(hours, 0.5, Case::Dative), quantileText(hours, 0.9, Case::Dative)));
    m_healed->show();
}

void Prognose::showSearches(const ForecastInputs& inputs) {
    m_normal->setVisible(inputs.normal.has_value());
    if (inputs.normal) {
        const auto odds = odds::normalSearch(inputs.normal->first, inputs.normal->second);
        m_normalHeadline->setVisible(!odds.refused());
        if (!odds.refused())
            m_normalHeadline->setText(searchHeadline(*odds));
        const double reached = odds.refused() ? 0 : 1 - odds->firstRefusal;
        m_normalText->setText(
            odds.refused()
                ? odds.refusal()
                : QStringLiteral("Keiner behandelt (kein Erfolg beim Gebräuche-Wurf): %1 aller "
                                 "Suchen. Keiner hilft (2W6 mit Modifikator unter 1): %2 aller "
                                 "Suchen, %3 der Suchen, die zum 2W6 kommen. Die Balken zählen "
                                 "die Suchen, die zum 2W6 kommen. Erwartete Erfolge über den "
                                 "ersten für den Handel: %4 je Suche (eine abgelehnte zählt 0).")
                      .arg(percent(odds->firstRefusal), percent(odds->secondRefusal),
                           percent(reached > 0 ? odds->secondRefusal / reached : 0),
                           QLocale().toString(odds->spareSuccesses, 'f', 2)));
        m_normalSkill->setBars(odds.refused() ? QList<windows::BarChart::Bar>{}
                                              : levels(odds->skill));
        m_normalEquipment->setBars(odds.refused() ? QList<windows::BarChart::Bar>{}
                                                  : levels(odds->equipment));
    }
    m_emergency->setVisible(inputs.emergency.has_value());
    if (inputs.emergency) {
        const auto odds = odds::emergencySearch(inputs.emergency->first, inputs.emergency->second);
        m_emergencyHeadline->setVisible(!odds.refused());
        if (!odds.refused())
            m_emergencyHeadline->setText(searchHeadline(*odds));
        m_emergencyText->setText(odds.refused()
                                     ? odds.refusal()
                                     : QStringLiteral("Keiner hilft (2W6 mit Modifikator unter "
                                                      "1): %1 aller Suchen. Die Balken zählen "
                                                      "alle Suchen.")
                                           .arg(percent(odds->secondRefusal)));
        m_emergencySkill->setBars(odds.refused() ? QList<windows::BarChart::Bar>{}
                                                 : levels(odds->skill));
        m_emergencyEquipment->setBars(odds.refused() ? QList<windows::BarChart::Bar>{}
                                                     : levels(odds->equipment));
    }
}

void Prognose::startComparison(const ForecastInputs& inputs) {
    std::optional<care::NormalSearchInput> normal;
    std::optional<care::EmergencySearchInput> emergency;
    care::NormalVersorgungState normalState;
    care::NotfallVersorgungState emergencyState;
    if (inputs.normal)
        std::tie(normal, normalState) = *inputs.normal;
    if (inputs.emergency)
        std::tie(emergency, emergencyState) = *inputs.emergency;
    const auto first = healing::prepare(inputs.healing, inputs.state);
    m_compareTimer.stop();
    if (first.refused() || first->notIll) {
        m_comparer.reset();
        m_compareHeadline->hide();
        m_compare->setText(first.refused() ? first.refusal().toHtmlEscaped()
                                           : QStringLiteral("Nichts zu heilen."));
        m_compare->setAccessibleDescription(m_compare->text());
        return;
    }
    m_comparer = std::make_unique<odds::Comparer>(
        odds::choices(inputs.healing, normal, normalState, emergency, emergencyState),
        inputs.healing, inputs.state);
    // Rows of the old inputs go at once: nothing stale stands beside fresh numbers. The rows
    // follow between other events, so that typing never waits for them.
    showComparison();
    m_compareTimer.start(0);
}

// One slice of the comparison, then the event loop gets its turn again.
void Prognose::compareSome() {
    if (!m_comparer)
        return;
    QElapsedTimer slice;
    slice.start();
    do
        m_comparer->step();
    while (!m_comparer->finished() && slice.nsecsElapsed() < 8'000'000);
    showComparison();
    if (!m_comparer->finished())
        m_compareTimer.start(0);
}

void Prognose::showComparison() {
    const QList<odds::Comparison>& rows = m_comparer->rows();
    const bool done = m_comparer->finished();
    double fastest = INFINITY, cheapest = INFINITY;
    bool anyCost = false;
    for (const odds::Comparison& row : rows) {
        if (!row.done || !row.refusal.isEmpty())
            continue;
        fastest = std::min(fastest, row.meanHours);
        if (row.hospital)
            anyCost = true;
        cheapest = std::min(cheapest, row.hospital ? row.meanCost : 0.0);
    }
    QString html =
        QStringLiteral("<table cellspacing='0' cellpadding='2'><tr><th align='left'>Wahl</th>"
                       "<th align='right'>Dauer im Mittel</th><th align='right'>9 von 10 bis</th>"
                       "<th align='right'>Kosten im Mittel</th><th align='right'>9 von 10 bis</th>"
                       "<th align='left'></th></tr>");
    QStringList said;
    QString best;
    for (const odds::Comparison& row : rows) {
        QString label = row.choice.label;
        if (row.choice.kind == odds::Choice::Kind::Doctor)
            label += QStringLiteral(" (kein Arzt: %1)").arg(percent(row.choice.noDoctor));
        const QString name = row.choice.current
                                 ? QStringLiteral("<b>%1</b>").arg(label.toHtmlEscaped())
                                 : label.toHtmlEscaped();
        if (!row.done) {
            html += QStringLiteral("<tr><td>%1</td><td colspan='5'>…</td></tr>").arg(name);
            said << label + QStringLiteral(": wird berechnet");
            continue;
        }
        if (!row.refusal.isEmpty()) {
            html += QStringLiteral("<tr><td>%1</td><td colspan='5'>%2</td></tr>")
                        .arg(name, row.refusal.toHtmlEscaped());
            said << label + QStringLiteral(": ") + row.refusal;
            continue;
        }
        QStringList marks;
        if (row.choice.current)
            marks << QStringLiteral("jetzt");
        if (done && row.meanHours == fastest) {
            marks << QStringLiteral("schnellste");
            if (best.isEmpty())
                best = QStringLiteral("Am schnellsten: %1, im Mittel %2")
                           .arg(label, duration(row.meanHours));
        }
        const double cost = row.hospital ? row.meanCost : 0.0;
        if (done && anyCost && cost == cheapest)
            marks << QStringLiteral("günstigste");
        const QString meanDays = duration(row.meanHours);
        const QString p90Days =
            duration(row.p90Hours, Case::Nominative,
                     std::max(row.p90Hours - row.p90HoursLow, row.p90HoursHigh - row.p90Hours));
        const QString meanCost = row.hospital ? nuyen(row.meanCost) : nuyen(0);
        const QString p90Cost = row.hospital
                                    ? nuyen(row.p90Cost, std::max(row.p90Cost - row.p90CostLow,
                                                                  row.p90CostHigh - row.p90Cost))
                                    : nuyen(0);
        html +=
            QStringLiteral("<tr><td>%1</td><td align='right'>%2</td><td align='right'>%3</td>"
                           "<td align='right'>%4</td><td align='right'>%5</td>"
                           "<td>%6</td></tr>")
                .arg(name, meanDays, p90Days, meanCost, p90Cost, marks.join(QStringLiteral(", ")));
        said << QStringLiteral("%1: im Mittel %2, in 9 von 10 Fällen höchstens %3; Kosten im "
                               "Mittel %4, in 9 von 10 Fällen höchstens %5%6")
                    .arg(label, meanDays, p90Days, meanCost, p90Cost,
                         marks.isEmpty() ? QString()
                                         : QStringLiteral(" (") + marks.join(QStringLiteral(", ")) +
                                               QStringLiteral(")"));
    }
    html += QStringLiteral("</table>");
    m_compareHeadline->setText(done ? (best.isEmpty() ? QStringLiteral("Keine Wahl führt zur "
                                                                       "Heilung.")
                                                      : best)
                                    : QStringLiteral("Vergleich wird berechnet …"));
    m_compareHeadline->show();
    m_compare->setText(html);
    m_compare->setAccessibleDescription(said.join(QStringLiteral("; ")));
}
