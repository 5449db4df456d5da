// The cancelling screen: defaults, the list of saved calculations, the
// cancel with and without the work-history periods, and its refusals.

#include "db/DemoData.h"
#include "gui/calc/URelease_Cal_Money_ChodChoy.h"
#include "gui/common/GridModel.h"
#include "gui/common/Prompter.h"
#include "gui/common/Session.h"
#include "services/CalculationService.h"
#include "gui/common/Widgets.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include <memory>

namespace velmora::test {
namespace {

const QString kConfirm = QStringLiteral("ยืนยันการลบข้อมูล ");
const QString kDone = QStringLiteral("ทำการลบข้อมูลให้เรียบร้อยแล้ว");
const QString kNothing = QStringLiteral("ไม่มีรายการที่ต้องการยกเลิก");

// The demo data of 9 December 2026: 20000001 saved (status "P"); here also
// 20000002 saved, whose earlier-record row names 20000001.
class ReleaseScreen : public ::testing::Test
{
public:
    ReleaseScreen()
    {
        QString error;
        EXPECT_TRUE(db::addDemoData(tdb.db(), QDate(2026, 12, 9), &error)) << error.toStdString();
        save("20000002");
        session.db = &tdb.db();
        session.Server_Date_Text = QStringLiteral("09/12/2026");
        session.Server_Date_Text_BE = QStringLiteral("09/12/2569");
        session.prompter = &prompter;
        screen = std::make_unique<calc::TfrmRelease_Cal_Money_ChodChoy>(session);
        screen->resize(1200, 800);
        screen->show();
    }

    void save(const char* sapid)
    {
        calc::Calculation_Input in;
        std::string error;
        ASSERT_TRUE(calc::Load_Calculation_Input(tdb.db(), sapid, "12/2026", std::nullopt, std::nullopt, &in, &error))
            << error;
        const calc::Calculation c = calc::Run_Calculation(in);
        ASSERT_TRUE(c.ok()) << c.error;
        ASSERT_TRUE(calc::Save_Calculation(tdb.db(), in, c, "09/12/2569", &error)) << error;
    }

