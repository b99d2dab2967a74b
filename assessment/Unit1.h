#pragma once
#include "platform/Form.h"

// The main screen: the first screen created and the main form of the program.
class TForm1 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

private:
    // The creation handler: program folder, default parameter file, working directory,
    // pollutant table, the supplier's first lines and the data file.
    void FormCreate();
};
