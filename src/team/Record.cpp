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
#include <algorithm>
#include <cerrno>
#include <charconv>
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

void clock(QString& text, const QTime& time) {
    twoDigits(text, time.hour());
    text += u':';
    twoDigits(text, time.minute());
    text += u':';
    twoDigits(text, time.second());
}

// "2026-03-14 21:05:09": read as a date and time by spreadsheets in every language.
void dateAndTime(QString& text, const QDateTime& when) {
    int year = 0, month = 0, day = 0;
    when.date().getDate(&year, &month, &day);
    text += QString::number(year);
    text += u'-';
    twoDigits(text, month);
    text += u'-';
    twoDigits(text, day);
    text += u' ';
    clock(text, when.time());
}

QString doctorDice(const care::DoctorRoll& roll, const dice::Dice& rolled) {
    return QStringLiteral("2W6 ") + rolled.text({roll.W1, roll.W2});
}

QString doctorFound(const care::DoctorRoll& roll) {
    if (roll.doctor.refused)
        return QStringLiteral("Ergebnis %1: %2").arg(roll.S).arg(care::texts::secondRefusal);
    return QStringLiteral("Ergebnis %1, Fertigkeitsstufe %2, Ausrüstungsstufe %3")
        .arg(roll.S)
        .arg(roll.doctor.Fertigkeit)
        .arg(roll.doctor.Equipment);
}

// A field as a CSV cell after the separator: quoted where it holds a separator, a quote or a
// line break. Text that a spreadsheet would take for a formula (typed text can start with
// anything) gets a leading apostrophe and stays text; the figure columns never pass through
// here.
void textCell(QString& text, const QString& field) {
    static const QString formulaStart = QStringLiteral("=+-@\t\r");
    const bool formula = !field.isEmpty() && formulaStart.contains(field.front());
    const bool quoted = std::any_of(field.begin(), field.end(), [](QChar c) {
        return c == u';' || c == u'"' || c == u'\n' || c == u'\r';
    });
    text += u';';
    if (quoted)
        text += u'"';
    if (formula)
        text += u'\'';
    text += quoted ? QString(field).replace(u'"', QStringLiteral("\"\"")) : field;
    if (quoted)
        text += u'"';
}

// A figure for a spreadsheet: seven significant digits like the window's numbers, the locale's
// decimal separator; made without QLocale, which costs more than the rest of a CSV line.
void figure(QString& text, QChar point, float value) {
    char digits[32];
    const auto end =
        std::to_chars(digits, digits + sizeof digits, double(value), std::chars_format::general, 7);
    for (const char* c = digits; c != end.ptr; ++c)
        text += *c == '.' ? point : QChar(QLatin1Char(*c));
}

// The system's reason in German where the system might not say it in German itself.
QString systemReason(int code) {
    switch (code) {
    case ENOSPC:
        return QStringLiteral("Auf dem Datenträger ist kein Platz mehr frei.");
    case EDQUOT:
        return QStringLiteral("Das Speicherkontingent ist erschöpft.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Keine Berechtigung.");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Den Ordner gibt es nicht.");
    case EIO:
        return QStringLiteral("Ein- oder Ausgabefehler des Datenträgers.");
    default:
        return QString::fromLocal8Bit(std::strerror(code));
    }
}

} // namespace

QString RecordEntry::line() const {
    QString text;
    appendLine(text);
    return text;
}

void RecordEntry::appendLine(QString& text) const {
    clock(text, time.time());
    text += QStringLiteral("  ");
    text += action;
    if (!inputs.isEmpty()) {
        text += QStringLiteral(": ");
        text += inputs;
    }
    if (!dice.isEmpty()) {
        text += QStringLiteral(", Würfel ");
        text += dice;
        if (byHand)
            text += QStringLiteral(" (von Hand)");
    }
    if (!outcome.isEmpty()) {
        text += QStringLiteral(" → ");
        text += outcome;
    }
}

namespace record {

QString successes(int count) {
    return QString::number(count) +
           (count == 1 ? QStringLiteral(" Erfolg") : QStringLiteral(" Erfolge"));
}

QString cell(const QString& field) {
    QString text;
    textCell(text, field);
    return text.mid(1);
}

RecordEntry press(const healing::Press& press, const QString& care, numbers::Amount costBefore,
                  const dice::Dice& rolled) {
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
                          rolled.text(press.roll.dice), rolled.byHand(),
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

RecordEntry normalSearch(const care::NormalSearch& search, const dice::Dice& rolled) {
    const care::NormalVersorgungState& s = search.state;
    RecordEntry e = entry(QStringLiteral("Normale Suche"),
                          QStringLiteral("Modifikator %1, Fertigk.Mod. %2, MW %3, %4 Würfel")
                              .arg(s.Modif)
                              .arg(s.FertMod)
                              .arg(search.MW)
                              .arg(search.dice),
                          QStringLiteral("Gebräuche ") + rolled.text(search.etiquette.dice),
                          rolled.byHand(), successes(s.Erfolge) + QStringLiteral(", "));
    e.successes = s.Erfolge;
    if (search.firstRefusal()) {
        e.outcome += care::texts::firstRefusal;
    } else {
        e.dice += QStringLiteral("; ") + doctorDice(*search.doctor, rolled);
        e.outcome +=
            doctorFound(*search.doctor) + QStringLiteral(", Zeitraum ") + daysText(s.Zeitraum);
        e.days = s.Zeitraum;
    }
    return e;
}

RecordEntry emergencySearch(const care::EmergencySearch& search, const dice::Dice& rolled) {
    return entry(QStringLiteral("Notfallsuche"),
                 QStringLiteral("Modifikator %1").arg(search.state.Modif),
                 doctorDice(search.doctor, rolled), rolled.byHand(), doctorFound(search.doctor));
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

RecordEntry undone(const QString& what, const QTime& when) {
    return entry(
        QStringLiteral("Rückgängig"),
        what + QStringLiteral(" von ") + when.toString(QStringLiteral("HH:mm:ss")), {}, false,
        QStringLiteral("zurückgenommen: alle Felder, Listen, Summen und Kosten wie davor"));
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
    text.reserve(m_entries.size() * 160);
    for (const RecordEntry& entry : m_entries) {
        entry.appendLine(text);
        text += u'\n';
    }
    return text;
}

QByteArray Record::csv() const {
    QString text = QStringLiteral(
        "\uFEFFDatum und Uhrzeit;Aktion;Eingaben;Würfel;Von Hand;Ergebnis;Kästchen vorher;"
        "Kästchen nachher;Erfolge;Dauer (Tage);Gesamtzeit (Tage);Kosten (Nuyen)\r\n");
    text.reserve(m_entries.size() * 200);
    const auto whole = [&text](std::optional<int> n) {
        text += u';';
        if (n)
            text += QString::number(*n);
    };
    const QChar point = QLocale().decimalPoint().front();
    const auto days = [&text, point](std::optional<float> d) {
        text += u';';
        if (d)
            figure(text, point, *d);
    };
    for (const RecordEntry& e : m_entries) {
        dateAndTime(text, e.time);
        textCell(text, e.action);
        textCell(text, e.inputs);
        textCell(text, e.dice);
        text += e.byHand ? QStringLiteral(";ja") : QStringLiteral(";nein");
        textCell(text, e.outcome);
        whole(e.boxesBefore);
        whole(e.boxesAfter);
        whole(e.successes);
        days(e.days);
        days(e.totalDays);
        text += u';';
        if (e.cost)
            text += e.cost->text();
        text += QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

bool Record::save(const QString& path, QString* error) const {
    return record::saveFile(path, csv(), error);
}
