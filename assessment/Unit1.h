#pragma once
// The main screen: the first screen created and the main form of the program. It opens the
// assessment screens, the life-table screen, the help files and the about box, manages the
// working directory and writes and loads the data-exchange file.
#include <QString>
#include <memory>

#include "platform/Form.h"

namespace Ui { class TForm1Ui; }
namespace assessment { struct AssessmentState; }

class TForm1 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Reloads every working file of the working directory into the screens and tables.
    void init_all();

    // The buttons "&Location" and "AQ &Data" and the menu items "&Location" and
    // "Air Quality &Data": the way to the location and air-quality screens.
    void enableRecordScreens(bool enabled);
    // The organisation label.
    void setOrganLabel(const QString& text);

    Ui::TForm1Ui& controls() { return *ui_; }

    // Handlers of the buttons and menu items.
    void BitBtn2Click();   // "Zelk User" / "Data &Supplier"
    void BitBtn3Click();   // "&Location"
    void BitBtn4Click();   // "AQ &Data" / "Air Quality &Data"
    void BitBtn5Click();   // "&Parameters"
    void Export1Click();   // "&Create TAV file" / "&Save as TAV data file"
    void Importdata1Click();  // "&Load TAV data file"
    void NewDirectory1Click();        // "New &directory"
    void ClearALLdata1Click();        // "&Clear ALL data"
    void Printer1Click();             // "&Printer Setup"
    void datafileClick();             // "Show current datafile"
    void Quit1Click();                // "&Quit"
    void Btn_LT_dataOnClick();        // "Enter LT data"
    void BackgroundReport1Click();    // "Product description"
    void Example1Click();             // "Example"
    void Conte1Click();               // "&Online help"
    void ProvidedRiskRatios1Click();  // "Relative Risk estimates"
    void About1Click();               // "&About"

protected:
    void FormActivate() override;

private:
    // The creation handler: program folder, default parameter file, working directory,
    // pollutant table, the supplier's first lines and the data file.
    void FormCreate();
    void connectHandlers();
    bool closeAssessmentScreens();
    void reloadSupplier();
    void reloadEndpoints();
    void reloadDataFile();
    void reloadLocations();
    void loadExchangeFile(const std::string& path);
    void showHelp(const char* file, const char* topic);
    assessment::AssessmentState& aq();

    std::unique_ptr<Ui::TForm1Ui> ui_;
};
