#pragma once
// One slot per window kind: the window's per-window variables live here for the whole run,
// its controls only while it is open. Opening an open window only raises it; closing deletes
// the widget (Qt::WA_DeleteOnClose) and keeps the variables for the next opening.

#include <QPointer>
#include <QWidget>
#include <concepts>
#include <variant>

namespace app {

template <class Window, class State = std::monostate> class WindowSlot {
  public:
    State state{};

    // The open window, or null. A closed window waits for its deferred deletion hidden; it
    // counts as closed from the moment it is hidden, so a quick reopening builds a fresh one.
    Window* window() const { return isOpen() ? m_window : nullptr; }
    bool isOpen() const { return !m_live.isNull() && m_live->isVisible(); }

    // `create` builds the widget from its definition; `load` runs its load handler.
    template <std::invocable<State&> Create, std::invocable<Window&> Load>
    Window* open(Create create, Load load) {
        if (Window* live = window()) {
            live->raise();
            live->activateWindow();
            return live;
        }
        Window* window = create(state);
        window->setAttribute(Qt::WA_DeleteOnClose);
        m_live = window;
        m_window = window;
        load(*window);
        window->show();
        return window;
    }

    void close() {
        if (Window* live = window())
            live->close();
    }

    // Deletes the widget at once, open or waiting for deletion (at the end of the run). The
    // slot lets go of it first: what its destruction sets off finds no window here.
    void destroy() {
        QWidget* live = m_live.data();
        m_live.clear();
        delete live;
    }

  private:
    // Watched as a plain widget: a window being destroyed is no longer a `Window`, and looking
    // at it as one then is undefined. `m_window` is handed out only while `m_live` holds it.
    QPointer<QWidget> m_live;
    Window* m_window = nullptr;
};

} // namespace app
