#pragma once
// The two small pictures of the forecast, painted by hand: bars for a few chances side by
// side (successes of one roll, levels of a found doctor) and a rising curve for the chance to
// be healed within so many days. Both carry every number they show as their accessible
// description, so a screen reader can read what the eye sees.

#include <QList>
#include <QString>
#include <QWidget>

namespace windows {

class BarChart final : public QWidget {
  public:
    struct Bar {
        QString label;   // under the bar: "2", "5"
        double chance;   // 0 to 1
        QString caption; // above the bar: "12,3 %"
        QString detail;  // under the label, may be empty: "144 h"
    };
    BarChart(const QString& title, const QString& axis, QWidget* parent = nullptr);
    void setBars(const QList<Bar>& bars);
    const QList<Bar>& bars() const { return m_bars; }

    // Tall enough for every row of text around a plot that still shows the bars apart.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override { return minimumSizeHint().expandedTo({460, 150}); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override; // a bar's tooltip: its label, caption and detail

  private:
    QString m_axis;
    QList<Bar> m_bars;
};

class CurveChart final : public QWidget {
  public:
    struct Mark {
        double x;
        QString label; // "Median", "90 %"
    };
    // `axis` names the x axis ("Tage"); the y axis is the chance from 0 to 100 %.
    CurveChart(const QString& title, const QString& axis, QWidget* parent = nullptr);
    // Points (x, chance) in rising x; the marks are drawn as upright lines with their label
    // inside the plot. The x axis runs a little past the last point, so that its final rise
    // shows, in round steps.
    void setCurve(const QList<QPointF>& points, const QList<Mark>& marks, const QString& summary);
    const QList<QPointF>& points() const { return m_points; }
    const QList<Mark>& marks() const { return m_marks; }

    // Tall enough for the axes' labels and every mark's label inside the plot.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override { return minimumSizeHint().expandedTo({460, 150}); }
    // The x axis' end and step, for the points given.
    static std::pair<double, double> axis(double lowest, double highest);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString m_axis;
    QList<QPointF> m_points;
    QList<Mark> m_marks;
};

} // namespace windows
