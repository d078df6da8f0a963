#include "Charts.h"

#include <QHelpEvent>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace windows {

namespace {

constexpr int margin = 6;
constexpr int plotLines = 4; // the least height of a plot, in lines of text

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
}

QSize BarChart::minimumSizeHint() const {
    const int line = fontMetrics().height();
    const bool details =
        std::any_of(m_bars.begin(), m_bars.end(), [](const Bar& b) { return !b.detail.isEmpty(); });
    // Captions (two staggered rows when narrow), a plot of a few lines, labels, details, axis.
    return {200, margin + line * (2 + plotLines + (details ? 3 : 2))};
}

void BarChart::setBars(const QList<Bar>& bars) {
    m_bars = bars;
    updateGeometry(); // details add a row below
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
    // Every caption is drawn: side by side where they fit, else on two staggered rows.
    const int widest = fm.horizontalAdvance(QStringLiteral("100,0 %")) + 4;
    const bool stagger = widest > slot;
    p.setPen(palette().color(QPalette::WindowText));
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    for (qsizetype i = 0; i < m_bars.size(); ++i) {
        const Bar& bar = m_bars.at(i);
        const double h = (plot.height() - (stagger ? fm.height() : 0)) * bar.chance / top;
        const QRectF column(plot.left() + i * slot + slot * 0.15, plot.bottom() - h, slot * 0.7, h);
        p.fillRect(column, palette().color(QPalette::Highlight));
        const double width = stagger ? 2 * slot : slot;
        const QRectF slotRect(plot.left() + i * slot + slot / 2 - width / 2, 0, width, fm.height());
        const double lift = stagger && i % 2 == 1 ? fm.height() : 0;
        p.drawText(slotRect.translated(0, column.top() - fm.height() - lift), Qt::AlignCenter,
                   bar.caption);
        const QRectF labelRect(plot.left() + i * slot, plot.bottom() + 2, slot, fm.height());
        p.drawText(labelRect, Qt::AlignCenter, bar.label);
        if (details && !stagger)
            p.drawText(slotRect.translated(0, plot.bottom() + 2 + fm.height()), Qt::AlignCenter,
                       bar.detail);
    }
    p.drawText(QRect(0, height() - fm.height(), width(), fm.height()), Qt::AlignCenter, m_axis);
}

bool BarChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip && !m_bars.isEmpty()) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const double slot = double(width() - 2 * margin) / m_bars.size();
        const auto i = qsizetype((help->pos().x() - margin) / slot);
        if (i >= 0 && i < m_bars.size()) {
            const Bar& bar = m_bars.at(i);
            QToolTip::showText(
                help->globalPos(),
                QStringLiteral("%1 %2: %3%4")
                    .arg(m_axis, bar.label, bar.caption,
                         bar.detail.isEmpty() ? QString() : QStringLiteral(", ") + bar.detail),
                this);
            return true;
        }
    }
    return QWidget::event(event);
}

CurveChart::CurveChart(const QString& title, const QString& axis, QWidget* parent)
    : QWidget(parent), m_axis(axis) {
    setAccessibleName(title);
}

QSize CurveChart::minimumSizeHint() const {
    const int line = fontMetrics().height();
    // The top line, a plot that holds each mark's label on a line of its own, the axis rows.
    return {200, margin + 4 + line * (1 + std::max(plotLines, int(m_marks.size()) + 2) + 2)};
}

void CurveChart::setCurve(const QList<QPointF>& points, const QList<Mark>& marks,
                          const QString& summary) {
    m_points = points;
    m_marks = marks;
    updateGeometry(); // each mark takes a line of the plot
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
    const double xMin = 0;
    const auto [xMax, step] = axis(m_points.first().x(), m_points.last().x());
    const double span = xMax - xMin;
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
                   Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(percent) + QChar(0x00A0) + QStringLiteral("%"));
    }
    const int decimals = step < 1 ? int(std::ceil(-std::log10(step) - 1e-9)) : 0;
    for (int i = 0; i * step <= span * (1 + 1e-9); ++i) {
        const double x = i * step;
        const double px = at({x, 0}).x();
        p.drawLine(QPointF(px, plot.bottom()), QPointF(px, plot.bottom() + 3));
        const QString label = locale.toString(x, 'f', decimals);
        const double w = fm.horizontalAdvance(label) + 2;
        p.drawText(
            QRectF(std::clamp(px - w / 2, 0.0, width() - w), plot.bottom() + 3, w, fm.height()),
            Qt::AlignCenter, label);
    }
    p.drawText(QRect(left, height() - fm.height(), plot.width(), fm.height()), Qt::AlignCenter,
               m_axis);

    // The chance rises in steps: each total is reached at once, not gradually; past the last
    // point it stays where it is.
    QPainterPath path(at(m_points.first()));
    for (qsizetype i = 1; i < m_points.size(); ++i) {
        path.lineTo(at({m_points[i].x(), m_points[i - 1].y()}));
        path.lineTo(at(m_points[i]));
    }
    path.lineTo(at({xMax, m_points.last().y()}));
    p.setPen(QPen(palette().color(QPalette::Highlight), 2));
    p.drawPath(path);

    // Each mark's label on a line of its own, so close marks stay readable, and on whichever
    // side of its line it fits inside the plot.
    for (qsizetype i = 0; i < m_marks.size(); ++i) {
        const double px = at({m_marks[i].x, 0}).x();
        p.setPen(QPen(text, 1, Qt::DashLine));
        p.drawLine(QPointF(px, plot.top()), QPointF(px, plot.bottom()));
        p.setPen(text);
        const double w = fm.horizontalAdvance(m_marks[i].label) + 2;
        const double x =
            px + 3 + w <= plot.right() ? px + 3 : std::max(double(plot.left()), px - 3 - w);
        // On the window's colour, so that a line or the curve behind never crosses the text.
        const QRectF box(x, plot.top() + (i + 1) * fm.height(), w, fm.height());
        p.fillRect(box, palette().color(QPalette::Window));
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, m_marks[i].label);
    }
}

std::pair<double, double> CurveChart::axis(double lowest, double highest) {
    // At least a twentieth beyond the largest value, ending on a round step.
    const double top = std::max(highest + 0.05 * (highest - std::min(lowest, 0.0)), 1e-9);
    const double step = niceStep(top, 5);
    return {std::ceil(top / step) * step, step};
}

} // namespace windows
