#include "Record.h"

#include "care/CareTexts.h"
#include "care/EmergencySearch.h"
#include "care/NormalSearch.h"
#include "healing/Healing.h"
#include "healing/HealingTexts.h"
#include "numbers/Text.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// An entry made now; its figures are filled in by the step that has them.
RecordEntry entry(const QString& action, const QString& inputs, const QString& dice, bool byHand,
                  const QString& outcome) {
    RecordEntry e;
    e.time = QDateTime::currentDateTime();
    e.action = action;
    e.inputs = inputs;
    e.dice = dice;
    e.byHand = byHand;
    e.outcome = outcome;
    return e;
}

QString daysText(float days) {
    return numbers::singleText(days) + QStringLiteral(" Tage");
}

// Two digits, for the clock: formatting through QTime::toString costs more than the rest of a
// line, and a long evening has hundreds of thousands of them.
void twoDigits(QString& text, int value) {
    text += QChar(u'0' + value / 10);
    text += QChar(u'0' + value % 10);
}

QString clock(const QTime& time) {
    QString text;
    text.reserve(8);
    twoDigits(text, time.hour());
    text += u':';
    twoDigits(text, time.minute());
    text += u':';
    twoDigits(text, time.second());
    return text;
}

// "2026-03-14 21:05:09": read as a date and time by spreadsheets in every language.
QString dateAndTime(const QDateTime& when) {
    const QDate date = when.date();
    QString text = QString::number(date.year()) + u'-';
    twoDigits(text, date.month());
    text += u'-';
    twoDigits(text, date.day());
    return text + u' ' + clock(when.time());
}

QString doctorDice(const care::DoctorRoll& roll) {
    return QStringLiteral("2W6 ") + record::diceText({roll.W1, roll.W2});
}

QString doctorFound(const care::DoctorRoll& roll) {
    if (roll.doctor.refused)
        return QStringLiteral("Ergebnis %1: %2").arg(roll.S).arg(care::texts::secondRefusal);
    return QStringLiteral("Ergebnis %1, Fertigkeitsstufe %2, Ausrüstungsstufe %3")
        .arg(roll.S)
        .arg(roll.doctor.Fertigkeit)
        .arg(roll.doctor.Equipment);
}

