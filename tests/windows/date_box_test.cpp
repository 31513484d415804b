// The date box that may be empty, with its calendar.
#include "platform/core/Errors.h"
#include "platform/ui/DateBox.h"

#include <QCalendarWidget>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace fat;

namespace {

TDateTime Hoje() { return EncodeDate(2026, 3, 20); }

struct DateBoxTest : ::testing::Test {
    ui::DateBox box;
    QLineEdit other;
    QWidget window;
    DateBoxTest() {
        SetTodayFunction(&Hoje);
        box.setParent(&window);
        other.setParent(&window);
        box.setGeometry(10, 10, 105, 21);
        other.setGeometry(10, 40, 80, 21);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    ~DateBoxTest() override {
        box.setParent(nullptr);
        other.setParent(nullptr);
        SetTodayFunction({});
    }
};

TEST_F(DateBoxTest, AnEmptyBoxIsNoDateAndATypedDateIsWrittenInTheShortFormat) {
    struct Case { const char* typed; const char* shown; TDateTime date; };
    const Case cases[] = {
        {"", "", 0}, {"   ", "   ", 0}, {"05/03/2026", "05/03/2026", EncodeDate(2026, 3, 5)},
        {"5/3/26", "05/03/2026", EncodeDate(2026, 3, 5)}, {"29/02/2024", "29/02/2024", EncodeDate(2024, 2, 29)},
    };
    for (const auto& c : cases) {
        box.edit()->setText(c.typed);
        box.edit()->setFocus();
        other.setFocus();
        EXPECT_EQ(box.edit()->text().toStdString(), c.shown) << c.typed;
        EXPECT_EQ(box.date(), c.date) << c.typed;
    }
    for (const char* wrong : {"31/02/2026", "12/2026", "hoje"}) {
        box.edit()->setText(wrong);
        box.edit()->setFocus();
        other.setFocus();
        EXPECT_EQ(box.edit()->text(), wrong) << "left for the user to see";
        EXPECT_THROW(box.date(), ConversionError) << wrong;
    }
    box.setDate(EncodeDateTime({2026, 3, 5, 14, 30}));
    EXPECT_EQ(box.edit()->text(), "05/03/2026");
    box.setDate(0);
    EXPECT_TRUE(box.isEmpty());
}

TEST_F(DateBoxTest, TheButtonOpensACalendarOnTheBoxsDateAndADayClickedFillsTheBox) {
    QTest::mouseClick(box.button(), Qt::LeftButton);
    ASSERT_TRUE(box.calendar());
    EXPECT_TRUE(box.calendar()->isVisible());
    EXPECT_EQ(box.calendar()->selectedDate(), QDate(2026, 3, 20)); // empty box: today
    emit box.calendar()->clicked(QDate(2026, 4, 7));
    EXPECT_FALSE(box.calendar()->isVisible());
    EXPECT_EQ(box.date(), EncodeDate(2026, 4, 7));
    QTest::mouseClick(box.button(), Qt::LeftButton);
    EXPECT_EQ(box.calendar()->selectedDate(), QDate(2026, 4, 7));
    box.calendar()->hide();
}

} // namespace
