#include "TableDice.h"

#include "ProgramLook.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

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
        field->setMaxLength(5);
        field->setFixedWidth(44);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i] { check(i); });
        grid->addWidget(field, i / 10, i % 10);
        m_fields.append(field);
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
    check(-1);
    if (!m_fields.isEmpty())
        m_fields.first()->setFocus();
}

QList<numbers::Int16> DiceEntry::values() const {
    QList<numbers::Int16> dice;
    for (const QLineEdit* field : m_fields)
        dice.append(numbers::Int16(field->text().toInt()));
    return dice;
}

QString DiceEntry::problem(qsizetype i) const {
    const QString text = m_fields.at(i)->text().trimmed();
    const QString die = QStringLiteral("Würfel %1").arg(i + 1);
    if (text.isEmpty())
        return die + QStringLiteral(" fehlt noch.");
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 1)
        return QStringLiteral("%1: „%2“ ist keine Augenzahl.").arg(die, text);
    if (!m_openEnded && value > 6)
        return QStringLiteral("%1: ein W6 zeigt 1 bis 6.").arg(die);
    if (m_openEnded && value % 6 == 0)
        return QStringLiteral("%1 steht bei %2 und ist noch nicht fertig: noch einmal würfeln "
                              "und die Augen dazu eingeben.")
            .arg(die)
            .arg(value);
    return {};
}

// A complete value moves the focus on; the first problem left is explained, and OK waits
// until there is none.
void DiceEntry::check(qsizetype typedInto) {
    if (typedInto >= 0 && problem(typedInto).isEmpty() && typedInto + 1 < m_fields.size())
        m_fields.at(typedInto + 1)->setFocus();
    QString first;
    for (qsizetype i = 0; i < m_fields.size() && first.isEmpty(); ++i)
        first = problem(i);
    m_hint->setText(first);
    m_ok->setEnabled(first.isEmpty());
}

// After a six, the next face typed adds to the chain instead of standing beside it.
bool DiceEntry::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!m_openEnded || !field || event->type() != QEvent::KeyPress)
        return false;
    const QString face = static_cast<QKeyEvent*>(event)->text();
    bool ok = false;
    const int total = field->text().toInt(&ok);
    if (!ok || total < 6 || total % 6 != 0 || face.size() != 1 || face < u"1" || face > u"6" ||
        field->hasSelectedText())
        return false;
    field->setText(QString::number(total + face.toInt()));
    check(m_fields.indexOf(field));
    return true;
}

namespace {

// On the heap and owned by the active window, like a message box: a window that goes away
// meanwhile takes the dialog with it, and the roll is abandoned.
std::optional<QList<numbers::Int16>> ask(int count, std::optional<int> target,
                                         dice::Purpose purpose) {
    const QPointer<DiceEntry> entry =
        new DiceEntry(count, target, purpose, QApplication::activeWindow());
    const bool given = entry->exec() == QDialog::Accepted && entry;
    const auto dice = given ? std::optional(entry->values()) : std::nullopt;
    delete entry.data();
    return dice;
}

} // namespace

std::optional<QList<numbers::Int16>>
TableDice::openEnded(numbers::Int16 count, numbers::Int16 target, dice::Purpose purpose) {
    return m_own ? ask(count, target, purpose) : m_generator.openEnded(count, target, purpose);
}

std::optional<QList<numbers::Int16>> TableDice::plain(numbers::Int16 count, dice::Purpose purpose) {
    return m_own ? ask(count, std::nullopt, purpose) : m_generator.plain(count, purpose);
}
