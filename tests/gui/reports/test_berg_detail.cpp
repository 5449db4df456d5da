#include "gui/reports/URep_Berg_Detail.h"

#include "gui/common/GridModel.h"
#include "gui/common/Prompter.h"
#include "gui/common/Session.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

using namespace velmora;
using velmora::test::TestDatabase;

namespace {

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

void saveCalculation(const TestDatabase& t, const char* sap, const char* firstName, double net, double fact, double kv)
{
    t.exec(QStringLiteral("INSERT INTO EP_mRec_Money_Chodchoy (SapID, Emp_Surname, Emp_F_Name, Emp_L_Name, "
                          "Date_Beg_Cal, Date_End_Cal, Date_Entry, Total_Day, No_Year, No_Month, No_Day, N_T, "
                          "Last_Salary, His_Rec_Money, Net_Money_Recieve, Fact_Month_Weigth, Kv_Month_Weight, "
                          "Depart_Code, Depart_Name, Event_Out, Rec_Status) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        {QLatin1String(sap), U("นาย"), U(firstName), U("ทดสอบ"), QStringLiteral("17/10/2550"),
            QStringLiteral("30/09/2555"), QStringLiteral("18/09/2555"), 1811, 4, 11, 15, 1, net, 0.0, net, fact, kv,
            QStringLiteral("05"), U("คณะวิทยาศาสตร์"), U("ครบกำหนดระยะเวลาการจ้างตามสัญญา"), QStringLiteral("FC")});
}

struct Screen
{
    TestDatabase t;
    app::ScriptedPrompter prompter;
    app::Session session;
    std::unique_ptr<print::TfrmRep_Berg_Detail> form;
    QList<QList<print::PageLayout>> previews;

