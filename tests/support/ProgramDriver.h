#pragma once
// Drives the whole program as a user does: started with scripted dice and recorded message
// boxes, its controls are found by name, clicked and typed into through short scripts and read
// back in the same notation, so a window test is a table of user actions and what then shows.
//
// Actions, separated by ";":
//   name          click it (a button, check box or option)
//   name=text     type into a field, key by key over its old text, or choose a list entry
//   name<Key>     press a key there (Return, Escape, Space); name.<close>: the window's close box
//   ?name         every later message box also records what `name` shows while it is open
//   snapshot      remember everything the open windows show, for "changed" below
// What is seen, separated by ";":
//   name=text     a caption, a field's text, a list's chosen entry or its lines joined by "|"
//   name~line     a list that holds this line
//   name:on/off   a check mark; name:enabled/disabled: whether the user can reach it
//   boxes=a|b     the message boxes shown since the last look
//   focus=name    the control with the focus, with its selected text in brackets
//   windows=a|b   the open windows
//   changed=a|b   the controls and totals that differ from the snapshot
// A name is unique among the open windows or starts with its window: "Normal.cmdSuchDoc".

#include "RecordingMessageBoxes.h"
#include "ScriptedDice.h"
#include "app/Programm.h"
#include "windows/Form1.h"

#include <QtTest>
#include <QtWidgets>

class ProgramDriver {
  public:
    // Starts the program with the main window active, its dice rolling exactly `faces`; with
    // `realBoxes` the program shows its own modal message boxes.
    void start(QList<int> faces = {}, bool realBoxes = false) {
        m_scripted = faces.size();
        programm = std::make_unique<app::Programm>(scriptedDice(std::move(faces), &m_dice),
                                                   realBoxes ? nullptr : &boxes);
        boxes.onShow = [this](const QString&) {
            if (!m_watched.isEmpty())
                boxes.texts.last() += " [" + seen(m_watched.join(';')).replace(';', ',') + "]";
        };
        activate(programm->start());
    }

    // Ends the program and tells what went unnoticed: message boxes, dice not rolled.
    QString stop() {
        const qsizetype rolled = m_dice ? std::exchange(m_dice, nullptr)->rolled() : 0;
        programm.reset();
        m_watched.clear();
        QStringList unnoticed = boxes.take();
        if (rolled != m_scripted)
            unnoticed << QStringLiteral("%1 of %2 dice rolled").arg(rolled).arg(m_scripted);
        return unnoticed.join('|');
    }

