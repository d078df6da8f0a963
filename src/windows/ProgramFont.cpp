#include "ProgramFont.h"

namespace windows {

QFont programFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(10);
    return font;
}

} // namespace windows
