#include "Runde.h"

#include "MessageBoxes.h"
#include "ProgramLook.h"
#include "numbers/Text.h"
#include "odds/Forecast.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// Sorts by the number behind the text, so "12,5 Tage" comes after "3 Tage".
class Cell : public QTableWidgetItem {
  public:
    Cell(const QString& text, double order) : QTableWidgetItem(text) {
        setData(Qt::UserRole, order);
        setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
    }
};

QString days(double hours) {
    return QLocale().toString(hours / 24, 'f', 1) + QStringLiteral(" Tage");
}

QString careText(healing::CareCondition care) {
    using healing::CareCondition;
    switch (care) {
    case CareCondition::Krankenhaus:
        return QStringLiteral("Krankenhaus");
    case CareCondition::schlechteUmst:
        return QStringLiteral("schlechte Umstände");
    case CareCondition::furchtbareUmst:
        return QStringLiteral("furchtbare Umstände");
    case CareCondition::daheim:
        break;
    }
    return QStringLiteral("zu Hause");
}

} // namespace

Runde::Runde(const QList<team::Patient>& patients, Actions actions, MessageBoxes& boxes,
             QWidget* parent)
    : QWidget(parent), m_patients(patients), m_actions(std::move(actions)), m_boxes(boxes) {
    setObjectName(QStringLiteral("Runde"));
    setWindowTitle(QStringLiteral("Runde"));
    setFont(windows::programFont());
    m_table = new QTableWidget(0, 7, this);
    m_table->setObjectName(QStringLiteral("tblRunde"));
    m_table->setAccessibleName(QStringLiteral("Patienten der Runde"));
    m_table->setHorizontalHeaderLabels(
        {"Name", "Kästchen", "Pflege", "Gesamtzeit", "Kosten", "Erwartet", "90 %"});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    // In the team's order until a header is clicked.
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        m_actions.activate(m_table->item(row, 0)->data(Qt::UserRole).toInt());
    });
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* name, const QString& text, auto action) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, action);
        buttons->addWidget(b);
    };
    button("cmdNeu", QStringLiteral("Neu …"),
           [this] { askName(QStringLiteral("Neuer Patient"), {}, m_actions.add); });
    button("cmdUmbenennen", QStringLiteral("Umbenennen …"), [this] {
        const int index = selected();
        if (index >= 0)
            askName(QStringLiteral("Patient umbenennen"), m_patients[index].name,
                    [this, index](const QString& name) { return m_actions.rename(index, name); });
    });
    button("cmdEntfernen", QStringLiteral("Entfernen"), [this] {
        const int index = selected();
        if (index >= 0 && m_boxes.ask(this, QStringLiteral("„%1“ mit Verlauf und allen Schritten "
                                                           "aus der Runde entfernen?")
                                                .arg(m_patients[index].name)))
            m_actions.remove(index);
    });
    button("cmdSpeichern", QStringLiteral("Speichern …"), [this] {
        const QString path = QFileDialog::getSaveFileName(
            this, QStringLiteral("Verlauf der Runde speichern"), QStringLiteral("Runde.csv"),
            QStringLiteral("CSV-Dateien (*.csv)"), nullptr, QFileDialog::DontUseNativeDialog);
        if (!path.isEmpty())
            saveTo(path);
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(buttons);
    resize(900, 300);
    windows::answerEnter(this);
    windows::closeOnEscape(this);
}

int Runde::selected() const {
    const QList<QTableWidgetItem*> items = m_table->selectedItems();
    return items.isEmpty() ? -1 : m_table->item(items[0]->row(), 0)->data(Qt::UserRole).toInt();
}

void Runde::keyPressEvent(QKeyEvent* event) {
    // Enter on a row makes its patient active; a focused button takes Enter for itself.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && selected() >= 0) {
        m_actions.activate(selected());
        return;
    }
    QWidget::keyPressEvent(event);
}

