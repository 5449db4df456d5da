#include "gui/run/URun_Month_End.h"

#include "CalcTestData.h"
#include "gui/common/GridModel.h"
#include "gui/common/Prompter.h"
#include "gui/common/ReportScreen.h"
#include "gui/common/Session.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>

using namespace velmora;
using velmora::test::Test_Employee;
using velmora::test::TestDatabase;

namespace {

// Contracts ending 30/09/2012: the worked example (ready), one already saved,
// one without work history.
void Add_Three(TestDatabase& t)
{
    test::Add_Worked_Example(t);
    Test_Employee saved;
    saved.sapid = QStringLiteral("10000002");
    saved.ssn = QStringLiteral("3100100000022");
    saved.firstName = QStringLiteral("สุดา");
    saved.status = QStringLiteral("P");
    test::Add_Employee(t, saved);
    Test_Employee bare;
    bare.sapid = QStringLiteral("10000003");
    bare.ssn = QStringLiteral("3100100000033");
    bare.firstName = QStringLiteral("มาลี");
    test::Add_Employee(t, bare);
}

struct Screen
{
    TestDatabase t;
    app::ScriptedPrompter prompter;
    app::Session session;
    std::unique_ptr<run::TfrmRun_Month_End> form;
    QList<QList<print::PageLayout>> previews;
    QTemporaryDir exports;

