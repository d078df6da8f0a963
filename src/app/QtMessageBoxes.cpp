#include "QtMessageBoxes.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPointer>

namespace app {

namespace {

// Shows the box and says which button closed it; -1 when its window went away with it.
int show(QWidget* window, QMessageBox::Icon icon, const QString& text,
         QMessageBox::StandardButtons buttons, QMessageBox::StandardButton standard) {
    const QPointer<QWidget> alive(window);
    // On the heap and owned by its window: a window deleted while its box is open takes the
    // box with it and ends the box's loop, where a box on the stack would be freed twice.
    auto* box = new QMessageBox(icon, QString::fromUtf16(applicationTitle), text, buttons, window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("Meldung"));
    box->setDefaultButton(standard);
    box->setEscapeButton(standard == QMessageBox::Ok ? QMessageBox::Ok : QMessageBox::No);
    if (QAbstractButton* yes = box->button(QMessageBox::Yes))
        yes->setText(QStringLiteral("Ja"));
    if (QAbstractButton* no = box->button(QMessageBox::No))
        no->setText(QStringLiteral("Nein"));
    const int answer = box->exec();
    return alive.isNull() ? -1 : answer;
}

} // namespace

bool QtMessageBoxes::inform(QWidget* window, const QString& text) {
    return show(window, QMessageBox::NoIcon, text, QMessageBox::Ok, QMessageBox::Ok) != -1;
}

bool QtMessageBoxes::ask(QWidget* window, const QString& question) {
    return show(window, QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::No) == QMessageBox::Yes;
}

} // namespace app
