#pragma once
// Dice for tests: a random source that yields exactly the faces it is given, and a clock
// that stands still, so a test states the dice it expects to be rolled.

#include "dice/wuerfelomat.h"

#include <QList>
#include <memory>

class ScriptedSource final : public dice::RandomSource {
  public:
    explicit ScriptedSource(QList<int> faces) : m_faces(std::move(faces)) {}
    void reseed(std::uint64_t clock) override { clocks << clock; }
    // The middle of the face's sixth of [0, 1), so the mapping to 1..6 is exercised too.
    float uniform() override {
        if (m_next >= m_faces.size())
            throw std::logic_error("scripted dice ran out");
        return (static_cast<float>(m_faces.at(m_next++)) - 0.5f) / 6.0f;
    }
    QList<std::uint64_t> clocks; // the clock values taken in, one a die

  private:
    QList<int> m_faces;
    qsizetype m_next = 0;
};

// A Wuerfelomat that rolls exactly `faces`, in order, under a clock that stands at 42; `source`
// lets the test see the clock values taken in.
inline std::unique_ptr<dice::Wuerfelomat> scriptedDice(QList<int> faces,
                                                       ScriptedSource** source = nullptr) {
    auto s = std::make_unique<ScriptedSource>(std::move(faces));
    if (source)
        *source = s.get();
    return std::make_unique<dice::Wuerfelomat>(std::move(s), [] { return std::uint64_t(42); });
}
