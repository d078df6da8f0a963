#pragma once
// The forecast window: the exact odds of the next "HEILEN!", of the whole recovery and of every
// open doctor search, from the same inputs the next press or search would read. It never rolls
// and changes nothing; the program shows it anew whenever an input changes. An input the press
// would refuse shows the press's own message in place of the numbers, never a message box.

#include "care/EmergencySearch.h"
#include "care/NormalSearch.h"
#include "healing/Healing.h"

#include <QWidget>
#include <optional>

class QLabel;
class QGroupBox;
namespace windows {
class BarChart;
class CurveChart;
} // namespace windows

// What the open windows would read now.
struct ForecastInputs {
    healing::HealingInput healing;
    healing::Form1State state;
    std::optional<std::pair<care::NormalSearchInput, care::NormalVersorgungState>> normal;
    std::optional<std::pair<care::EmergencySearchInput, care::NotfallVersorgungState>> emergency;
};

class Prognose : public QWidget {
    Q_OBJECT

  public:
    explicit Prognose(QWidget* parent = nullptr);
    void showForecast(const ForecastInputs& inputs);

  private:
    void showNextPress(const ForecastInputs& inputs);
    void showRecovery(const ForecastInputs& inputs);
    void showSearches(const ForecastInputs& inputs);

    QLabel* m_next;
    windows::BarChart* m_successes;
    QLabel* m_recovery;
    windows::CurveChart* m_healed;
    QGroupBox* m_normal;
    QLabel* m_normalText;
    windows::BarChart* m_normalSkill;
    windows::BarChart* m_normalEquipment;
    QGroupBox* m_emergency;
    QLabel* m_emergencyText;
    windows::BarChart* m_emergencySkill;
    windows::BarChart* m_emergencyEquipment;
};
