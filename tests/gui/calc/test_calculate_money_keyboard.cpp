// The calculation from the keyboard alone: Tab leaves the employee list
// without moving its current row, Enter presses the focused button, and the
// tab order reaches every button the calculation needs.

#include "CalcScreenTest.h"

#include "gui/common/ScreenSupport.h"

#include <QApplication>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace velmora::test {
namespace {

class KeyboardTest : public CalcScreenTest
{
protected:
    KeyboardTest()
    {
        app::KeyboardPolicy::install();
        QApplication::setActiveWindow(screen.get());
    }

    static void press(Qt::Key key)
    {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_NE(focused, nullptr);
        QTest::keyClick(focused, key);
    }

    // Tabs until the button has the focus; false when 40 Tabs never reach it.
    bool tabTo(const char* buttonName)
    {
        auto* target = child<QPushButton>(buttonName);
        for (int i = 0; i < 40 && target; ++i) {
            if (QApplication::focusWidget() == target)
                return true;
            press(Qt::Key_Tab);
        }
        return QApplication::focusWidget() == target;
    }
};

TEST_F(KeyboardTest, SixtyTabsLeaveTheEmployeeListAndKeepItsCurrentRow)
{
    click("btnShow_Data");
    QTableView* list = view("StringGrid1");
    ASSERT_GT(rows("StringGrid1"), 1);
    ASSERT_TRUE(selectEmployee(cell("StringGrid1", 1, 1)));
    list->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), list);
    // before, each Tab moved one cell and 60 of them reached another employee
    for (int i = 0; i < 60; ++i)
        press(Qt::Key_Tab);
    EXPECT_EQ(currentRow("StringGrid1"), 1);
    list->setFocus();
    press(Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), list);
    EXPECT_EQ(currentRow("StringGrid1"), 1);
}

TEST_F(KeyboardTest, TheWholeCalculationFromTheKeyboard)
{
    // the search button pressed with Enter
    auto* search = child<QPushButton>("btnShow_Data");
    search->setFocus();
    press(Qt::Key_Return);
    ASSERT_TRUE(selectEmployee(QStringLiteral("10000001")));
    view("StringGrid1")->setFocus();
    ASSERT_TRUE(tabTo("btnCal_Money"));
    press(Qt::Key_Return);
    ASSERT_EQ(currentPage(), 1) << prompter.messages.join(" | ").toStdString();
    for (int page = 1; page <= 5; ++page) {
        const QByteArray next = "btnNext" + QByteArray::number(page);
        ASSERT_TRUE(tabTo(next.constData())) << next.constData();
        press(Qt::Key_Return);
        ASSERT_EQ(currentPage(), page + 1) << next.constData() << ": " << prompter.messages.join(" | ").toStdString();
    }
    ASSERT_TRUE(tabTo("btnSave_All"));
    press(Qt::Key_Return);
    EXPECT_EQ(prompter.messages.value(prompter.messages.size() - 1), QStringLiteral("ทำการบันทึกข้อมูลเรียบร้อยแล้ว"))
        << prompter.messages.join(" | ").toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT Net_Money_Recieve FROM EP_mRec_Money_Chodchoy WHERE SapID = '10000001'"))
                  .toDouble(),
        120000.0);
}

} // namespace
} // namespace velmora::test
