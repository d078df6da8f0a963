#include "ProgramLook.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOptionComboBox>
#include <qdrawutil.h>

namespace windows {

namespace {

// The Windows style with a drop-down arrow of 9 instead of 16 pixels: the "Gegend" list is
// 73 pixels wide and must still show "AAA oder AA" whole.
class ProgramStyle final : public QProxyStyle {
  public:
    ProgramStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Windows"))) {}

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override {
        if (control != CC_ComboBox)
            return QProxyStyle::subControlRect(control, option, sub, widget);
        const auto* combo = qstyleoption_cast<const QStyleOptionComboBox*>(option);
        const int margin = combo && combo->frame ? 2 : 0;
        const QRect r = option->rect;
        switch (sub) {
        case SC_ComboBoxArrow:
            return visualRect(option->direction, r,
                              QRect(r.right() - margin - arrowWidth + 1, r.top() + margin,
                                    arrowWidth, r.height() - 2 * margin));
        case SC_ComboBoxEditField:
            return visualRect(option->direction, r,
                              QRect(r.left() + margin, r.top() + margin,
                                    r.width() - 2 * margin - arrowWidth, r.height() - 2 * margin));
        default:
            return QProxyStyle::subControlRect(control, option, sub, widget);
        }
    }

    // A focused field or list shows the focus by its frame. The narrow drop-down button still
    // gets a clearly drawn arrow: a filled triangle across the button's inside (the base style
    // hands over a rect already shrunk too far to show one).
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        // A text field's frame is drawn as PE_Frame too.
        if (element == PE_Frame && (option->state & State_HasFocus) && showsFocusByFrame(widget)) {
            drawFocusFrame(option, painter, widget);
            return;
        }
        if (element != PE_IndicatorArrowDown || !qobject_cast<const QComboBox*>(widget)) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const QRect r = option->rect;
        constexpr int width = 5; // odd, so the tip sits on a pixel
        constexpr int height = 3;
        const QPoint topLeft(r.center().x() - width / 2, r.center().y() - height / 2);
        const QPolygon triangle{topLeft, topLeft + QPoint(width - 1, 0),
                                topLeft + QPoint(width / 2, height - 1)};
        painter->save();
        const QColor color = option->palette.color(
            option->state & State_Enabled ? QPalette::Active : QPalette::Disabled,
            QPalette::ButtonText);
        painter->setPen(color);
        painter->setBrush(color);
        painter->drawPolygon(triangle);
        painter->restore();
    }

  private:
    static constexpr int arrowWidth = 9;

    // This style draws no focus on a text field or a list: an empty one would show at most a
    // blinking caret, and an empty list nothing at all.
    static bool showsFocusByFrame(const QWidget* widget) {
        return qobject_cast<const QLineEdit*>(widget) ||
               qobject_cast<const QAbstractItemView*>(widget);
    }

    // The sunken frame drawn in the highlight colour instead, so the focus shows all the time
    // while the control keeps its size and its unfocused look.
    void drawFocusFrame(const QStyleOption* option, QPainter* painter,
                        const QWidget* widget) const {
        qDrawPlainRect(painter, option->rect, option->palette.color(QPalette::Highlight),
                       proxy()->pixelMetric(PM_DefaultFrameWidth, option, widget));
    }
};

bool showsWithoutCaption(const QWidget* w) {
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return label->text().isEmpty();
    return qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QLineEdit*>(w) ||
           qobject_cast<const QComboBox*>(w);
}

// Closes its window on a plain Escape that no control inside has taken for itself.
class EscapeCloses final : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && watched == parent()) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
                static_cast<QWidget*>(watched)->close();
                return true;
            }
        }
        return false;
    }
};

// Clicks its button on Return or Enter, as an auto-default button would; auto-default would
// also draw the button inset, and only the main window's buttons are drawn that way.
class ClicksOnEnter final : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        static_cast<QPushButton*>(watched)->click();
        return true;
    }
};

} // namespace

QFont programFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(10);
    return font;
}

void useProgramStyle() {
    QApplication::setStyle(new ProgramStyle);
}

void finishWindow(QWidget* window) {
    window->setFixedSize(window->size());
    answerEnter(window);
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const auto* frame = qobject_cast<const QGroupBox*>(w->parentWidget());
        if (frame && w->accessibleName().isEmpty() && showsWithoutCaption(w))
            w->setAccessibleName(frame->title());
    }
}

void showResult(QLabel* label, const QString& text) {
    label->setText(text);
    label->setAccessibleDescription(text);
    const bool cut = label->fontMetrics().horizontalAdvance(text) > label->contentsRect().width();
    label->setToolTip(cut ? text : QString());
}

void answerEnter(QWidget* window) {
    // Buttons outside dialogs ignore Return and Enter unless they are auto-default.
    auto* clicksOnEnter = new ClicksOnEnter(window);
    for (QPushButton* button : window->findChildren<QPushButton*>())
        if (!button->autoDefault())
            button->installEventFilter(clicksOnEnter);
}

void closeOnEscape(QWidget* window) {
    window->installEventFilter(new EscapeCloses(window));
}

void onEveryInput(QWidget* window, const std::function<void()>& changed) {
    for (QLineEdit* field : window->findChildren<QLineEdit*>())
        QObject::connect(field, &QLineEdit::textChanged, window, changed);
    for (QAbstractButton* box : window->findChildren<QAbstractButton*>())
        if (box->isCheckable())
            QObject::connect(box, &QAbstractButton::toggled, window, changed);
    for (QComboBox* list : window->findChildren<QComboBox*>())
        QObject::connect(list, &QComboBox::currentIndexChanged, window, changed);
}

} // namespace windows
