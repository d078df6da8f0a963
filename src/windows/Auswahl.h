#pragma once
// The small choice dialog between a normal and an emergency doctor search. It only asks: the
// application opens the chosen search window and then closes this dialog.

#include "ui_Auswahl.h"

#include <QWidget>

class Auswahl : public QWidget {
    Q_OBJECT

  public:
    explicit Auswahl(QWidget* parent = nullptr);

  signals:
    void notfallRequested();
    void normalfallRequested();

  protected:
    // Escape leaves the dialog like its close box does.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void cmdNotfall_Click();
    void cmdNormalfall_Click();

    Ui::Auswahl ui;
};