void Runde::showTeam() {
    m_table->setSortingEnabled(false);
    m_table->clearSpans();
    m_table->setRowCount(int(m_patients.size()));
    QHash<QByteArray, Forecast> fresh;
    for (int row = 0; row < m_patients.size(); ++row) {
        const team::Patient& p = m_patients[row];
        const healing::HealingInput input = p.sheet.input();
        const healing::Form1State& state = p.sheet.state;
        auto* name = new QTableWidgetItem(p.name);
        name->setData(Qt::UserRole, row);
        name->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        m_table->setItem(row, 0, name);
        m_table->setItem(row, 1, new Cell(input.Schaden, input.Schaden.toDouble()));
        m_table->setItem(row, 2, new Cell(careText(input.care), int(input.care)));
        m_table->setItem(row, 3, new Cell(numbers::timeLine(state.Gesamtzeit), state.Gesamtzeit));
        m_table->setItem(
            row, 4,
            new Cell(state.Kosten.text() + QStringLiteral(" Nuyen"), double(state.Kosten.ticks())));
        // The forecast's own answer for this patient's inputs, or the press's refusal.
        auto known = m_forecasts.constFind(p.sheetJson);
        if (known == m_forecasts.cend()) {
            const auto recovery = odds::recovery(input, state);
            Forecast f;
            if (recovery.refused())
                f.refusal = recovery.refusal();
            else if (recovery->presses == 0)
                f.healed = true;
            else
                f = {{}, false, recovery->hours.mean(), recovery->hours.quantile(0.9)};
            known = fresh.insert(p.sheetJson, f);
        } else {
            fresh.insert(p.sheetJson, *known);
        }
        const Forecast& f = *known;
        QString expected = f.refusal, late;
        const double order = f.refusal.isEmpty() ? f.mean : -1;
        if (f.healed)
            expected = late = QStringLiteral("geheilt");
        else if (f.refusal.isEmpty()) {
            expected = days(f.mean);
            late = days(f.late);
        }
        m_table->setItem(row, 5, new Cell(expected, order));
        m_table->setItem(row, 6, new Cell(late, order));
        if (!f.refusal.isEmpty()) // the refusal reads across both columns
            m_table->setSpan(row, 5, 1, 2);
    }
    m_forecasts = std::move(fresh); // only what the team still holds
    m_table->setSortingEnabled(true);
    const int active = m_actions.active();
    for (int row = 0; row < m_table->rowCount(); ++row)
        if (m_table->item(row, 0)->data(Qt::UserRole).toInt() == active)
            m_table->selectRow(row);
    m_table->resizeColumnsToContents();
}

void Runde::askName(const QString& title, const QString& name,
                    const std::function<QString(const QString&)>& apply) {
    if (m_dialog) {
        m_dialog->raise();
        m_dialog->activateWindow();
        return;
    }
    auto* dialog = new QDialog(this);
    m_dialog = dialog;
    dialog->setObjectName(QStringLiteral("Name"));
    dialog->setWindowTitle(title);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto* field = new QLineEdit(name, dialog);
    field->setObjectName(QStringLiteral("txtName"));
    field->setAccessibleName(QStringLiteral("Name"));
    field->setMaxLength(team::nameLength + 20); // longer is refused with a message, not cut
    auto* caption = new QLabel(QStringLiteral("&Name:"), dialog);
    caption->setBuddy(field);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(caption);
    layout->addWidget(field);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, dialog, [this, dialog, field, apply] {
        const QString problem = apply(field->text());
        if (problem.isEmpty())
            dialog->accept();
        else if (m_boxes.inform(dialog, problem))
            field->setFocus();
    });
    dialog->open();
    field->selectAll();
    field->setFocus();
}

QByteArray Runde::csv(const QList<team::Patient>& patients) {
    QByteArray out;
    for (const team::Patient& p : patients) {
        Record record;
        if (const auto notice = p.trimNotice())
            record.add(*notice);
        for (const RecordEntry& entry : p.record)
            record.add(entry);
        // The record's own lines, each after the patient's name; its header once, first, after
        // the byte-order mark.
        const QByteArray text = record.csv();
        const QByteArray name = record::cell(p.name).toUtf8() + ';';
        qsizetype start = text.indexOf("\r\n") + 2;
        constexpr qsizetype mark = 3; // the record's byte-order mark, kept first
        if (out.isEmpty())
            out = text.left(mark) + "Name;" + text.mid(mark, start - mark);
        for (qsizetype end; (end = text.indexOf("\r\n", start)) >= 0; start = end + 2)
            out += name + text.mid(start, end + 2 - start);
    }
    return out;
}

void Runde::saveTo(const QString& path) {
    QString error;
    if (!record::saveFile(path, csv(m_patients), &error))
        (void)m_boxes.inform(this, QStringLiteral("Der Verlauf der Runde konnte nicht in „%1“ "
                                                  "gespeichert werden: %2")
                                       .arg(path, error));
}
