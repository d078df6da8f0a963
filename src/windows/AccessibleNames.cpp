#include "AccessibleNames.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace windows {

namespace {

bool showsWithoutCaption(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->text().isEmpty();
    return qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QComboBox*>(w);
}

} // namespace

void nameAfterFrames(QWidget* window) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const auto* frame = qobject_cast<const QGroupBox*>(w->parentWidget());
        if (frame && w->accessibleName().isEmpty() && showsWithoutCaption(w))
            w->setAccessibleName(frame->title());
    }
}

} // namespace windows
