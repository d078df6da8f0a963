#include "Auswahl.h"

#include "ProgramLook.h"

#include <QKeyEvent>

Auswahl::Auswahl(QWidget* parent) : QWidget(parent) {
    setFont(windows::programFont());
    ui.setupUi(this);

    connect(ui.cmdNotfall, &QPushButton::clicked, this, &Auswahl::cmdNotfall_Click);
    connect(ui.cmdNormalfall, &QPushButton::clicked, this, &Auswahl::cmdNormalfall_Click);

    // The emergency is the default answer; the focus waits there until the dialog shows.
    ui.cmdNotfall->setFocus();
}

// The dialog must not close itself here: the application closes (and deletes) it once the
// search window is open, and this object may already be gone when the signal returns.
void Auswahl::cmdNotfall_Click() {
    emit notfallRequested();
}

void Auswahl::cmdNormalfall_Click() {
    emit normalfallRequested();
}

void Auswahl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}
