#pragma once
// Straight lines drawn directly on a window, given in twips like the rest of the layout.
// A transparent child that covers its parent, paints the lines and lets every click through.

#include <QLine>
#include <QList>
#include <QWidget>

namespace windows {

class StraightLines final : public QWidget {
  public:
    // Each line from (x1, y1) to (x2, y2) in twips, relative to the parent's client area.
    StraightLines(QWidget* parent, QList<QLine> twipLines);

    // The lines in pixels (twips / 15), for tests.
    const QList<QLine>& pixelLines() const { return m_lines; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QList<QLine> m_lines;
};

} // namespace windows
