// Start-up benchmark, the floor: the least a Qt Widgets program needs to show a window with
// as many controls of each kind as the main window has (15 frames, 8 labels, 7 text boxes,
// 7 check boxes, 10 options, 2 lists, 4 buttons), placed in plain columns, in the program's
// font and Qt's default style, with the same first-frame reporter. Started by startup.py.

#include "FirstFrameReporter.h"
#include "windows/ProgramLook.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

namespace {

// Hands out rectangles down the window, column after column.
class Placer {
  public:
    QRect next(int height) {
        if (m_y + height > windowHeight - margin) {
            m_y = margin;
            m_x += columnWidth + margin;
        }
        const QRect r(m_x, m_y, columnWidth, height);
        m_y += height + margin;
        return r;
    }

    static constexpr int windowWidth = 702;
    static constexpr int windowHeight = 609;

  private:
    static constexpr int margin = 8;
    static constexpr int columnWidth = 160;
    int m_x = margin;
    int m_y = margin;
};

template <class Control>
void place(QWidget* window, Placer& placer, int count, int height, const QString& caption) {
    for (int i = 1; i <= count; ++i) {
        auto* control = new Control(window);
        if constexpr (requires { control->setTitle(caption); })
            control->setTitle(caption.arg(i));
        else if constexpr (requires { control->setText(caption); })
            control->setText(caption.arg(i));
        control->setGeometry(placer.next(height));
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Sanivex - Genesor"));
    window.setFont(windows::programFont());
    window.resize(Placer::windowWidth, Placer::windowHeight);

    Placer placer;
    place<QGroupBox>(&window, placer, 15, 40, QStringLiteral("Rahmen %1"));
    place<QLabel>(&window, placer, 8, 16, QStringLiteral("Beschriftung %1"));
    place<QLineEdit>(&window, placer, 7, 19, QStringLiteral("%1"));
    place<QCheckBox>(&window, placer, 7, 17, QStringLiteral("Kontrollkästchen %1"));
    place<QRadioButton>(&window, placer, 10, 17, QStringLiteral("Option %1"));
    place<QListWidget>(&window, placer, 2, 90, QString());
    place<QPushButton>(&window, placer, 4, 25, QStringLiteral("Knopf %1"));

    window.show();
    FirstFrameReporter::watch(&window);
    return application.exec();
}
