#include "QtMessageBoxes.h"

#include <QMessageBox>
#include <QPointer>

namespace app {

bool QtMessageBoxes::inform(QWidget* window, const QString& text) {
    const QPointer<QWidget> alive(window);
    // On the heap and owned by its window: a window deleted while its box is open takes the
    // box with it and ends the box's loop, where a box on the stack would be freed twice.
    auto* box = new QMessageBox(QMessageBox::NoIcon, QString::fromUtf16(applicationTitle), text,
                                QMessageBox::Ok, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("Meldung"));
    box->exec();
    return !alive.isNull();
}

bool QtMessageBoxes::ask(QWidget* window, const QString& text) {
    const QPointer<QWidget> alive(window);
    auto* box = new QMessageBox(QMessageBox::Question, QString::fromUtf16(applicationTitle), text,
                                QMessageBox::Yes | QMessageBox::No, window);
    box->setDefaultButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("Frage"));
    return box->exec() == QMessageBox::Yes && !alive.isNull();
}

} // namespace app