    Screen()
    {
        Add_Three(t);
        session.db = &t.db();
        session.prompter = &prompter;
        session.Server_Date_Text = QStringLiteral("15/10/2012");
        session.Server_Date_Text_BE = QStringLiteral("15/10/2555");
        reports::exportHooks().folder = exports.path();
        reports::exportHooks().open = [](const QString&) {};
        form = std::make_unique<run::TfrmRun_Month_End>(session);
        form->showPreview = [this](const QList<print::PageLayout>& pages) { previews << pages; };
    }
    ~Screen() { reports::exportHooks() = {}; }
    template <typename T>
    T* get(const char* name)
    {
        T* w = form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void click(const char* name) { get<QPushButton>(name)->click(); }
    // the lines as the officer sees them
    reports::GridModel* grid() { return qobject_cast<reports::GridModel*>(get<QTableView>("StringGrid1")->model()); }
    QString cell(int row, int column) { return grid()->index(row, column).data().toString(); }
    bool markable(int row) { return grid()->flags(grid()->index(row, 0)) & Qt::ItemIsUserCheckable; }
    int saved() { return t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_mRec_Money_Chodchoy")).toInt(); }
};

TEST(TfrmRun_Month_End, PreviewMarkSavePrintExport)
{
    Screen s;
    EXPECT_EQ(s.get<QLineEdit>("edtMMYYYY_Recieve1")->text(), QStringLiteral("10/2012"));
    EXPECT_TRUE(s.get<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_EQ(s.get<QComboBox>("cmbDepart")->count(), 3); // every department, then the two
    s.get<QLineEdit>("edtYear_Mon_Select")->setText(QStringLiteral("09/2012"));
    s.click("btnPreview");
    ASSERT_TRUE(s.prompter.messages.isEmpty()) << s.prompter.messages.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(s.grid()->rowCount(), 4); // three lines and the totals row
    const run::Run_Preview& p = s.form->preview();
    for (int r = 0; r < 3; ++r) {
        SCOPED_TRACE(r);
        const run::Run_Line& line = p.lines[size_t(r)];
        EXPECT_EQ(s.cell(r, 1).toStdString(), line.sapid);
        // the reason of a refusal, else the line's note (its SSN to check)
        EXPECT_EQ(s.cell(r, 14).toStdString(), line.reason.empty() ? run::Line_Note(line) : line.reason);
        // ready lines start marked; refused lines can never be marked
        EXPECT_EQ(s.markable(r), line.state == run::Line_State::Ready);
    }
    const int ready = int(std::find_if(p.lines.begin(), p.lines.end(), [](const run::Run_Line& l) {
        return l.state == run::Line_State::Ready;
    }) - p.lines.begin());
    ASSERT_LT(ready, 3);
    EXPECT_EQ(s.cell(ready, 10), QStringLiteral("120,000.00"));
    EXPECT_EQ(s.cell(3, 10), QStringLiteral("120,000.00")); // the totals row
    EXPECT_FALSE(s.markable(3));
    EXPECT_EQ(s.form->marks(), (std::vector<bool> {ready == 0, ready == 1, ready == 2}));
    // a refused line's box cannot be ticked into a mark
    const int refused = ready == 0 ? 1 : 0;
    s.grid()->setData(s.grid()->index(refused, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_FALSE(s.form->marks()[size_t(refused)]);
    EXPECT_TRUE(s.get<QLabel>("lblTotals")->text().contains(QStringLiteral("พร้อมบันทึก 1 รายการ")));
    EXPECT_EQ(s.saved(), 0); // the preview wrote nothing

    // nothing marked: nothing saved
    s.click("btnRelease_All");
    s.click("btnSave_Marked");
    EXPECT_EQ(s.prompter.messages.value(0), QStringLiteral("ไม่มีรายการที่เลือกไว้สำหรับบันทึก"));
    // cancelled at the confirmation: nothing saved
    s.click("btnSelect_all");
    s.prompter.confirmAnswers = {false};
    s.click("btnSave_Marked");
    EXPECT_EQ(s.saved(), 0);
    s.click("btnSave_Marked");
    EXPECT_EQ(s.prompter.messages.last(), QStringLiteral("บันทึกข้อมูลเรียบร้อยแล้ว 1 รายการ"));
    EXPECT_EQ(s.saved(), 1);
    EXPECT_EQ(s.cell(ready, 13), QStringLiteral("บันทึกแล้ว"));
    EXPECT_FALSE(s.markable(ready));

    s.click("btnPrint_Run");
    ASSERT_EQ(s.previews.size(), 1);
    ASSERT_GE(s.previews[0].size(), 2); // the request document, then its annex
    EXPECT_NE(s.previews[0][0].find(QStringLiteral("lblTitle")), nullptr);
    EXPECT_NE(s.previews[0][1].find(QStringLiteral("lblAnnexTitle")), nullptr);

    s.click("btnExpExcel");
    EXPECT_TRUE(QFileInfo::exists(s.form->lastExport()));
}

// The reason and the state lie past the right edge of a 1366-pixel screen:
// the chosen line reads whole below the grid (red when there is something to
// see to), and every cell in its tooltip.
TEST(TfrmRun_Month_End, TheChosenLineReadsWholeBelowTheGrid)
{
    Screen s;
    s.get<QLineEdit>("edtYear_Mon_Select")->setText(QStringLiteral("09/2012"));
    s.click("btnPreview");
    auto* view = s.get<QTableView>("StringGrid1");
    auto* detail = s.get<QLabel>("lblLine_Detail");
    EXPECT_EQ(detail->text(), QStringLiteral("เลือกรายการเพื่อดูสถานะและเหตุผลทั้งหมด"));
    const run::Run_Preview& p = s.form->preview();
    ASSERT_EQ(p.lines.size(), 3u);
    for (int r = 0; r < 3; ++r) {
        SCOPED_TRACE(r);
        const run::Run_Line& line = p.lines[size_t(r)];
        const std::string said = line.reason.empty() ? run::Line_Note(line) : line.reason;
        view->setCurrentIndex(s.grid()->index(r, 1));
        const QString text = detail->text();
        EXPECT_TRUE(text.startsWith(QStringLiteral("SAP ID ") + QString::fromStdString(line.sapid))) << text.toStdString();
        EXPECT_TRUE(text.contains(QString::fromStdString(run::State_Text(line.state)))) << text.toStdString();
        EXPECT_TRUE(text.endsWith(QString::fromStdString(said))) << text.toStdString();
        EXPECT_EQ(s.grid()->index(r, 14).data(Qt::ToolTipRole).toString().toStdString(), said);
    }
}

TEST(TfrmRun_Month_End, SapIdListAndBadInput)
{
    Screen s;
    s.get<QLineEdit>("edtMMYYYY_Recieve1")->setText(QStringLiteral("13/2012"));
    s.click("btnPreview");
    ASSERT_EQ(s.prompter.messages.size(), 1);
    EXPECT_TRUE(s.prompter.messages[0].startsWith(QStringLiteral("เดือนปีที่ขอรับเงินชดเชยไม่ถูกต้อง")));
    s.get<QLineEdit>("edtMMYYYY_Recieve1")->setText(QStringLiteral("10/2012"));

    s.get<QRadioButton>("RadioButton2")->setChecked(true);
    s.click("btnPreview");
    EXPECT_TRUE(s.prompter.messages.last().startsWith(QStringLiteral("กรุณาระบุ SAP ID")));
    s.get<QPlainTextEdit>("edtSapIDs")->setPlainText(QStringLiteral("99999999\n10000001, 10000002"));
    s.click("btnPreview");
    ASSERT_EQ(s.grid()->rowCount(), 4);
    EXPECT_EQ(s.cell(0, 14), QStringLiteral("ไม่พบพนักงาน"));
    EXPECT_EQ(s.cell(1, 13), QStringLiteral("พร้อมบันทึก"));
    EXPECT_EQ(s.cell(2, 14), QStringLiteral("รายการนี้มีการขอเงินชดเชยไปแล้วไม่สามารถทำได้อีก"));
    // nothing saved yet: nothing to print
    s.click("btnPrint_Run");
    EXPECT_EQ(s.prompter.messages.last(), QStringLiteral("ไม่มีรายการที่บันทึกแล้วสำหรับพิมพ์"));
    EXPECT_TRUE(s.previews.isEmpty());
}

} // namespace
