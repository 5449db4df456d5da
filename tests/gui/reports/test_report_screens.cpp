#include "ExportReader.h"
#include "ReportData.h"

#include "gui/common/Prompter.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/reports/URep_Emp_Promise.h"
#include "gui/reports/URep_Forecast_Chod_Choy.h"
#include "gui/reports/URep_Recieve_Money_Chod.h"
#include "support/Wait.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace velmora::reports;
using namespace velmora::test;

namespace {

const QString uni = QStringLiteral("พนักงานมหาวิทยาลัย");
const QString dep = QStringLiteral("พนักงานส่วนงาน");
const QString sci = QStringLiteral("คณะวิทยาศาสตร์");

class ReportScreens : public ::testing::Test
{
protected:
    ReportScreens()
    {
        session.db = &t.db();
        session.prompter = &prompter;
        session.Server_Date_Text = QStringLiteral("09/12/2026");
        session.Server_Date_Text_BE = QStringLiteral("09/12/2569");
        session.localNow = [] { return QDateTime(QDate(2026, 12, 9), QTime(10, 0)); };
        exportHooks().folder = folder.path();
        exportHooks().open = [this](const QString& path) { opened << path; };
        addType(t, "2", uni);
        addType(t, "3", dep);
        addDepart(t, "11", sci);
    }
    ~ReportScreens() override { exportHooks() = {}; }

