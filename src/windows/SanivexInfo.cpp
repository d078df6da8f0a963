#include "SanivexInfo.h"

#include "ProgramLook.h"
#include "StraightLines.h"
#include "ui_SanivexInfo.h"

namespace {

// One drawn line under the header, then the column separators from y = 720 to y = 2760.
void drawLines(QWidget* window) {
    auto* line1 = new windows::StraightLines(window, {QLine(120, 720, 7560, 720)});
    line1->setObjectName(QStringLiteral("Line1"));

    QList<QLine> separators;
    for (int x : {1200, 2160, 3000, 3600, 4440, 5400})
        separators.append(QLine(x, 720, x, 2760));
    auto* line2 = new windows::StraightLines(window, separators);
    line2->setObjectName(QStringLiteral("Line2"));

    auto* line3 = new windows::StraightLines(window, {QLine(6360, 720, 6360, 2760)});
    line3->setObjectName(QStringLiteral("Line3"));
}

} // namespace

SanivexInfo::SanivexInfo(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::SanivexInfo>()) {
    setFont(windows::programFont());
    ui->setupUi(this);
    drawLines(this);
    windows::finishWindow(this);
    windows::closeOnEscape(this);

    connect(ui->cmdClose, &QPushButton::clicked, this, &QWidget::close);
    ui->cmdClose->setFocus();
}

SanivexInfo::~SanivexInfo() = default;
