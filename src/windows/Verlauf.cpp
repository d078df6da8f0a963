#include "Verlauf.h"

#include "MessageBoxes.h"
#include "ProgramLook.h"
#include "team/Record.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPixmapCache>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
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
    static constexpr int pictureRole = Qt::UserRole;
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == pictureRole) // names the row's picture; a new record gets new names
            return QStringLiteral("Verlauf %1 %2").arg(m_generation).arg(index.row());
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
            ++m_generation;
            endResetModel();
        }
    }

    const Record& m_record;
    int m_rows;
    int m_generation = 0;
};

// Keeps the picture of each row on view: a new entry makes the table paint every visible row
// anew, and laying out their wrapped text again would cost more than the rest of a press.
class RowPictures final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const qreal ratio = painter->device()->devicePixelRatioF();
        const QString key =
            index.data(RecordRows::pictureRole).toString() + QStringLiteral(" %1 %2 %3 %4")
                                                                 .arg(option.rect.width())
                                                                 .arg(option.rect.height())
                                                                 .arg(int(option.state))
                                                                 .arg(ratio);
        QPixmap picture;
        if (!QPixmapCache::find(key, &picture)) {
            picture = QPixmap(option.rect.size() * ratio);
            picture.setDevicePixelRatio(ratio);
            picture.fill(Qt::transparent);
            QPainter own(&picture);
            QStyleOptionViewItem at = option;
            at.rect.moveTopLeft({0, 0});
            QStyledItemDelegate::paint(&own, at, index);
            own.end();
            QPixmapCache::insert(key, picture);
        }
        painter->drawPixmap(option.rect.topLeft(), picture);
    }
};

} // namespace

Verlauf::Verlauf(Record& record, MessageBoxes& boxes, QWidget* parent)
    : QWidget(parent), m_record(record), m_boxes(boxes) {
    setObjectName(QStringLiteral("Verlauf"));
    setWindowTitle(QStringLiteral("Verlauf"));
    setFont(windows::programFont());
    // Every row two lines high, wrapped to the window's width: rows of one height are never
    // measured one by one, and a table adds a row at the end without laying out the others,
    // which keeps 200,000 of them quick. A longer line ends in "…" and shows whole as its
    // tooltip (and in the copy and the file).
    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("lstVerlauf"));
    m_list->setAccessibleName(QStringLiteral("Verlauf"));
    m_list->horizontalHeader()->hide();
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(2 * fontMetrics().lineSpacing() + 4);
    m_list->setShowGrid(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setWordWrap(true);
    m_list->setItemDelegate(new RowPictures(m_list));
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setModel(new RecordRows(record, m_list));
    connect(m_list->model(), &QAbstractItemModel::rowsInserted, m_list,
            &QTableView::scrollToBottom);
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