    QWidget* find(const QString& name) {
        const QString window = name.section('.', 0, -2), control = name.section('.', -1);
        QWidgetList found;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && top->objectName().startsWith(window))
                found +=
                    control.isEmpty() ? QWidgetList{top} : top->findChildren<QWidget*>(control);
        if (found.size() != 1)
            qFatal("%lld controls named %s", qlonglong(found.size()), qPrintable(name));
        return found.first();
    }

    void act(const QString& script) {
        for (const QString& step : items(script)) {
            const QString name = step.section(QRegularExpression("[=<]"), 0, 0);
            const QString value = step.mid(name.size() + 1);
            if (step == "snapshot") {
                m_snapshot = snapshot();
            } else if (step.startsWith('?')) {
                m_watched << step.mid(1);
            } else if (value == "close>") {
                find(name)->close();
            } else if (QWidget* w = find(name); step.endsWith('>')) {
                w->setFocus();
                QTest::keyClick(w, QKeySequence(value.chopped(1))[0].key());
            } else if (!step.contains('=')) {
                QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
            } else if (auto* list = qobject_cast<QComboBox*>(w)) {
                list->setCurrentIndex(list->findText(value));
            } else if (auto* field = qobject_cast<QLineEdit*>(w)) {
                field->setFocus();
                field->selectAll();
                QTest::keyClick(field, Qt::Key_Backspace);
                QTest::keyClicks(field, value);
            }
        }
    }

    // What `expected` names, in its own notation: the same text when all is as expected.
    QString seen(const QString& expected) {
        QStringList shown;
        for (const QString& item : items(expected)) {
            const QString name = item.section(QRegularExpression("[=:~]"), 0, 0);
            const QString want = item.mid(name.size() + 1);
            QChar op = name.size() < item.size() ? item.at(name.size()) : QChar('=');
            QString value;
            if (name == "boxes") {
                value = boxes.take().join('|');
            } else if (QWidget* focus = QApplication::focusWidget(); name == "focus") {
                const QString selected = focus ? focus->property("selectedText").toString() : "";
                value = (focus ? focus->objectName() : "") +
                        (selected.isEmpty() ? "" : '[' + selected + ']');
            } else if (name == "windows") {
                value = windows().join('|');
            } else if (name == "changed") {
                QMap<QString, QString> now = snapshot(), both = now;
                both.insert(m_snapshot);
                QStringList changed;
                for (const QString& key : both.keys())
                    if (now.value(key, "gone") != m_snapshot.value(key, "gone"))
                        changed << key.section('.', -1);
                value = changed.join('|');
            } else if (QWidget* w = find(name); op == ':') {
                auto* box = qobject_cast<QAbstractButton*>(w);
                value = want == "on" || want == "off" ? (box && box->isChecked() ? "on" : "off")
                                                      : (w->isEnabled() ? "enabled" : "disabled");
            } else {
                value = text(w);
                if (op == '~' && value.split('|').contains(want))
                    value = want;
                else
                    op = '=';
            }
            shown << name + op + value;
        }
        return shown.join("; ");
    }

    // The open windows, once closed ones are really deleted (which may close further ones).
    static QStringList windows() {
        for (int pass = 0; pass < 2; ++pass)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QStringList names;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible())
                names << w->objectName();
        names.sort();
        return names;
    }

    // What a control shows: a frame's title, a text, a list's chosen entry or its lines.
    static QString text(const QWidget* w) {
        if (auto* list = qobject_cast<const QListWidget*>(w)) {
            QStringList lines;
            for (int i = 0; i < list->count(); ++i)
                lines << list->item(i)->text();
            return lines.join('|');
        }
        for (const char* shown : {"title", "currentText", "text"})
            if (const QVariant text = w->property(shown); text.isValid())
                return text.toString();
        return QString();
    }

    static bool activate(QWidget* window) {
        QApplication::setActiveWindow(window);
        return QTest::qWaitForWindowActive(window);
    }

    // A data-driven test of scripted use: one row per case, named by its actions.
    static void columns() {
        QTest::addColumn<QList<int>>("faces");
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("expected");
    }
    static void row(QList<int> faces, const QString& actions, const QString& expected) {
        QTest::addRow("%s", qPrintable(actions.isEmpty() ? "start" : actions))
            << faces << actions << expected;
    }
    void play() {
        QFETCH(QList<int>, faces);
        QFETCH(QString, actions);
        QFETCH(QString, expected);
        start(faces);
        act(actions);
        QCOMPARE(seen(expected), expected);
    }

    RecordingMessageBoxes boxes;
    std::unique_ptr<app::Programm> programm;

  private:
    static QStringList items(const QString& script) {
        return script.trimmed().split(QRegularExpression("\\s*;\\s*"), Qt::SkipEmptyParts);
    }

    // Everything the open windows show, with each control's own enabled flag, and the totals.
    QMap<QString, QString> snapshot() {
        QMap<QString, QString> shot;
        for (QWidget* top : QApplication::topLevelWidgets())
            for (QWidget* w : top->isVisible() ? top->findChildren<QWidget*>() : QWidgetList())
                if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_"))
                    shot[top->objectName() + '.' + w->objectName()] =
                        text(w) + QStringList{w->property("checked").toString(),
                                              QString::number(w->isEnabledTo(w->parentWidget())),
                                              w->property("count").toString()}
                                      .join(' ');
        shot["Form1.Gesamtzeit"] = QString::number(programm->form1.state.Gesamtzeit);
        shot["Form1.Kosten"] = programm->form1.state.Kosten.text();
        return shot;
    }

    ScriptedSource* m_dice = nullptr;
    qsizetype m_scripted = 0;
    QStringList m_watched;
    QMap<QString, QString> m_snapshot;
};
