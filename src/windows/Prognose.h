#pragma once
// The forecast window: the exact odds of the next "HEILEN!", of the whole recovery and of every
// open doctor search, and how the recovery would change with each choice the table can make,
// from the same inputs the next press or search would read. It never rolls and changes
// nothing; the program shows it anew whenever an input changes. An input the press would
// refuse shows the press's own message in place of the numbers, never a message box. Each
// section answers its question in its first line; the details follow in smaller type.

#include "care/EmergencySearch.h"
#include "care/NormalSearch.h"
#include "healing/Healing.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>

class QLabel;
class QGroupBox;
class QScrollArea;
namespace odds {
class Comparer;
}
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
    ~Prognose() override;
    void showForecast(const ForecastInputs& inputs);
    // The comparison is worked out in slices between other events; true once every row is in.
    bool comparisonDone() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void showNextPress(const ForecastInputs& inputs);
    void showRecovery(const ForecastInputs& inputs);
    void showSearches(const ForecastInputs& inputs);
    void startComparison(const ForecastInputs& inputs);
    void compareSome();
    void showComparison();
    void updateMoreBelow();

    QScrollArea* m_scroll;
    QLabel* m_moreBelow;
    QLabel* m_nextHeadline;
    QLabel* m_next;
    windows::BarChart* m_successes;
    QLabel* m_recoveryHeadline;
    QLabel* m_recovery;
    windows::CurveChart* m_healed;
    QGroupBox* m_normal;
    QLabel* m_normalHeadline;
    QLabel* m_normalText;
    windows::BarChart* m_normalSkill;
    windows::BarChart* m_normalEquipment;
    QGroupBox* m_emergency;
    QLabel* m_emergencyHeadline;
    QLabel* m_emergencyText;
    windows::BarChart* m_emergencySkill;
    windows::BarChart* m_emergencyEquipment;
    QLabel* m_compareHeadline;
    QLabel* m_compare;

    std::unique_ptr<odds::Comparer> m_comparer;
    QTimer m_compareTimer;
};
