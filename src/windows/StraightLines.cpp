#include "StraightLines.h"

#include <QEvent>
#include <QPainter>

namespace windows {

StraightLines::StraightLines(QWidget* parent, QList<QLine> twipLines) : QWidget(parent) {
    for (const QLine& l : twipLines)
        m_lines.append(QLine(l.x1() / 15, l.y1() / 15, l.x2() / 15, l.y2() / 15));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(parent->rect());
    parent->installEventFilter(this); // follow the parent's size
    lower();                          // beneath the controls, like lines on a form
}

void StraightLines::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.drawLines(m_lines);
}

bool StraightLines::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return false;
}

} // namespace windows
