#pragma once
// Drives the whole program as a user does, for the tests, the handler benchmark and the
// screenshot tool: the real windows with the dice given (scripted in tests) and message boxes
// that are recorded instead of shown. Controls are found by name, a name unique among the open
// windows or one that starts with its window ("NormalVersorgung.cmdSuchDoc").

#include "app/Programm.h"
#include "windows/MessageBoxes.h"

#include <QStringList>
#include <QTemporaryDir>
#include <functional>

class Driver final : public MessageBoxes {
  public:
    explicit Driver(std::unique_ptr<dice::Wuerfelomat> dice);

    app::Programm& program() { return *m_program; }

    QWidget* find(const QString& name) const;
    void click(const QString& name) const;
    // Types into a field key by key over its old text, or chooses a list entry.
    void type(const QString& name, const QString& text) const;
    // A key pressed where `name` has the focus.
    void key(const QString& name, Qt::Key key) const;

    // What a control shows: a frame's title, a text, a list's chosen entry or its lines
    // joined by "|".
    QString text(const QString& name) const { return text(find(name)); }
    static QString text(const QWidget* control);
    // The open windows by name, once closed ones are really deleted.
    static QStringList windows();
    // Everything the open windows show (each control's text, check mark, own enabled flag and
    // list length) and the main window's totals, to see what an action changed.
    QMap<QString, QString> snapshot() const;

    // The messages shown since the last call.
    QStringList messages() { return std::exchange(m_messages, {}); }
    // What to type, field by field, when the program asks for dice rolled at the table; each
    // answer is typed where the focus is, then Return. No answer at all: Escape.
    QList<QStringList> diceAnswers;
    // What each dice dialog said it asked for ("3 offene W6 gegen Mindestwurf 7 — Heilung"),
    // and, where Return could not confirm the answer, why (the dialog is then left by Escape).
    QStringList diceAsked;
    QStringList diceRefused;
    // Runs once the answer is typed, before Return confirms it.
    std::function<void(QWidget* dialog)> beforeConfirm;

    bool inform(QWidget* window, const QString& text) override;
    // A question is recorded like a message and answered no, unless `yes` is set for it.
    bool ask(QWidget* window, const QString& text) override;
    bool yes = false;

  private:
    void answerDice(QWidget* dialog);
    // One key that makes `key`; a character no key of QTest's table makes arrives as text.
    static void typeKey(QWidget* w, const QString& key);

    // In this order, so that the program goes first, while all it may tell is still recorded.
    QStringList m_messages;
    std::unique_ptr<QObject> m_dialogs;
    std::unique_ptr<app::Programm> m_program;
};

// main() for tests of the windows: a QApplication offscreen unless told otherwise, and an
// empty data directory of its own, so no test sees a team it did not make.
#define SANIVEX_WINDOW_TEST_MAIN(TestClass)                                                        \
    int main(int argc, char* argv[]) {                                                             \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        QTemporaryDir data;                                                                        \
        qputenv("XDG_DATA_HOME", data.path().toUtf8());                                            \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
