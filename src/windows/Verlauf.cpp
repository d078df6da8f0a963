#include "Verlauf.h"

#include "MessageBoxes.h"
#include "ProgramLook.h"
#include "team/Record.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

Verlauf::Verlauf(Record& record, MessageBoxes& boxes, QWidget* parent)
    : QWidget(parent), m_record(record), m_boxes(boxes) {
    setObjectName(QStringLiteral("Verlauf"));
    setWindowTitle(QStringLiteral("Verlauf"));
    setFont(windows::programFont());
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstVerlauf"));
    m_list->setAccessibleName(QStringLiteral("Verlauf"));
    m_list->setWordWrap(true); // a whole entry on view, however long its outcome
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* name, const QString& text, auto action) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, action);
        buttons->addWidget(b);
    };
    button("cmdKopieren", QStringLiteral("Kopieren"),
           [this] { QApplication::clipboard()->setText(m_record.plainText()); });
    button("cmdSpeichern", QStringLiteral("Speichern …"), &Verlauf::save);
    button("cmdLeeren", QStringLiteral("Leeren"), [this] { m_record.clear(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(760, 320);
    windows::answerEnter(this);
    windows::closeOnEscape(this);
    connect(&m_record, &Record::changed, this, &Verlauf::showRecord);
    showRecord();
}

void Verlauf::showRecord() {
    m_list->clear();
    for (const RecordEntry& entry : m_record.entries())
        m_list->addItem(entry.line());
    m_list->scrollToBottom();
}

void Verlauf::save() {
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Verlauf speichern"), QStringLiteral("Verlauf.csv"),
        QStringLiteral("CSV-Dateien (*.csv)"), nullptr, QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty())
        saveTo(path);
}

void Verlauf::saveTo(const QString& path) {
    QString error;
    if (!m_record.save(path, &error))
        (void)m_boxes.inform(this, QStringLiteral("Der Verlauf konnte nicht in „%1“ gespeichert "
                                                  "werden: %2")
                                       .arg(path, error));
}
