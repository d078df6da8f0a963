#include "ProgramLook.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionComboBox>

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

  private:
    static constexpr int arrowWidth = 9;
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

} // namespace windows
