#include "TableDice.h"

#include "ProgramLook.h"
#include "numbers/Text.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>
#include <numeric>

namespace {

QString purposeName(dice::Purpose purpose) {
    switch (purpose) {
    case dice::Purpose::Healing:
        return QStringLiteral("Heilung");
    case dice::Purpose::Etiquette:
        return QStringLiteral("Gebräuche");
    case dice::Purpose::DoctorSearch:
        return QStringLiteral("Arztsuche");
    }
    return {};
}

// "3 offene W6 gegen Mindestwurf 7 — Heilung", "2W6 — Arztsuche".
QString heading(int count, std::optional<int> target, dice::Purpose purpose) {
    const QString what =
        target ? QStringLiteral("%1 %2 gegen Mindestwurf %3")
                     .arg(count)
                     .arg(count == 1 ? QStringLiteral("offener W6") : QStringLiteral("offene W6"))
                     .arg(*target)
               : QStringLiteral("%1W6").arg(count);
    return what + QStringLiteral(" — ") + purposeName(purpose);
}

} // namespace

DiceEntry::DiceEntry(int count, std::optional<int> target, dice::Purpose purpose, QWidget* parent)
    : QDialog(parent), m_openEnded(target.has_value()) {
    setObjectName(QStringLiteral("EigeneWuerfel"));
    setWindowTitle(QStringLiteral("Eigene Würfel"));
    setFont(windows::programFont());
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(heading(count, target, purpose), this);
    title->setObjectName(QStringLiteral("lblWurf"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title);
    layout->addWidget(new QLabel(m_openEnded ? QStringLiteral("Je Würfel die Augen eingeben. Nach "
                                                              "einer 6 noch einmal würfeln und die "
                                                              "neuen Augen dazu eingeben: sie "
                                                              "werden addiert.")
                                             : QStringLiteral("Je Würfel die Augen eingeben, 1 bis "
                                                              "6."),
                                 this));
    auto* grid = new QGridLayout;
    for (int i = 0; i < count; ++i) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("txtWuerfel%1").arg(i + 1));
        field->setAccessibleName(QStringLiteral("Würfel %1").arg(i + 1));
        // No length limit: a die too large is refused with a hint, never cut short unseen.
        field->setFixedWidth(44);
        field->installEventFilter(this);
        // Every change of the text is checked, whoever made it (typing, a screen reader, code);
        // only typing moves the focus on.
        connect(field, &QLineEdit::textChanged, this, &DiceEntry::check);
        connect(field, &QLineEdit::textEdited, this, [this, i] { advanceFrom(i); });
        grid->addWidget(field, i / 10, i % 10);
        m_fields.append(field);
        m_chains.append(QList<int>());
    }
    layout->addLayout(grid);
    m_hint = new QLabel(this);
    m_hint->setObjectName(QStringLiteral("lblHinweis"));
    m_hint->setWordWrap(true);
    layout->addWidget(m_hint);
    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    m_ok->setDefault(true);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    check();
    if (!m_fields.isEmpty())
        m_fields.first()->setFocus();
}

DiceEntry::Reading DiceEntry::read(qsizetype i) const {
    // The roller's own limit: a run of sixes beyond a 16-bit total is an overflow there too.
    constexpr int most = std::numeric_limits<numbers::Int16>::max();
    const QString text = m_fields.at(i)->text().trimmed(); // Unicode spaces too
    const QString die = QStringLiteral("Würfel %1").arg(i + 1);
    if (text.isEmpty())
        return {0, die + QStringLiteral(" fehlt noch."), false};
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return {0, QStringLiteral("%1: „%2“ ist keine Augenzahl.").arg(die, text), false};
        value = std::min(value * 10 + (c.unicode() - u'0'), most + 1);
    }
    if (value > most)
        return {0, QStringLiteral("%1: mehr als %2 Augen zählt kein Wurf.").arg(die).arg(most),
                false};
    if (value < 1)
        return {0, QStringLiteral("%1: „%2“ ist keine Augenzahl.").arg(die, text), false};
    if (!m_openEnded && value > 6)
        return {value, QStringLiteral("%1: ein W6 zeigt 1 bis 6.").arg(die), false};
    if (m_openEnded && value % 6 == 0)
        return {value,
                QStringLiteral("%1 steht bei %2 und ist noch nicht fertig: noch einmal würfeln "
                               "und die Augen dazu eingeben.")
                    .arg(die)
                    .arg(value),
                true};
    return {value, {}, false};
}

