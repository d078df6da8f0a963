#include "Charts.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace windows {

namespace {

constexpr int margin = 6;

// A round step for an axis that should show about `ticks` labels between 0 and `top`.
double niceStep(double top, int ticks) {
    const double raw = top / ticks;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (raw <= factor * magnitude)
            return factor * magnitude;
    return 10 * magnitude;
}

} // namespace

BarChart::BarChart(const QString& title, const QString& axis, QWidget* parent)
    : QWidget(parent), m_axis(axis) {
    setAccessibleName(title);
    setMinimumHeight(120);
}

void BarChart::setBars(const QList<Bar>& bars) {
    m_bars = bars;
    QStringList said;
    for (const Bar& bar : bars)
        said << QStringLiteral("%1 %2: %3%4")
                    .arg(m_axis, bar.label, bar.caption,
                         bar.detail.isEmpty() ? QString() : QStringLiteral(", ") + bar.detail);
    setAccessibleDescription(said.join(QStringLiteral("; ")));
    update();
}

void BarChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm = fontMetrics();
    const bool details =
        std::any_of(m_bars.begin(), m_bars.end(), [](const Bar& b) { return !b.detail.isEmpty(); });
    // Room below for the labels (and details), and on top for the captions.
    const int below = fm.height() * (details ? 3 : 2);
    const QRect plot = rect().adjusted(margin, fm.height() + margin, -margin, -below);
    if (m_bars.isEmpty() || plot.height() < 10)
        return;
    const double top = std::max(
        0.05, std::max_element(m_bars.begin(), m_bars.end(), [](const Bar& a, const Bar& b) {
                  return a.chance < b.chance;
              })->chance);
    const double slot = double(plot.width()) / m_bars.size();
    // Labels only where they fit: every nth bar on a crowded chart.
    const int widest = fm.horizontalAdvance(QStringLiteral("100,0 %")) + 4;
    const int every = std::max(1, int(std::ceil(widest / slot)));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    for (qsizetype i = 0; i < m_bars.size(); ++i) {
        const Bar& bar = m_bars.at(i);
        const double h = plot.height() * bar.chance / top;
        const QRectF column(plot.left() + i * slot + slot * 0.15, plot.bottom() - h, slot * 0.7, h);
        p.fillRect(column, palette().color(QPalette::Highlight));
        if (i % every != 0)
            continue;
        const QRectF slotRect(plot.left() + i * slot - slot * every / 2.0 + slot / 2, 0,
                              slot * every, fm.height());
        p.drawText(slotRect.translated(0, column.top() - fm.height()), Qt::AlignCenter,
                   bar.caption);
        p.drawText(slotRect.translated(0, plot.bottom() + 2), Qt::AlignCenter, bar.label);
        if (details)
            p.drawText(slotRect.translated(0, plot.bottom() + 2 + fm.height()), Qt::AlignCenter,
                       bar.detail);
    }
    p.drawText(QRect(0, height() - fm.height(), width(), fm.height()), Qt::AlignCenter, m_axis);
}

CurveChart::CurveChart(const QString& title, const QString& axis, QWidget* parent)
    : QWidget(parent), m_axis(axis) {
    setAccessibleName(title);
    setMinimumHeight(120);
}

void CurveChart::setCurve(const QList<QPointF>& points, const QList<Mark>& marks,
                          const QString& summary) {
    m_points = points;
    m_marks = marks;
    setAccessibleDescription(summary);
    update();
}

void CurveChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm = fontMetrics();
    const int left = fm.horizontalAdvance(QStringLiteral("100 %")) + margin;
    const QRect plot = rect().adjusted(left, fm.height() + margin, -margin, -2 * fm.height() - 4);
    if (m_points.size() < 2 || plot.height() < 10)
        return;
    const double xMin = m_points.first().x(), xMax = m_points.last().x();
    const double span = xMax > xMin ? xMax - xMin : 1;
    const auto at = [&](QPointF v) {
        return QPointF(plot.left() + (v.x() - xMin) / span * plot.width(),
                       plot.bottom() - v.y() * plot.height());
    };
    const QColor text = palette().color(QPalette::WindowText);
    const QLocale locale;
    p.setPen(text);
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    p.drawLine(plot.bottomLeft(), plot.topLeft());
    for (int percent : {0, 50, 100}) {
        const double y = plot.bottom() - percent / 100.0 * plot.height();
        p.drawText(QRectF(0, y - fm.height() / 2.0, left - 3, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1 %").arg(percent));
    }
    const double step = niceStep(span, 5);
    for (double x = std::ceil(xMin / step) * step; x <= xMax + step / 1000; x += step) {
        const double px = at({x, 0}).x();
        p.drawLine(QPointF(px, plot.bottom()), QPointF(px, plot.bottom() + 3));
        p.drawText(QRectF(px - 40, plot.bottom() + 3, 80, fm.height()), Qt::AlignCenter,
                   locale.toString(x, 'g', 6));
    }
    p.drawText(QRect(left, height() - fm.height(), plot.width(), fm.height()), Qt::AlignCenter,
               m_axis);

    // The chance rises in steps: each total is reached at once, not gradually.
    QPainterPath path(at(m_points.first()));
    for (qsizetype i = 1; i < m_points.size(); ++i) {
        path.lineTo(at({m_points[i].x(), m_points[i - 1].y()}));
        path.lineTo(at(m_points[i]));
    }
    p.setPen(QPen(palette().color(QPalette::Highlight), 2));
    p.drawPath(path);

    // Each mark's label on a line of its own, so close marks stay readable.
    for (qsizetype i = 0; i < m_marks.size(); ++i) {
        const double px = at({m_marks[i].x, 0}).x();
        p.setPen(QPen(text, 1, Qt::DashLine));
        p.drawLine(QPointF(px, plot.top()), QPointF(px, plot.bottom()));
        p.setPen(text);
        p.drawText(QRectF(px + 3, plot.top() + (i + 1) * fm.height(), 200, fm.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, m_marks[i].label);
    }
}

} // namespace windows
