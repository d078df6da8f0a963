#pragma once
// The small choice dialog between a normal and an emergency doctor search. It only asks: the
// application opens the chosen search window and then closes this dialog.

#include <QWidget>
#include <memory>

namespace Ui {
class Auswahl;
}

class Auswahl : public QWidget {
    Q_OBJECT

  public:
    explicit Auswahl(QWidget* parent = nullptr);
    ~Auswahl() override;

  signals:
    void notfallRequested();
    void normalfallRequested();

  private:
    std::unique_ptr<Ui::Auswahl> ui;
};