// A field as a CSV cell: quoted where it holds a separator, a quote or a line break. Text that
// a spreadsheet would take for a formula (typed text can start with anything) gets a leading
// apostrophe and stays text; the figure columns never pass through here.
QString textCell(QString field) {
    static const QString formulaStart = QStringLiteral("=+-@\t\r");
    if (!field.isEmpty() && formulaStart.contains(field.front()))
        field.prepend(u'\'');
    if (!field.contains(u';') && !field.contains(u'"') && !field.contains(u'\n') &&
        !field.contains(u'\r'))
        return field;
    return u'"' + field.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString systemReason(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

QString RecordEntry::line() const {
    QString text = clock(time.time()) + QStringLiteral("  ") + action;
    if (!inputs.isEmpty())
        text += QStringLiteral(": ") + inputs;
    if (!dice.isEmpty())
        text += QStringLiteral(", Würfel ") + dice +
                (byHand ? QStringLiteral(" (von Hand)") : QString());
    return outcome.isEmpty() ? text : text + QStringLiteral(" → ") + outcome;
}

namespace record {

QString diceText(const QList<numbers::Int16>& dice) {
    QStringList faces;
    for (numbers::Int16 die : dice)
        faces << numbers::intText(die);
    return faces.join(u' ');
}

QString successes(int count) {
    return QString::number(count) +
           (count == 1 ? QStringLiteral(" Erfolg") : QStringLiteral(" Erfolge"));
}

RecordEntry press(const healing::Press& press, const QString& care, numbers::Amount costBefore,
                  bool byHand) {
    const healing::Form1State& s = press.state;
    if (press.notIll) {
        RecordEntry notIll = entry(QStringLiteral("HEILEN!"), QStringLiteral("Kästchen 0"), {},
                                   false, healing::texts::notIll);
        notIll.boxesBefore = 0;
        return notIll;
    }
    const int before = s.Schadenskaestchen + 1; // every carried-out press heals one box
    const QString target =
        numbers::intText(s.Mindestwurf) +
        (press.targetRaised() ? QStringLiteral("  (%1)").arg(press.unraisedTarget) : QString());
    RecordEntry e = entry(QStringLiteral("HEILEN!"),
                          QStringLiteral("Kästchen %1 → %2, %3, Mindestwurf %4")
                              .arg(before)
                              .arg(s.Schadenskaestchen)
                              .arg(press.hospital ? QStringLiteral("Krankenhaus") : care, target),
                          diceText(press.roll.dice), byHand,
                          successes(press.roll.successes) + QStringLiteral(", Heilungsdauer ") +
                              numbers::timeLine(s.Heilungsdauer) + QStringLiteral(", Gesamtzeit ") +
                              numbers::timeLine(s.Gesamtzeit));
    e.boxesBefore = before;
    e.boxesAfter = s.Schadenskaestchen;
    e.successes = press.roll.successes;
    e.days = s.Heilungsdauer / 24.0f;
    e.totalDays = s.Gesamtzeit / 24.0f;
    if (press.hospital) {
        e.outcome += QStringLiteral(", Krankenhauskosten %1 Nuyen").arg(s.Kosten.text());
        e.cost = numbers::Amount::fromTicks(s.Kosten.ticks() - costBefore.ticks());
    }
    if (press.healed())
        e.outcome += QStringLiteral(", geheilt");
    return e;
}

RecordEntry refusal(const QString& action, const QString& inputs, const QString& why) {
    return entry(action, inputs, {}, false, why);
}

RecordEntry normalSearch(const care::NormalSearch& search, bool byHand) {
    const care::NormalVersorgungState& s = search.state;
    RecordEntry e = entry(QStringLiteral("Normale Suche"),
                          QStringLiteral("Modifikator %1, Fertigk.Mod. %2, MW %3, %4 Würfel")
                              .arg(s.Modif)
                              .arg(s.FertMod)
                              .arg(search.MW)
                              .arg(search.dice),
                          QStringLiteral("Gebräuche ") + diceText(search.etiquette.dice), byHand,
                          successes(s.Erfolge) + QStringLiteral(", "));
    e.successes = s.Erfolge;
    if (search.firstRefusal()) {
        e.outcome += care::texts::firstRefusal;
    } else {
        e.dice += QStringLiteral("; ") + doctorDice(*search.doctor);
        e.outcome +=
            doctorFound(*search.doctor) + QStringLiteral(", Zeitraum ") + daysText(s.Zeitraum);
        e.days = s.Zeitraum;
    }
    return e;
}

RecordEntry emergencySearch(const care::EmergencySearch& search, bool byHand) {
    return entry(QStringLiteral("Notfallsuche"),
                 QStringLiteral("Modifikator %1").arg(search.state.Modif),
                 doctorDice(search.doctor), byHand, doctorFound(search.doctor));
}

RecordEntry trade(const QString& what, const care::NormalVersorgungState& state) {
    RecordEntry e = entry(QStringLiteral("Handel: ") + what, {}, {}, false,
                          QStringLiteral("Ausrüstungsstufe %1, Zeitraum %2, %3")
                              .arg(state.Equipment)
                              .arg(daysText(state.Zeitraum), successes(state.Erfolge)));
    e.successes = state.Erfolge;
    e.days = state.Zeitraum;
    return e;
}

RecordEntry reset(float hours, numbers::Amount cost) {
    RecordEntry e = entry(QStringLiteral("Reset"),
                          QStringLiteral("Gesamtzeit %1 hrs und Kosten %2 Nuyen auf 0")
                              .arg(numbers::singleText(hours), cost.text()),
                          {}, false, {});
    e.totalDays = 0.0f;
    return e;
}

bool saveFile(const QString& path, const QByteArray& bytes, QString* error, WriteCall write) {
    if (!write)
        write = ::write;
    // A link keeps pointing where it did: the file it names is the one replaced.
    const QFileInfo info(path);
    const QString target = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    const QByteArray name = QFile::encodeName(target);
    mode_t mode = umask(0);
    umask(mode);
    mode = 0666 & ~mode;
    struct stat old {};
    if (::stat(name.constData(), &old) == 0) {
        if (!S_ISREG(old.st_mode)) {
            *error = QStringLiteral("Das ist keine gewöhnliche Datei, sondern ein Gerät, eine "
                                    "Pipe oder ein Ordner; sie bleibt, wie sie ist.");
            return false;
        }
        mode = old.st_mode & 07777;
    } else if (errno != ENOENT) {
        *error = systemReason(errno);
        return false;
    }
    QByteArray temp = QFile::encodeName(QFileInfo(target).absolutePath()) + "/." +
                      QFile::encodeName(QFileInfo(target).fileName()) + ".XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        *error = systemReason(errno);
        return false;
    }
    const auto failed = [&] {
        const int code = errno;
        if (fd >= 0)
            ::close(fd);
        ::unlink(temp.constData());
        *error = systemReason(code);
        return false;
    };
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC; // no progress: the disk takes no more
            return failed();
        }
        done += n;
    }
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0)
        return failed();
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0 || ::rename(temp.constData(), name.constData()) != 0)
        return failed();
    // The rename itself reaches the disk with its folder.
    if (const int dir = ::open(QFile::encodeName(QFileInfo(target).absolutePath()).constData(),
                               O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace record

void Record::add(const RecordEntry& entry) {
    m_entries.append(entry);
    emit changed();
}

void Record::clear() {
    m_entries.clear();
    emit changed();
}

QString Record::plainText() const {
    QString text;
    for (const RecordEntry& entry : m_entries)
        text += entry.line() + u'\n';
    return text;
}

QByteArray Record::csv() const {
    QString text = QStringLiteral(
        "\uFEFFDatum und Uhrzeit;Aktion;Eingaben;Würfel;Von Hand;Ergebnis;Kästchen vorher;"
        "Kästchen nachher;Erfolge;Dauer (Tage);Gesamtzeit (Tage);Kosten (Nuyen)\r\n");
    const auto whole = [](std::optional<int> n) { return n ? QString::number(*n) : QString(); };
    const auto days = [](std::optional<float> d) {
        return d ? numbers::singleText(*d) : QString();
    };
    for (const RecordEntry& e : m_entries)
        text += QStringList{dateAndTime(e.time),
                            textCell(e.action),
                            textCell(e.inputs),
                            textCell(e.dice),
                            e.byHand ? QStringLiteral("ja") : QStringLiteral("nein"),
                            textCell(e.outcome),
                            whole(e.boxesBefore),
                            whole(e.boxesAfter),
                            whole(e.successes),
                            days(e.days),
                            days(e.totalDays),
                            e.cost ? e.cost->text() : QString()}
                    .join(u';') +
                QStringLiteral("\r\n");
    return text.toUtf8();
}

bool Record::save(const QString& path, QString* error) const {
    return record::saveFile(path, csv(), error);
}
