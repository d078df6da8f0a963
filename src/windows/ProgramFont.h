#pragma once
// The font the window layouts were measured with. The given positions were made for a narrow
// 8-point sans serif; Liberation Sans at 10 pixels fits every caption into its given width.

#include <QFont>

namespace windows {

QFont programFont();

} // namespace windows
