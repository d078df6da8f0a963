#include "Verlauf.h"

#include "MessageBoxes.h"
#include "ProgramLook.h"
#include "team/Record.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QListView>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

// The record's entries as rows, each line made only when it is on view. It follows the record:
// new entries become new rows, an emptied record an empty list.
class RecordRows final : public QAbstractListModel {
  public:
    RecordRows(const Record& record, QObject* parent)
        : QAbstractListModel(parent), m_record(record), m_rows(rows()) {
        connect(&record, &Record::changed, this, &RecordRows::follow);
    }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_rows; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::AccessibleTextRole)
            return {};
        return m_record.entries().at(index.row()).line();
    }

  private:
    int rows() const { return int(m_record.entries().size()); }
    void follow() {
        if (rows() > m_rows) {
            beginInsertRows({}, m_rows, rows() - 1);
            m_rows = rows();
            endInsertRows();
        } else if (rows() != m_rows) {
            beginResetModel();
            m_rows = rows();
            endResetModel();
        }
    }

    const Record& m_record;
    int m_rows;
};

// Every row two lines high, wrapped to the window's width: rows of one height need no measuring
// of each line, which is what keeps 200,000 of them quick. A longer line ends in "…" and shows
// whole as its tooltip (and in the copy and the file).
class TwoLines final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {1, 2 * option.fontMetrics.lineSpacing() + 4};
    }
};

} // namespace

Verlauf::Verlauf(Record& record, MessageBoxes& boxes, QWidget* parent)
    : QWidget(parent), m_record(record), m_boxes(boxes) {
    setObjectName(QStringLiteral("Verlauf"));
    setWindowTitle(QStringLiteral("Verlauf"));
    setFont(windows::programFont());
    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("lstVerlauf"));
    m_list->setAccessibleName(QStringLiteral("Verlauf"));
    m_list->setUniformItemSizes(true);
    m_list->setWordWrap(true);
    m_list->setItemDelegate(new TwoLines(m_list));
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setModel(new RecordRows(record, m_list));
    connect(m_list->model(), &QAbstractItemModel::rowsInserted, m_list, &QListView::scrollToBottom);
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* name, const QString& text, auto action) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, action);
        buttons->addWidget(b);
    };
    button("cmdKopieren", QStringLiteral("Kopieren"), &Verlauf::copy);
    button("cmdSpeichern", QStringLiteral("Speichern …"), &Verlauf::save);
    button("cmdLeeren", QStringLiteral("Leeren"), &Verlauf::empty);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(760, 320);
    windows::answerEnter(this);
    windows::closeOnEscape(this);
    m_list->scrollToBottom();
}

void Verlauf::copy() {
    if (m_record.entries().isEmpty())
        (void)m_boxes.inform(this, QStringLiteral("Der Verlauf ist leer; die Zwischenablage "
                                                  "bleibt, wie sie ist."));
    else
        QApplication::clipboard()->setText(m_record.plainText());
}

void Verlauf::empty() {
    if (!m_record.entries().isEmpty() &&
        m_boxes.ask(this, QStringLiteral("Den ganzen Verlauf leeren? Seine Einträge sind dann "
                                         "verloren, wenn er nicht gespeichert ist.")))
        m_record.clear();
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