    template <typename T>
    T* child(const char* name)
    {
        T* found = screen->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(const char* name) { QTest::mouseClick(child<QPushButton>(name), Qt::LeftButton); }
    QTableView* view() { return child<QTableView>("StringGrid1"); }
    // the list as the officer sees it
    const reports::GridModel* grid() { return qobject_cast<const reports::GridModel*>(view()->model()); }
    QString cell(int row, int column) { return grid()->index(row, column).data().toString(); }
    QStringList listed()
    {
        QStringList ids;
        for (int r = 0; r < grid()->rowCount(); ++r)
            if (!cell(r, 1).isEmpty())
                ids << cell(r, 1);
        ids.sort();
        return ids;
    }
    bool select(const QString& sapid)
    {
        for (int r = 0; r < grid()->rowCount(); ++r)
            if (cell(r, 1) == sapid) {
                view()->setCurrentIndex(grid()->index(r, 2));
                return true;
            }
        return false;
    }
    int count(const char* table, const char* column, const QString& value)
    {
        return tdb
            .scalar(
                QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = ?").arg(QLatin1String(table), QLatin1String(column)),
                {value})
            .toInt();
    }
    QString status(const QString& sapid)
    {
        return tdb.scalar(QStringLiteral("SELECT Emp_RecMChod_Status FROM EP_Emp_Main WHERE SapID = ?"), {sapid})
            .toString();
    }

    TestDatabase tdb;
    app::ScriptedPrompter prompter;
    app::Session session;
    std::unique_ptr<calc::TfrmRelease_Cal_Money_ChodChoy> screen;
};

TEST_F(ReleaseScreen, OpensWithItsCaptionsAndDefaults)
{
    EXPECT_EQ(screen->windowTitle(), QStringLiteral("frmRelease_Cal_Money_ChodChoy"));
    EXPECT_EQ(child<QLabel>("Label5")->text(), QStringLiteral("การยกเลิกการคำนวณเงินชดเชย"));
    EXPECT_EQ(child<QGroupBox>("GroupBox1")->title(), QStringLiteral("1. ค้นหาจ้อมูลโดย"));
    EXPECT_EQ(child<QGroupBox>("GroupBox5")->title(), QStringLiteral("รับเงินชดเชย"));
    EXPECT_EQ(child<QGroupBox>("GroupBox2")->title(), QStringLiteral("2. เลือกรายการทั่ต้องการ"));
    EXPECT_EQ(child<QPushButton>("btnCancel_Berg")->text(), QStringLiteral("3. ยกเลิกการเบิก"));
    EXPECT_EQ(child<QCheckBox>("CheckBox3")->text(), QStringLiteral("ลบประวัติการเปลี่ยนแปลงสถานภาพที่ต้องคำนวณ"));
    EXPECT_FALSE(child<QCheckBox>("CheckBox3")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("CheckBox2")->isEnabled());
    EXPECT_TRUE(child<QRadioButton>("RadioButton3")->isChecked());
    EXPECT_EQ(child<QLineEdit>("edtYear_sel")->text(), QStringLiteral("2026"));
    EXPECT_EQ(child<QLineEdit>("edtYear_Mon_Select")->text(), QStringLiteral("12/2026"));
    EXPECT_EQ(child<QLineEdit>("edtFind_F_Name")->text(), QString());
    EXPECT_EQ(grid()->columnCount(), 9);
    EXPECT_EQ(grid()->rowCount(), 1);
    EXPECT_EQ(grid()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("SAP ID "));
    EXPECT_EQ(view()->columnWidth(2), app::layoutWidth(140, view()->font()));
    EXPECT_EQ(view()->selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST_F(ReleaseScreen, ListsTheSavedCalculationsByPartOfTheFirstName)
{
    tdb.exec(QStringLiteral("UPDATE EP_mRec_Money_Chodchoy SET Emp_F_Name = ? WHERE SapID = ?"),
        {QStringLiteral("ชัยวิชัย"), QStringLiteral("20000002")});
    click("btnShow_Data");
    EXPECT_EQ(listed(), (QStringList {"20000001", "20000002"}));

    child<QCheckBox>("CheckBox1")->setChecked(true);
    child<QLineEdit>("edtFind_F_Name")->setText(QStringLiteral("วิชั")); // inside the name, not at its start
    click("btnShow_Data");
    EXPECT_EQ(listed(), (QStringList {"20000001", "20000002"}));
    child<QLineEdit>("edtFind_F_Name")->setText(QStringLiteral("ชัยวิ"));
    click("btnShow_Data");
    ASSERT_EQ(listed(), (QStringList {"20000002"}));
    EXPECT_EQ(cell(0, 0), QStringLiteral("1"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("นายชัยวิชัย ทองดี"));
    EXPECT_TRUE(cell(0, 3).startsWith(QLatin1Char('\'')));
    EXPECT_TRUE(prompter.shown.isEmpty());
}

struct CancelCase
{
    const char* name;
    bool withHistory;
    int periodsLeft;
};

class ReleaseCancel : public ReleaseScreen, public ::testing::WithParamInterface<CancelCase>
{
};

TEST_P(ReleaseCancel, RemovesTheChosenCalculation)
{
    const QString sap = QStringLiteral("20000002");
    click("btnShow_Data");
    ASSERT_TRUE(select(sap));
    child<QCheckBox>("CheckBox3")->setChecked(GetParam().withHistory);
    click("btnCancel_Berg");

    // the question names the employee: before, it named nobody
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_TRUE(prompter.questions.at(0).startsWith(kConfirm + QStringLiteral("\rSAP ID ") + sap + QLatin1Char(' ')))
        << prompter.questions.at(0).toStdString();
    EXPECT_TRUE(prompter.questions.at(0).endsWith(QStringLiteral(" ทองดี"))) << prompter.questions.at(0).toStdString();
    EXPECT_EQ(prompter.messages, QStringList {kDone});
    EXPECT_EQ(listed(), QStringList {"20000001"}); // listed again
    EXPECT_EQ(count("EP_mRec_Money_Chodchoy", "SapID", sap), 0);
    EXPECT_EQ(count("EP_mRec_Money_Detail", "SapID", sap), 0);
    EXPECT_EQ(count("EP_mRep_Rec_Money", "Main_SapID", sap), 0);
    EXPECT_EQ(count("EP_Work_Histry", "SapID", sap), GetParam().periodsLeft);
    EXPECT_EQ(status(sap), QStringLiteral("A"));
    // The other calculation is untouched.
    EXPECT_EQ(count("EP_mRec_Money_Chodchoy", "SapID", QStringLiteral("20000001")), 1);
    EXPECT_EQ(count("EP_Work_Histry", "SapID", QStringLiteral("20000001")), 1);
    EXPECT_EQ(status(QStringLiteral("20000001")), QStringLiteral("P"));
}

INSTANTIATE_TEST_SUITE_P(Release, ReleaseCancel,
    ::testing::Values(CancelCase {"PeriodsKept", false, 1}, CancelCase {"PeriodsRemoved", true, 0}),
    [](const ::testing::TestParamInfo<CancelCase>& info) { return std::string(info.param.name); });

TEST_F(ReleaseScreen, EarlierRecordRowsNamingTheCancelledIdStay)
{
    click("btnShow_Data");
    ASSERT_TRUE(select(QStringLiteral("20000001")));
    child<QCheckBox>("CheckBox3")->setChecked(true);
    click("btnCancel_Berg");
    EXPECT_EQ(prompter.messages, QStringList {kDone});
    EXPECT_EQ(count("EP_mRec_Money_Chodchoy", "SapID", QStringLiteral("20000001")), 0);
    EXPECT_EQ(status(QStringLiteral("20000001")), QStringLiteral("A"));
    // 20000002's calculation counted the payment to 20000001: its row stays.
    EXPECT_EQ(count("EP_mRep_Rec_Money", "SapID", QStringLiteral("20000001")), 1);
    EXPECT_EQ(count("EP_mRep_Rec_Money", "Main_SapID", QStringLiteral("20000002")), 1);
}

TEST_F(ReleaseScreen, AnsweringCancelDeletesNothing)
{
    click("btnShow_Data");
    ASSERT_TRUE(select(QStringLiteral("20000002")));
    prompter.confirmAnswers = {false};
    click("btnCancel_Berg");
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_TRUE(prompter.questions.at(0).startsWith(kConfirm)) << prompter.questions.at(0).toStdString();
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(count("EP_mRec_Money_Chodchoy", "SapID", QStringLiteral("20000002")), 1);
    EXPECT_EQ(status(QStringLiteral("20000002")), QStringLiteral("P"));
}

TEST_F(ReleaseScreen, EmptyListSaysThereIsNothingToCancel)
{
    // Never listed: the grid holds its one empty row.
    click("btnCancel_Berg");
    EXPECT_TRUE(prompter.questions.isEmpty());
    EXPECT_EQ(prompter.messages, QStringList {kNothing});

    child<QCheckBox>("CheckBox1")->setChecked(true);
    child<QLineEdit>("edtFind_F_Name")->setText(QStringLiteral("ไม่มีชื่อนี้"));
    click("btnShow_Data");
    click("btnCancel_Berg");
    EXPECT_EQ(prompter.messages, (QStringList {kNothing, kNothing}));
    EXPECT_EQ(tdb.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_mRec_Money_Chodchoy")).toInt(), 2);
}

TEST_F(ReleaseScreen, ALineCancelledElsewhereIsRefused)
{
    click("btnShow_Data");
    ASSERT_TRUE(select(QStringLiteral("20000002")));
    // Another officer cancels it meanwhile.
    tdb.exec(QStringLiteral("DELETE FROM EP_mRec_Money_Chodchoy WHERE SapID = ?"), {QStringLiteral("20000002")});
    click("btnCancel_Berg");
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].contains(kNothing)) << prompter.messages[0].toStdString();
    EXPECT_EQ(count("EP_mRec_Money_Detail", "SapID", QStringLiteral("20000002")), 1);
    EXPECT_EQ(status(QStringLiteral("20000002")), QStringLiteral("P"));
}

} // namespace
} // namespace velmora::test
