#include "Prognose.h"

#include "Charts.h"
#include "ProgramLook.h"
#include "healing/HealingTexts.h"
#include "odds/Forecast.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cmath>

namespace {

// One decimal; what rounds to 0 or 100 without being it says so.
QString percent(double chance) {
    const QLocale locale;
    if (chance > 0 && chance < 0.0005)
        return QStringLiteral("< ") + locale.toString(0.1, 'f', 1) + QStringLiteral(" %");
    if (chance < 1 && chance > 0.9995)
        return QStringLiteral("> ") + locale.toString(99.9, 'f', 1) + QStringLiteral(" %");
    return locale.toString(chance * 100, 'f', 1) + QStringLiteral(" %");
}

QString days(double hours) {
    return QLocale().toString(hours / 24, 'f', 1) + QStringLiteral(" Tage");
}

QString nuyen(double amount) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(amount, 'f', 0) + QStringLiteral(" Nuyen");
}

QLabel* textLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::StrongFocus); // so the keyboard and a screen reader reach it
    return label;
}

// How a recovery's total was worked out, when not exactly.
QString approximation(const odds::Total& total, const QString& unit, double scale) {
    const QLocale locale;
    switch (total.method()) {
    case odds::Method::Exact:
        return {};
    case odds::Method::Binned:
        return QStringLiteral(" (Näherung: die möglichen Summen sind zu %1 Stufen "
                              "zusammengefasst, jeder Wert höchstens %2 %3 daneben.)")
            .arg(odds::Distribution::defaultLimit)
            .arg(locale.toString(total.maxError() / scale, 'g', 3), unit);
    case odds::Method::Normal:
        return QStringLiteral(" (Näherung: zu viele Drücke zum Auszählen; Normalverteilung aus "
                              "dem genauen Mittel und der genauen Streuung, jede Chance "
                              "höchstens %1 daneben.)")
            .arg(percent(total.maxCdfError()));
    }
    return {};
}

// The levels of a found doctor as bars.
QList<windows::BarChart::Bar> levels(const std::map<int, double>& chances) {
    QList<windows::BarChart::Bar> bars;
    for (const auto& [level, chance] : chances)
        bars.append({QString::number(level), chance, percent(chance), {}});
    return bars;
}

} // namespace

Prognose::Prognose(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Prognose"));
    setWindowTitle(QStringLiteral("Prognose"));
    setFont(windows::programFont());
    auto* inner = new QWidget;
    auto* column = new QVBoxLayout(inner);

    auto* next = new QGroupBox(QStringLiteral("Nächster Wurf"), inner);
    auto* nextLayout = new QVBoxLayout(next);
    m_next = textLabel(next);
    m_next->setObjectName(QStringLiteral("lblNaechsterWurf"));
    m_successes = new windows::BarChart(QStringLiteral("Chance der Erfolge"),
                                        QStringLiteral("Erfolge"), next);
    m_successes->setObjectName(QStringLiteral("chartErfolge"));
    nextLayout->addWidget(m_next);
    nextLayout->addWidget(m_successes);

    auto* recovery = new QGroupBox(QStringLiteral("Bis zur Heilung"), inner);
    auto* recoveryLayout = new QVBoxLayout(recovery);
    m_recovery = textLabel(recovery);
    m_recovery->setObjectName(QStringLiteral("lblBisZurHeilung"));
    m_healed = new windows::CurveChart(QStringLiteral("Chance, geheilt zu sein"),
                                       QStringLiteral("Tage"), recovery);
    m_healed->setObjectName(QStringLiteral("chartGeheilt"));
    recoveryLayout->addWidget(m_recovery);
    recoveryLayout->addWidget(m_healed);

    const auto search = [&](const QString& title, const QString& name, QLabel*& text,
                            windows::BarChart*& skill, windows::BarChart*& equipment) {
        auto* box = new QGroupBox(title, inner);
        box->setObjectName(name);
        auto* layout = new QVBoxLayout(box);
        text = textLabel(box);
        auto* charts = new QHBoxLayout;
        skill = new windows::BarChart(QStringLiteral("Chance der Fertigkeitsstufe"),
                                      QStringLiteral("Fertigkeitsstufe"), box);
        equipment = new windows::BarChart(QStringLiteral("Chance der Ausrüstungsstufe"),
                                          QStringLiteral("Ausrüstungsstufe"), box);
        charts->addWidget(skill);
        charts->addWidget(equipment);
        layout->addWidget(text);
        layout->addLayout(charts);
        return box;
    };
    m_normal =
        search(QStringLiteral("Arztsuche: normale Versorgung"), QStringLiteral("frmNormalSuche"),
               m_normalText, m_normalSkill, m_normalEquipment);
    m_emergency =
        search(QStringLiteral("Arztsuche: Notfallversorgung"), QStringLiteral("frmNotfallSuche"),
               m_emergencyText, m_emergencySkill, m_emergencyEquipment);

    for (QGroupBox* section : {next, recovery, m_normal, m_emergency})
        column->addWidget(section);
    column->addStretch();
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(inner);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    resize(520, 720);
    windows::closeOnEscape(this);
}

void Prognose::showForecast(const ForecastInputs& inputs) {
    showNextPress(inputs);
    showRecovery(inputs);
    showSearches(inputs);
}

