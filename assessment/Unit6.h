#pragma once
// Impact estimates: the results of the impact calculation as one table of three blocks (central,
// lower and upper relative risk), with chart, print, save and clipboard commands.
#include <QString>
#include <memory>

#include "platform/Form.h"

namespace Ui { class TForm6Ui; }
class QEvent;
class QResizeEvent;

class TForm6 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
    ~TForm6() override;

    // The impact calculation on the program-wide inputs; rewrites every result table.
    void calculate_impact();

    // Handlers.
    void BitBtn1Click();   // "&Chart"
    void Button1Click();   // "&Close"
    void BitBtn2Click();   // "&Print"
    void BitBtn3Click();   // "&Save"
    void ClipbClick();     // copy the selected cells
    void Clipball();       // copy the entire table
    void StringGrid1KeyUp(int key, Qt::KeyboardModifiers modifiers);

    Ui::TForm6Ui& ui() const { return *ui_; }

    static constexpr int kRows = 85;
    static constexpr int kCols = 9;
    static constexpr int kBlockTitleRows[3] = {1, 28, 55};

protected:
    void FormActivate() override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void fillTable();
    void fillBlock(int estimate, int titleRow);
    QString unitTitle() const;
    void setNumber(int col, int row, long double value, int decimals);
    void alignCell(int col, int row, Qt::Alignment alignment);
    void placeGrid();
    void printPages();

    std::unique_ptr<Ui::TForm6Ui> ui_;
};
