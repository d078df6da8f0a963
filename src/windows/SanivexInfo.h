#pragma once
// A read-only reference card: the rescue company's four contract levels with what each
// includes and costs, and one line of explanation per column. It computes nothing.
//
// Every table cell is a label of its own. Qt object names must be unique, so the label
// groups of the card are numbered in reading order: Label2_0..Label2_3 (row titles),
// Label3_0..Label3_23 (the six middle columns, row by row), Label4_0..Label4_3 (annual fees),
// Label5_0..Label5_5 (explanations). The drawn lines are the children Line1, Line2 (six
// column separators) and Line3.

#include <QWidget>
#include <memory>

namespace Ui {
class SanivexInfo;
}

class SanivexInfo : public QWidget {
    Q_OBJECT

  public:
    explicit SanivexInfo(QWidget* parent = nullptr);
    ~SanivexInfo() override;

  private:
    std::unique_ptr<Ui::SanivexInfo> ui;
};