void Prognose::showNextPress(const ForecastInputs& inputs) {
    const auto next = odds::nextPress(inputs.healing, inputs.state);
    QList<windows::BarChart::Bar> bars;
    if (next.refused() || next->notIll) {
        m_next->setText(next.refused() ? next.refusal() : healing::texts::notIll);
        m_successes->setBars(bars);
        m_successes->hide();
        return;
    }
    QString text =
        QStringLiteral("Mindestwurf %1 mit %2 offenen W6 (%3); ein Würfel trifft "
                       "mit %4.")
            .arg(next->target)
            .arg(next->dice)
            .arg(next->hospital ? QStringLiteral("im Krankenhaus") : QStringLiteral("zu Hause"))
            .arg(percent(next->dieChance));
    // Every number of successes; the rare ones beyond the last visible bar are summed up.
    QStringList lines;
    double rest = 0;
    for (qsizetype k = 0; k < next->outcomes.size(); ++k) {
        const odds::Outcome& o = next->outcomes.at(k);
        QString line = QStringLiteral("%1 Erfolge: %2, Heilungsdauer %3")
                           .arg(k)
                           .arg(percent(o.chance), days(o.hours));
        if (next->hospital)
            line += QStringLiteral(", Kosten %1").arg(nuyen(o.cost));
        if (o.chance < 0.0005 && k > 0) {
            rest += o.chance;
            continue;
        }
        lines << line;
        bars.append({QString::number(k), o.chance, percent(o.chance),
                     QLocale().toString(o.hours / 24, 'f', 1)});
    }
    if (rest > 0)
        lines << QStringLiteral("mehr Erfolge zusammen: %1").arg(percent(rest));
    text += QStringLiteral("\n") + lines.join(QStringLiteral("\n"));
    text += QStringLiteral("\nErwartete Heilungsdauer: %1").arg(days(next->expectedHours));
    if (next->hospital)
        text += QStringLiteral(", erwartete Kosten dieses Kästchens: %1")
                    .arg(nuyen(next->expectedCost));
    m_next->setText(text);
    m_successes->setBars(bars);
    m_successes->setAccessibleDescription(
        QStringLiteral("Unter den Balken die Heilungsdauer in Tagen. ") +
        m_successes->accessibleDescription());
    m_successes->show();
}

void Prognose::showRecovery(const ForecastInputs& inputs) {
    const auto recovery = odds::recovery(inputs.healing, inputs.state);
    if (recovery.refused() || recovery->presses == 0) {
        m_recovery->setText(recovery.refused() ? recovery.refusal()
                                               : QStringLiteral("Nichts zu heilen."));
        m_healed->hide();
        return;
    }
    const odds::Total& hours = recovery->hours;
    const double median = hours.quantile(0.5), p90 = hours.quantile(0.9);
    QString text = QStringLiteral("%1 Drücke bis zur Heilung. Heilungszeit: erwartet %2, "
                                  "Median %3, zu 10 % höchstens %4, zu 90 % höchstens %5.")
                       .arg(recovery->presses)
                       .arg(days(hours.mean()), days(median), days(hours.quantile(0.1)), days(p90));
    text += approximation(hours, QStringLiteral("Tage"), 24);
    if (recovery->hospital) {
        const odds::Total& cost = recovery->cost;
        const double sofar = double(inputs.state.Kosten.ticks()) / 10000;
        text += QStringLiteral("\nKrankenhauskosten zusätzlich zu den bisherigen %1: erwartet "
                               "%2, Median %3, zu 90 % höchstens %4.")
                    .arg(nuyen(sofar), nuyen(cost.mean()), nuyen(cost.quantile(0.5)),
                         nuyen(cost.quantile(0.9)));
        text += approximation(cost, QStringLiteral("Nuyen"), 1);
    }
    m_recovery->setText(text);

    // The chance to be healed within so many days, from no time at all to where it is all
    // but certain.
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
    m_healed->setCurve(
        curve, {{median / 24, QStringLiteral("Median")}, {p90 / 24, QStringLiteral("90 %")}},
        QStringLiteral("Geheilt nach höchstens %1 mit 50 %, nach höchstens %2 mit "
                       "90 %.")
            .arg(days(median), days(p90)));
    m_healed->show();
}

void Prognose::showSearches(const ForecastInputs& inputs) {
    m_normal->setVisible(inputs.normal.has_value());
    if (inputs.normal) {
        const auto odds = odds::normalSearch(inputs.normal->first, inputs.normal->second);
        m_normalText->setText(
            odds.refused()
                ? odds.refusal()
                : QStringLiteral("Keiner behandelt (kein Erfolg beim Gebräuche-Wurf): %1. "
                                 "Keiner hilft (2W6 mit Modifikator unter 1): %2. Erwartete "
                                 "Erfolge über den ersten für den Handel: %3. Die Stufen gelten "
                                 "für jede Suche, die zum 2W6 kommt.")
                      .arg(percent(odds->firstRefusal), percent(odds->secondRefusal),
                           QLocale().toString(odds->spareSuccesses, 'f', 2)));
        m_normalSkill->setBars(odds.refused() ? QList<windows::BarChart::Bar>{}
                                              : levels(odds->skill));
        m_normalEquipment->setBars(odds.refused() ? QList<windows::BarChart::Bar>{}
                                                  : levels(odds->equipment));
    }
    m_emergency->setVisible(inputs.emergency.has_value());
    if (inputs.emergency) {
        const auto odds = odds::emergencySearch(inputs.emergency->first, inputs.emergency->second);
        m_emergencyText->setText(odds.refused() ? odds.refusal()
                                                : QStringLiteral("Keiner hilft (2W6 mit "
                                                                 "Modifikator unter 1): %1.")
                                                      .arg(percent(odds->secondRefusal)));
        m_emergencySkill->setBars(odds.refused() ? QList<windows::BarChart::Bar>{}
                                                 : levels(odds->skill));
        m_emergencyEquipment->setBars(odds.refused() ? QList<windows::BarChart::Bar>{}
                                                     : levels(odds->equipment));
    }
}