    template <typename T>
    T* child(QWidget* screen, const char* name)
    {
        T* found = screen->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    static bool inLayout(QLayout* layout, QWidget* w)
    {
        if (!layout)
            return false;
        if (layout->indexOf(w) >= 0)
            return true;
        for (int i = 0; i < layout->count(); ++i)
            if (inLayout(layout->itemAt(i)->layout(), w))
                return true;
        return false;
    }

    static QString cell(QWidget* screen, int row, int column)
    {
        auto* grid = screen->findChild<QTableView*>(QStringLiteral("StringGrid1"));
        return grid->model()->index(row, column).data().toString();
    }

    TestDatabase t;
    app::ScriptedPrompter prompter;
    app::Session session;
    QTemporaryDir folder;
    QStringList opened;
};

TEST_F(ReportScreens, ContractEndStartsWithEverythingAndTheCurrentMonth)
{
    TfrmRep_Emp_Promise screen(session);
    EXPECT_TRUE(child<QRadioButton>(&screen, "RadioButton1")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(&screen, "RadioButton3")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(&screen, "RadioButton6")->isChecked());
    EXPECT_EQ(child<QLineEdit>(&screen, "edtYear_sel")->text(), QStringLiteral("2026"));
    EXPECT_EQ(child<QLineEdit>(&screen, "edtYear_Mon_Select")->text(), QStringLiteral("12/2026"));
    EXPECT_EQ(child<QComboBox>(&screen, "cmbWork_Type")->currentText(), uni);
    EXPECT_EQ(child<QComboBox>(&screen, "cmbWork_Type")->count(), 2);
    EXPECT_EQ(child<QComboBox>(&screen, "cmbDapart_Name")->currentText(), sci);
    EXPECT_EQ(child<QPushButton>(&screen, "Button1")->text(), QStringLiteral("Export Ms Excel"));
}

TEST_F(ReportScreens, EmptySearchShowsTheMessageAndOneBlankRow)
{
    TfrmRep_Emp_Promise screen(session);
    QTest::mouseClick(child<QPushButton>(&screen, "btnShow_Data"), Qt::LeftButton);
    EXPECT_EQ(prompter.messages, QStringList({QStringLiteral("ไม่พบข้อมูลที่ต้องการ")}));
    EXPECT_EQ(screen.model()->rowCount(), 1);
    EXPECT_EQ(screen.model()->columnCount(), 9);
    EXPECT_EQ(screen.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("SAP ID "));
}

TEST_F(ReportScreens, BadMonthIsRefusedWithAMessage)
{
    addEmployee(t, {"00000101", "ก", "01/01/1980", QDate(2010, 6, 1), QDate(2015, 6, 30), "2", "11"});
    TfrmRep_Emp_Promise screen(session);
    QTest::mouseClick(child<QPushButton>(&screen, "btnShow_Data"), Qt::LeftButton);
    ASSERT_EQ(screen.model()->rowCount(), 1);
    child<QRadioButton>(&screen, "RadioButton5")->setChecked(true);
    auto* month = child<QLineEdit>(&screen, "edtYear_Mon_Select");
    month->setText(QStringLiteral("13/2015"));
    prompter.clear();
    QTest::mouseClick(child<QPushButton>(&screen, "btnShow_Data"), Qt::LeftButton);
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages.at(0).startsWith(QStringLiteral("เดือนปีไม่ถูกต้อง")));
    // the rows of the good search are gone: they cannot be exported beside the refusal
    ASSERT_EQ(screen.model()->rowCount(), 1);
    EXPECT_EQ(cell(&screen, 0, 1), QString());
    month->setText(QStringLiteral("06/2015"));
    prompter.clear();
    QTest::mouseClick(child<QPushButton>(&screen, "btnShow_Data"), Qt::LeftButton);
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(cell(&screen, 0, 1), QStringLiteral("'00000101"));
}

TEST_F(ReportScreens, ExportBeforeAnySearchWritesTheEmptyGridAndOpensIt)
{
    TfrmRep_Emp_Promise screen(session);
    QTest::mouseClick(child<QPushButton>(&screen, "Button1"), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1) << prompter.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(opened.at(0).startsWith(folder.path()));
    QString error;
    const QJsonObject book = readWorkbook(opened.at(0), 8, 8, &error);
    ASSERT_FALSE(book.isEmpty()) << error.toStdString();
    EXPECT_EQ(book.value("max_row").toInt(), 8);
    EXPECT_EQ(cellAt(book, 8, 7).value("b").toString(), QStringLiteral("LRB"));
    // A second export makes a second file.
    QTest::mouseClick(child<QPushButton>(&screen, "Button1"), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_NE(opened.at(0), opened.at(1));
}

TEST_F(ReportScreens, ReceivedStartsWithAnyPeriodAndAllDepartments)
{
    addSaved(t, {"00000201", "06/2015", sci, 15000, 10, 0, 1.0});
    TfrmRep_Recieve_Money_Chod screen(session);
    EXPECT_TRUE(child<QRadioButton>(&screen, "RadioButton3")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(&screen, "RadioButton6")->isChecked());
    EXPECT_EQ(child<QLineEdit>(&screen, "edtMMYYYY_sel")->text(), QStringLiteral("12/2026"));
    QTest::mouseClick(child<QPushButton>(&screen, "btnShow_Data"), Qt::LeftButton);
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(cell(&screen, 0, 12), QStringLiteral("150,000.00"));
    QTest::mouseClick(child<QPushButton>(&screen, "Button1"), Qt::LeftButton);
    ASSERT_EQ(opened.size(), 1);
    QString error;
    const QJsonObject book = readWorkbook(opened.at(0), 5, 15, &error);
    ASSERT_FALSE(book.isEmpty()) << error.toStdString();
    EXPECT_EQ(cellAt(book, 5, 2).value("v").toString(), QStringLiteral("00000201"));
    EXPECT_EQ(cellAt(book, 5, 13).value("v").toDouble(), 150000);
    EXPECT_EQ(cellAt(book, 4, 15).value("fill").toString(), QStringLiteral("9BCDE6"));
}

TEST_F(ReportScreens, ForecastListsOnlyTheFirstTypeByDefault)
{
    addEmployee(t, {"00000301", "ก", "15/03/1960", QDate(2005, 6, 1), QDate(2020, 1, 1), "2", "11", 10000});
    addEmployee(t, {"00000302", "ข", "15/03/1970", QDate(2005, 6, 1), QDate(2020, 1, 1), "3", "11", 10000});
    TfrmRep_Forecast_Chod_Choy screen(session);
    EXPECT_TRUE(child<QRadioButton>(&screen, "RadioButton2")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(&screen, "RadioButton6")->isChecked());
    EXPECT_EQ(child<QLineEdit>(&screen, "edtYear_Cal")->text(), QStringLiteral("2557"));
    child<QLineEdit>(&screen, "edtYear_Cal")->setText(QStringLiteral("2561"));
    QTest::mouseClick(child<QPushButton>(&screen, "btnShow_Data"), Qt::LeftButton);
    ASSERT_EQ(screen.model()->rowCount(), 1);
    EXPECT_EQ(cell(&screen, 0, 1), QStringLiteral("'00000301"));
    EXPECT_EQ(cell(&screen, 0, 12), QStringLiteral("110,250.00"));
    EXPECT_EQ(screen.model()->columnCount(), 19);

    child<QRadioButton>(&screen, "RadioButton1")->setChecked(true);
    QTest::mouseClick(child<QPushButton>(&screen, "btnShow_Data"), Qt::LeftButton);
    EXPECT_EQ(screen.model()->rowCount(), 2);

    child<QLineEdit>(&screen, "edtYear_Cal")->setText(QStringLiteral("abc"));
    QTest::mouseClick(child<QPushButton>(&screen, "btnShow_Data"), Qt::LeftButton);
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages.at(0).startsWith(QStringLiteral("ปีที่คำนวณไม่ถูกต้อง")));
    // the last list is emptied: no rows stay beside the refusal
    EXPECT_EQ(screen.model()->rowCount(), 1);
    EXPECT_EQ(cell(&screen, 0, 1), QString());
}

TEST_F(ReportScreens, EveryYearBoxNamesItsEraAndAWrongEraIsRefused)
{
    TfrmRep_Emp_Promise contractEnd(session);
    TfrmRep_Recieve_Money_Chod received(session);
    TfrmRep_Forecast_Chod_Choy forecast(session);
    struct Box
    {
        QWidget* screen;
        const char* name;
        const char* era;
    };
    for (const Box& b : {Box {&contractEnd, "edtYear_selEra", "ค.ศ."},
             Box {&contractEnd, "edtYear_Mon_SelectEra", "ค.ศ."}, Box {&received, "edtYear_selEra", "ค.ศ."},
             Box {&received, "edtMMYYYY_selEra", "ค.ศ."}, Box {&forecast, "edtYear_CalEra", "พ.ศ."}}) {
        auto* note = b.screen->findChild<QLabel*>(QLatin1String(b.name));
        ASSERT_NE(note, nullptr) << b.name;
        EXPECT_EQ(note->text(), QString::fromUtf8(b.era)) << b.name;
        EXPECT_TRUE(inLayout(note->parentWidget()->layout(), note)) << b.name; // placed, not floating
    }

    child<QRadioButton>(&received, "RadioButton4")->setChecked(true);
    child<QLineEdit>(&received, "edtYear_sel")->setText(QStringLiteral("2569"));
    QTest::mouseClick(child<QPushButton>(&received, "btnShow_Data"), Qt::LeftButton);
    child<QLineEdit>(&forecast, "edtYear_Cal")->setText(QStringLiteral("2026"));
    QTest::mouseClick(child<QPushButton>(&forecast, "btnShow_Data"), Qt::LeftButton);
    ASSERT_EQ(prompter.messages.size(), 2);
    EXPECT_TRUE(prompter.messages.at(0).contains(QStringLiteral("ช่องนี้ใช้ปีคริสต์ศักราช (ค.ศ.)")));
    EXPECT_TRUE(prompter.messages.at(1).contains(QStringLiteral("ต้องเป็นปีพุทธศักราช (พ.ศ.)")));
}

TEST_F(ReportScreens, EnterPressesTheFocusedButton)
{
    // before, Enter on a focused button did nothing outside the login screens
    app::KeyboardPolicy::install();
    TfrmRep_Emp_Promise screen(session);
    screen.show();
    QApplication::setActiveWindow(&screen);
    auto* show = child<QPushButton>(&screen, "btnShow_Data");
    show->setFocus();
    ASSERT_TRUE(show->hasFocus());
    QTest::keyClick(show, Qt::Key_Return);
    EXPECT_EQ(prompter.messages, QStringList({QStringLiteral("ไม่พบข้อมูลที่ต้องการ")}));
}

TEST_F(ReportScreens, ExitClosesTheScreen)
{
    auto* screen = new TfrmRep_Forecast_Chod_Choy(session);
    screen->setAttribute(Qt::WA_DeleteOnClose);
    screen->show();
    QPointer<QWidget> guard(screen);
    QTest::mouseClick(child<QPushButton>(screen, "btnExit_Form"), Qt::LeftButton);
    VELMORA_WAIT_UNTIL(guard.isNull());
}

} // namespace