QList<numbers::Int16> DiceEntry::values() const {
    QList<numbers::Int16> dice;
    for (qsizetype i = 0; i < m_fields.size(); ++i)
        dice.append(numbers::Int16(read(i).value));
    return dice;
}

QStringList DiceEntry::shown() const {
    QStringList shown;
    for (qsizetype i = 0; i < m_fields.size(); ++i) {
        const int value = read(i).value;
        const QList<int>& chain = m_chains.at(i);
        QStringList parts;
        for (int part : chain)
            parts << numbers::intText(part);
        // A chain still adds up to the field only if nothing changed the field since.
        shown << (std::accumulate(chain.begin(), chain.end(), 0) == value
                      ? parts.join(u'+') + QStringLiteral(" = ") + numbers::intText(value)
                      : numbers::intText(value));
    }
    return shown;
}

// The first problem left is explained, and OK waits until there is none.
void DiceEntry::check() {
    QString first;
    for (qsizetype i = 0; i < m_fields.size() && first.isEmpty(); ++i)
        first = read(i).problem;
    m_hint->setText(first);
    m_ok->setEnabled(first.isEmpty());
}

void DiceEntry::advanceFrom(qsizetype i) {
    if (read(i).problem.isEmpty() && i + 1 < m_fields.size())
        m_fields.at(i + 1)->setFocus();
}

// After a six, the next face typed adds to the chain instead of standing beside it.
bool DiceEntry::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!m_openEnded || !field || event->type() != QEvent::KeyPress)
        return false;
    const QString face = static_cast<QKeyEvent*>(event)->text();
    const qsizetype i = m_fields.indexOf(field);
    const Reading total = read(i);
    if (!total.unfinished || face.size() != 1 || face < u"1" || face > u"6" ||
        field->hasSelectedText())
        return false;
    QList<int>& chain = m_chains[i];
    if (std::accumulate(chain.begin(), chain.end(), 0) != total.value)
        chain = {total.value}; // typed or changed otherwise since the last face
    chain.append(face.toInt());
    field->setText(numbers::intText(total.value + chain.last()));
    advanceFrom(i);
    return true;
}

// On the heap and owned by the window that asked, like a message box: a window that goes away
// meanwhile takes the dialog with it. A window closed but not yet deleted abandons the roll too.
std::optional<QList<numbers::Int16>> TableDice::Asked::ask(int count, std::optional<int> target,
                                                           dice::Purpose purpose) {
    const QPointer<DiceEntry> entry = new DiceEntry(count, target, purpose, m_window);
    const bool given =
        entry->exec() == QDialog::Accepted && entry && m_window && m_window->isVisible();
    std::optional<QList<numbers::Int16>> dice;
    if (given) {
        dice = entry->values();
        m_typed.append({*dice, entry->shown()});
    }
    delete entry.data();
    return dice;
}

std::optional<QList<numbers::Int16>>
TableDice::Asked::openEnded(numbers::Int16 count, numbers::Int16 target, dice::Purpose purpose) {
    return m_table.m_own ? ask(count, target, purpose)
                         : m_table.m_generator.openEnded(count, target, purpose);
}

std::optional<QList<numbers::Int16>> TableDice::Asked::plain(numbers::Int16 count,
                                                             dice::Purpose purpose) {
    return m_table.m_own ? ask(count, std::nullopt, purpose)
                         : m_table.m_generator.plain(count, purpose);
}

QString TableDice::Asked::text(const QList<numbers::Int16>& dice) const {
    for (const auto& [values, shown] : m_typed)
        if (values == dice && shown.join(QString()).contains(u'+'))
            return shown.join(QStringLiteral(", "));
    return Dice::text(dice);
}
