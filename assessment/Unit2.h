#pragma once
// The data-supplier screen: country, organisation, address and contact person of the institution
// that supplies the air-quality data, kept in "data_sup.tab" of the working directory.
#include <array>
#include <memory>

#include "assessment/core/SupplierFile.h"
#include "platform/Form.h"

class QLineEdit;
namespace Ui { class TForm2Ui; }

// Zelk User
class TForm2 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    // The ten edits in the line order of the supplier file: country, organ, city, street, pobox,
    // postcode, email, tel, fax, resp_person.
    const std::array<QLineEdit*, assessment::kSupplierLineCount>& fileOrderEdits() const { return fileOrder_; }
    // Sets the ten edits from the lines of the supplier file (a missing line empties its edit); the
    // change handlers run as for any text the program sets.
    void setFileLines(const assessment::SupplierLines& lines);

    Ui::TForm2Ui& controls() { return *ui_; }

protected:
    void FormActivate() override;
    void FormDeactivate() override;

private:
    void connectHandlers();
    void writeSupplierFile();
    void Button1Click();  // "&Next"
    void BitBtn1Click();  // "&Close"
    void BitBtn2Click();  // "&Print"
    void organChange();
    void anyChange();

    std::unique_ptr<Ui::TForm2Ui> ui_;
    std::array<QLineEdit*, assessment::kSupplierLineCount> fileOrder_{};
};
