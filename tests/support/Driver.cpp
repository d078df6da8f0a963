#include "Driver.h"

#include "windows/Form1.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// Calls back once a dice dialog is on screen (and running its own loop).
struct DialogWatch final : QObject {
    explicit DialogWatch(std::function<void(QWidget*)> shown) : shown(std::move(shown)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->objectName() == "EigeneWuerfel") {
            auto* dialog = static_cast<QWidget*>(watched);
            QTimer::singleShot(0, dialog, [this, dialog] { shown(dialog); });
        }
        return false;
    }
    const std::function<void(QWidget*)> shown;
};

} // namespace

Driver::Driver(std::unique_ptr<dice::Wuerfelomat> dice)
    : m_dialogs(std::make_unique<DialogWatch>([this](QWidget* d) { answerDice(d); })),
      m_program(std::make_unique<app::Programm>(std::move(dice), this)) {
    qApp->installEventFilter(m_dialogs.get());
    QApplication::setActiveWindow(m_program->start());
}

void Driver::answerDice(QWidget* dialog) {
    diceAsked << dialog->findChild<QLabel*>("lblWurf")->text();
    const QPointer<QWidget> alive = dialog;
    const auto focus = [dialog] { return dialog->focusWidget() ? dialog->focusWidget() : dialog; };
    if (diceAnswers.isEmpty()) {
        QTest::keyClick(focus(), Qt::Key_Escape);
        return;
    }
    for (const QString& die : diceAnswers.takeFirst())
        for (QChar c : die)
            typeKey(focus(), c);
    if (beforeConfirm)
        beforeConfirm(dialog);
    if (!alive) // gone with the window that asked
        return;
    QTest::keyClick(focus(), Qt::Key_Return);
    if (alive && dialog->isVisible()) {
        diceRefused << dialog->findChild<QLabel*>("lblHinweis")->text();
        QTest::keyClick(focus(), Qt::Key_Escape);
    }
}

bool Driver::inform(QWidget* window, const QString& text) {
    m_messages.append(text);
    return window != nullptr; // nothing closes a window while a recorded message is "open"
}

bool Driver::ask(QWidget* window, const QString& text) {
    return inform(window, text) && std::exchange(yes, false);
}

QWidget* Driver::find(const QString& name) const {
    const QString window = name.section('.', 0, -2), control = name.section('.', -1);
    QWidgetList found;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->objectName().startsWith(window))
            found += control.isEmpty() ? QWidgetList{top} : top->findChildren<QWidget*>(control);
    if (found.size() != 1)
        qFatal("%lld controls named %s", qlonglong(found.size()), qPrintable(name));
    return found.first();
}

void Driver::click(const QString& name) const {
    QWidget* w = find(name);
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
}

void Driver::type(const QString& name, const QString& text) const {
    QWidget* w = find(name);
    if (auto* list = qobject_cast<QComboBox*>(w)) {
        list->setCurrentIndex(list->findText(text));
    } else {
        w->setFocus();
        static_cast<QLineEdit*>(w)->selectAll();
        QTest::keyClick(w, Qt::Key_Backspace);
        for (QChar c : text)
            typeKey(w, c);
    }
}

void Driver::typeKey(QWidget* w, const QString& key) {
    if (key.at(0).unicode() < 0x7f) {
        QTest::keyClick(w, key.at(0).toLatin1());
    } else {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, key);
        QApplication::sendEvent(w, &press);
    }
}

void Driver::key(const QString& name, Qt::Key key) const {
    QWidget* w = find(name);
    w->setFocus();
    QTest::keyClick(w, key);
}

QString Driver::text(const QWidget* w) {
    if (auto* list = qobject_cast<const QAbstractItemView*>(w)) {
        QStringList lines;
        for (int i = 0; i < list->model()->rowCount(); ++i)
            lines << list->model()->index(i, 0).data().toString();
        return lines.join('|');
    }
    for (const char* shown : {"title", "currentText", "text"})
        if (const QVariant text = w->property(shown); text.isValid())
            return text.toString();
    return QString();
}

QStringList Driver::windows() {
    for (int pass = 0; pass < 2; ++pass)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList names;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            names << w->objectName();
    names.sort();
    return names;
}

QMap<QString, QString> Driver::snapshot() const {
    QMap<QString, QString> shot;
    for (QWidget* top : QApplication::topLevelWidgets())
        for (QWidget* w : top->isVisible() ? top->findChildren<QWidget*>() : QWidgetList())
            if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_"))
                shot[top->objectName() + '.' + w->objectName()] =
                    text(w) + QStringList{w->property("checked").toString(),
                                          QString::number(w->isEnabledTo(w->parentWidget())),
                                          w->property("count").toString()}
                                  .join(' ');
    shot["Form1.Gesamtzeit"] = QString::number(m_program->form1.state.Gesamtzeit);
    shot["Form1.Kosten"] = m_program->form1.state.Kosten.text();
    return shot;
}
