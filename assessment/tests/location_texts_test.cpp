// The record's four texts and the location file's three fields, typed and pasted as users do: a
// field shows what its file stores, and a restart shows it again.
#include <filesystem>

#include "assessment/tests/location_fixture.h"
#include "platform/TextFieldRule.h"

using namespace assessment;
using platform::testing::activateForm;
using platform::testing::pasteInto;
using platform::testing::pressButton;

namespace {

struct TextCase {
    bool paste;
    QString input;
    QString shown;      // in the field, and again after a restart
    std::string bytes;  // in the file
    int beeps;          // per field
};

void enter(QWidget* field, const TextCase& c) {
    const int before = platform::refusedKeyCount();
    if (c.paste)
        pasteInto(field, c.input);
    else
        typeInto(field, c.input);
    EXPECT_EQ(platform::refusedKeyCount() - before, c.beeps) << field->objectName().toStdString();
}

class LocationTexts : public RecordScreens {
protected:
    void restartProgram() {
        Program& p = restart();
        f3 = p.Form3;
        f4 = p.Form4;
    }
};

TEST_F(LocationTexts, RecordTextsHoldOnlyWhatTheDataFileStores) {
    const TextCase cases[] = {
        {false, "St;ation", "Station", "Station", 1},
        {true,
         QString::fromUtf8("Net;\r\nWork\tA\x01"
                           "B\u2028C\u2029D\nE\rF"),
         "Net Work A B C D E F", "Net Work A B C D E F", 0},
        {false, QString::fromUtf8("\u0141\u00f3d\u017a"), QString::fromUtf8("\u00f3d"),
         "\xF3"
         "d",
         2},
        {true, QString::fromUtf8("\u6771\u4eac Z\u00fcrich \u20ac;"), QString::fromUtf8(" Z\u00fcrich \u20ac"),
         " Z\xFCrich \x80", 0},
        {true, QString(40, QLatin1Char('x')), QString(35, QLatin1Char('x')), std::string(35, 'x'), 0},
    };
    const auto fields = validRecord(0, 2, 2001);
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        startWith(recordLine(fields, {"Low", "High", "Net", "Agency"}), "0 1|2|Town\r\n");
        ASSERT_TRUE(activateForm(f3));
        enter(e3("netw_affl"), c);
        enter(e3("tech_body"), c);
        DialogScript::answer(Button::Yes);  // Save changes?
        pressButton(b3("Button1"));         // "Next"
        ASSERT_TRUE(activateForm(f4));
        enter(e4("Editlow_name"), c);
        enter(e4("Edithigh_name"), c);
        EXPECT_EQ(e4("Edithigh_name")->text(), c.shown);
        DialogScript::answer(Button::Yes);  // Save changes?
        pressButton(b4("Button1"));         // "&Close"
        EXPECT_EQ(dataFile(), recordLine(fields, {c.bytes, c.bytes, c.bytes, c.bytes}));

        restartProgram();
        for (QLineEdit* edit : {e3("netw_affl"), e3("tech_body"), e4("Editlow_name"), e4("Edithigh_name")})
            EXPECT_EQ(edit->text(), c.shown) << edit->objectName().toStdString();
    }
}

TEST_F(LocationTexts, TownTextsHoldOnlyWhatTheLocationFileStores) {
    struct TownCase {
        TextCase name;
        QString coordinate, reloadedCoordinate;  // a restart drops the coordinates' blanks
        std::string coordinateBytes;
    };
    const TownCase cases[] = {
        {{false, "St;P|x", "St;Px", "St;Px", 1}, "St;Px", "St;Px", "St;Px"},
        {{true,
          QString::fromUtf8("A|B\r\nC\tD\x01"
                            "E\u2028F"),
          "AB C D E F", "AB C D E F", 0},
         "AB C D E F",
         "ABCDEF",
         "AB C D E F"},
        {{false, QString::fromUtf8("\u0141\u00f3d\u017a"), QString::fromUtf8("\u00f3d"),
          "\xF3"
          "d",
          2},
         QString::fromUtf8("\u00f3d"),
         QString::fromUtf8("\u00f3d"),
         "\xF3"
         "d"},
        {{true, QString::fromUtf8("\u6771\u4eac|45"), "45", "45", 0}, "45", "45", "45"},
        {{true, QString(40, QLatin1Char('n')), QString(35, QLatin1Char('n')), std::string(35, 'n'), 0},
         QString(15, QLatin1Char('n')),
         QString(15, QLatin1Char('n')),
         std::string(15, 'n')},
    };
    for (const TownCase& c : cases) {
        SCOPED_TRACE(c.name.input.toStdString());
        std::filesystem::remove(workDir + "town.tab");
        startWith(recordLine({}));  // no town yet: the town box takes a new name
        ASSERT_TRUE(activateForm(f3));
        enter(box3("agglom"), c.name);
        enter(e3("latstr"), c.name);
        enter(e3("longstr"), c.name);
        EXPECT_EQ(e3("latstr")->text(), c.coordinate);
        pressButton(b3("BitBtn2"));  // "Save and Go to Air Quality data"
        const std::string towns = townFile();
        EXPECT_EQ(towns.substr(towns.find(' ') + 1),
                  c.coordinateBytes + "|" + c.coordinateBytes + "|" + c.name.bytes + "\r\n");

        restartProgram();
        EXPECT_EQ(box3("agglom")->currentText(), c.name.shown);
        EXPECT_EQ(e3("latstr")->text(), c.reloadedCoordinate);
        EXPECT_EQ(e3("longstr")->text(), c.reloadedCoordinate);
    }
}

}  // namespace
