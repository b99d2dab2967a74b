#pragma once
// Chart: one column of the impact-estimates table over the concentration classes, one series for
// each relative risk (central, lower, upper), and its printout.
#include <array>
#include <memory>

#include "platform/Form.h"
#include "runtime/ShortText.h"

namespace Ui { class TForm7Ui; }

class TForm7 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
    ~TForm7() override;

    // Handlers.
    void CheckBox1Click();  // "All Classes"
    void BitBtn1Click();    // "&Print"
    void Button1Click();    // "&Close"

    Ui::TForm7Ui& ui() const { return *ui_; }

    // The value-axis titles of results columns 1..8 (entries 0..7).
    std::array<runtime::ShortText<45>, 8> chart_axis_titles;
    // The category labels of classes 1..25 (entries 0..24): the upper bound of each class, ">" for
    // the open top class.
    std::array<runtime::ShortText<4>, 25> chart_class_names;
    double axis_max = 0;   // the largest value of the column charted
    double axis_step = 0;

protected:
    void FormActivate() override;

private:
    void FormCreate();
    void buildChart();

    std::unique_ptr<Ui::TForm7Ui> ui_;
};
