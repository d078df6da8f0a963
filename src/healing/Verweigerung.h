#pragma once
// A press of "HEILEN!" that cannot be carried out: the rules throw it with the one message the
// user sees, and the healing test turns it into a refused result before anything is applied.

#include <QString>
#include <stdexcept>

namespace healing {

class Verweigerung : public std::runtime_error {
  public:
    explicit Verweigerung(const QString& meldung)
        : std::runtime_error(meldung.toStdString()), m_meldung(meldung) {}
    const QString& meldung() const { return m_meldung; }

  private:
    QString m_meldung;
};

} // namespace healing