    Screen()
    {
        session.db = &t.db();
        session.prompter = &prompter;
        session.Server_Date_Text = QStringLiteral("18/03/2017");
        session.Server_Date_Text_BE = QStringLiteral("18/03/2560");
    }
    void open()
    {
        form = std::make_unique<print::TfrmRep_Berg_Detail>(session);
        form->showPreview = [this](const QList<print::PageLayout>& pages) { previews << pages; };
    }
    template <typename T>
    T* get(const char* name)
    {
        T* w = form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QTableView* view() { return get<QTableView>("StringGrid1"); }
    // the list as the officer sees it
    const reports::GridModel* grid() { return qobject_cast<const reports::GridModel*>(view()->model()); }
    QString cell(int row, int column) { return grid()->index(row, column).data().toString(); }
    void setCurrent(int row, int column) { view()->setCurrentIndex(grid()->index(row, column)); }
};

} // namespace

TEST(TfrmRep_Berg_Detail, OpensWithAllChosenAndTheServerMonth)
{
    Screen s;
    s.open();
    EXPECT_TRUE(s.get<QRadioButton>("RadioButton3")->isChecked());
    EXPECT_EQ(s.get<QLineEdit>("edtYear_sel")->text(), QStringLiteral("2017"));
    EXPECT_EQ(s.get<QLineEdit>("edtYear_Mon_Select")->text(), QStringLiteral("03/2017"));
    EXPECT_EQ(s.get<QLineEdit>("edtFind_F_Name")->text(), QString());
    EXPECT_FALSE(s.get<QPushButton>("btnClear_Rep")->isVisible());
    EXPECT_EQ(s.grid()->columnCount(), 9);
}

TEST(TfrmRep_Berg_Detail, SearchListsAllOrByPartOfTheFirstName)
{
    Screen s;
    saveCalculation(s.t, "10000001", "สมศรี", 0.40, 1, 0);
    saveCalculation(s.t, "10000002", "มานะ", 25000, 1, 1);
    s.open();
    s.get<QLineEdit>("edtFind_F_Name")->setText(U("ศรี"));
    s.get<QPushButton>("btnShow_Data")->click(); // not ticked: the text takes no part
    EXPECT_EQ(s.grid()->rowCount(), 2);

    s.get<QCheckBox>("CheckBox1")->setChecked(true);
    s.get<QPushButton>("btnShow_Data")->click();
    ASSERT_EQ(s.grid()->rowCount(), 1);
    EXPECT_EQ(s.cell(0, 0), QStringLiteral("1"));
    EXPECT_EQ(s.cell(0, 1), QStringLiteral("10000001"));
    EXPECT_EQ(s.cell(0, 3), QStringLiteral("'17/10/2550"));
    EXPECT_EQ(s.cell(0, 8), QStringLiteral("0.40"));
    EXPECT_EQ(s.grid()->headerData(8, Qt::Horizontal).toString(), U("จำนนวนเงินที่ได้รับ"));

    s.get<QLineEdit>("edtFind_F_Name")->setText(U("ไม่มีชื่อนี้"));
    s.get<QPushButton>("btnShow_Data")->click();
    EXPECT_EQ(s.grid()->rowCount(), 1);
    EXPECT_EQ(s.cell(0, 1), QString()); // one blank row
    EXPECT_EQ(s.prompter.messages.value(0), U("ไม่พบข้อมูลที่ต้องการ"));
}

// The annex of the current line, from the same saved row as its page.
TEST(TfrmRep_Berg_Detail, AnnexOfTheCurrentLine)
{
    Screen s;
    saveCalculation(s.t, "10000002", "มานะ", 10000, 30, 10);
    s.open();
    s.get<QPushButton>("btnShow_Data")->click();
    s.setCurrent(0, 1);
    s.get<QPushButton>("btnPrint_Annex")->click();
    ASSERT_EQ(s.previews.size(), 1);
    QStringList texts;
    for (const print::PageLayout& page : s.previews[0])
        for (const print::Item& item : page.items)
            texts << item.text;
    EXPECT_TRUE(texts.contains(QStringLiteral("7,500.00")));
    EXPECT_TRUE(texts.contains(QStringLiteral("2,500.00")));
    EXPECT_TRUE(texts.contains(U("จำนวนเงินที่ได้รับสุทธิ 10,000.00 บาท (หนึ่งหมื่นบาทถ้วน)")));
    // a list without saved calculations: nothing to print
    s.t.exec(QStringLiteral("DELETE FROM EP_mRec_Money_Chodchoy"));
    s.get<QPushButton>("btnPrint_Annex")->click();
    EXPECT_EQ(s.previews.size(), 1);
    EXPECT_EQ(s.prompter.messages.value(0), U("ไม่มีรายการที่บันทึกการคำนวณไว้สำหรับพิมพ์เอกสารแนบ"));
}

TEST(TfrmRep_Berg_Detail, PrintShowsThePageOfTheCurrentLine)
{
    Screen s;
    saveCalculation(s.t, "10000001", "สมศรี", 0.40, 1, 0);
    saveCalculation(s.t, "10000002", "มานะ", 10000, 30, 10);
    s.open();
    s.get<QPushButton>("btnShow_Data")->click();
    ASSERT_EQ(s.grid()->rowCount(), 2);
    int row = s.cell(0, 1) == QLatin1String("10000002") ? 0 : 1;
    s.setCurrent(row, 2);
    s.get<QPushButton>("btnPrint_Detail")->click();
    ASSERT_EQ(s.previews.size(), 1);
    const print::PageLayout& page = s.previews[0][0];
    EXPECT_EQ(page.find(QStringLiteral("SapID"))->text, QStringLiteral("10000002"));
    EXPECT_EQ(page.find(QStringLiteral("Fact_Share"))->text, QStringLiteral("7,500.00"));
    EXPECT_EQ(page.find(QStringLiteral("Kv_Share"))->text, QStringLiteral("2,500.00"));
    EXPECT_EQ(page.find(QStringLiteral("Total_Share"))->text, QStringLiteral("10,000.00"));

    s.setCurrent(1 - row, 0);
    s.get<QPushButton>("btnPrint_Detail")->click();
    ASSERT_EQ(s.previews.size(), 2);
    EXPECT_EQ(s.previews[1][0].find(QStringLiteral("Net_Money_Recieve"))->text, QStringLiteral(".40"));
}
