// Texts the UI layer makes: integer conversion and the error box.
#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

#include "Application.h"
#include "Convert.h"
#include "Exception.h"

TEST(StrToInt, ConvertsSignedDecimalsOnly)
{
    EXPECT_EQ(ui::StrToInt("7"), 7);
    EXPECT_EQ(ui::StrToInt("0"), 0);
    EXPECT_EQ(ui::StrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(ui::StrToInt("+2147483647"), INT32_MAX);
    for (const char* text : {"", "-", "+", "a", " 1", "1 ", "2147483648", "-2147483649", "%s%n"}) {
        try {
            ui::StrToInt(text);
            ADD_FAILURE() << "converted '" << text << "'";
        } catch (const ui::EConvertError& e) {
            EXPECT_EQ(e.Message(), std::string("'") + text + "' is not a valid integer value");
        }
    }
}

TEST(ErrorBox, AppendsAFullStopOnlyAfterACharacterAboveIt)
{
    struct Case {
        std::string message;
        std::string shown;
    };
    const Case cases[] = {
        {"'-' is not a valid integer value", "'-' is not a valid integer value."},
        {"ends with a stop.", "ends with a stop."},
        {"ends with a bang!", "ends with a bang!"},
        {"", ""},
        {"accented \xE9", "accented \xE9."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ui::ErrorBoxText(std::make_exception_ptr(ui::Exception(c.message))), c.shown);
    EXPECT_EQ(ui::ErrorBoxText(std::make_exception_ptr(std::runtime_error("foreign"))), "");
}
