#include "Auswahl.h"

#include "ProgramLook.h"
#include "ui_Auswahl.h"

Auswahl::Auswahl(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::Auswahl>()) {
    setFont(windows::programFont());
    ui->setupUi(this);
    windows::finishWindow(this);
    windows::closeOnEscape(this);

    // The dialog must not close itself on a click: the application closes (and deletes) it
    // once the search window is open, and this object may already be gone when the signal
    // returns.
    connect(ui->cmdNotfall, &QPushButton::clicked, this, &Auswahl::notfallRequested);
    connect(ui->cmdNormalfall, &QPushButton::clicked, this, &Auswahl::normalfallRequested);

    // The emergency is the default answer; the focus waits there until the dialog shows.
    ui->cmdNotfall->setFocus();
}

Auswahl::~Auswahl() = default;
