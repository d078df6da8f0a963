#include "QtMessageBoxes.h"

#include <QMessageBox>

namespace app {

void QtMessageBoxes::inform(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf16(applicationTitle), text,
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("Meldung"));
    box.exec();
}

} // namespace app
