#include "OutlookData.h"

#include "gui/common/Prompter.h"
#include "gui/common/Session.h"
#include "gui/reports/URep_Outlook.h"
#include "services/OutlookService.h"

#include <gtest/gtest.h>

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedBarSeries>
#include <QCategoryAxis>
#include <QTemporaryDir>
#include <QTest>


using namespace velmora;
using namespace velmora::reports;
using namespace velmora::test;

namespace {

class OutlookScreen : public ::testing::Test
{
protected:
    OutlookScreen()
    {
        session.db = &t.db();
        session.prompter = &prompter;
        session.Server_Date_Text = QStringLiteral("09/12/2026");
        session.Server_Date_Text_BE = QStringLiteral("09/12/2569");
        session.localNow = [] { return QDateTime(QDate(2026, 12, 9), QTime(10, 0)); };
        exportHooks().folder = folder.path();
        exportHooks().open = [this](const QString& path) { opened << path; };
        Add_Contract_End_Outlook(t);
    }
    ~OutlookScreen() override { exportHooks() = {}; }

    template <typename T>
    T* child(QWidget* screen, const char* name)
    {
        T* found = screen->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void click(QWidget* screen, const char* button)
    {
        QTest::mouseClick(child<QPushButton>(screen, button), Qt::LeftButton);
    }

    TestDatabase t;
    app::ScriptedPrompter prompter;
    app::Session session;
    QTemporaryDir folder;
    QStringList opened;
};

TEST_F(OutlookScreen, StartsWithThisMonthAndTheKindsDefaults)
{
    TfrmRep_Outlook screen(session);
    EXPECT_TRUE(child<QRadioButton>(&screen, "rbContract_End")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(&screen, "rbBy_Department")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(&screen, "RadioButton6")->isChecked());
    EXPECT_EQ(child<QLineEdit>(&screen, "edtFrom")->text(), "12/2026");
    EXPECT_EQ(child<QLineEdit>(&screen, "edtCount")->text(), "12");
    EXPECT_FALSE(child<QLineEdit>(&screen, "edtRaise")->isEnabled());
    QTest::mouseClick(child<QRadioButton>(&screen, "rbAge60"), Qt::LeftButton);
    EXPECT_EQ(child<QLineEdit>(&screen, "edtFrom")->text(), "2569");
    EXPECT_EQ(child<QLineEdit>(&screen, "edtCount")->text(), "10");
    EXPECT_EQ(child<QLineEdit>(&screen, "edtRaise")->text(), "5");
    EXPECT_TRUE(child<QLineEdit>(&screen, "edtRaise")->isEnabled());
}

TEST_F(OutlookScreen, ShowsTheServicesTableRefusalsAndAStackedChart)
{
    TfrmRep_Outlook screen(session);
    child<QLineEdit>(&screen, "edtFrom")->setText(QStringLiteral("09/2012"));
    click(&screen, "btnShow_Data");
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join('|').toStdString();

    // The same table as the service gives the command line.
    const outlook::Outlook_Result expected = outlook::Run_Outlook(t.db(), screen.criteria());
    ASSERT_TRUE(expected.ok);
    EXPECT_EQ(screen.model()->grid().titles, outlook::Outlook_Grid(expected).titles);
    EXPECT_EQ(screen.model()->grid().rows, outlook::Outlook_Grid(expected).rows);
    EXPECT_EQ(screen.model()->rowCount(), 13);
    EXPECT_EQ(screen.model()->index(12, 7).data().toString(), "192,000.00");
    EXPECT_EQ(screen.refusalModel()->rowCount(), 3);

    QChart* chart = screen.chartView()->chart();
    ASSERT_EQ(chart->series().size(), 1);
    auto* series = qobject_cast<QStackedBarSeries*>(chart->series().first());
    ASSERT_NE(series, nullptr);
    ASSERT_EQ(series->count(), 2);
    EXPECT_EQ(series->barSets().at(0)->label(), QStringLiteral("คณะวิทยาศาสตร์"));
    EXPECT_EQ(series->barSets().at(1)->label(), QStringLiteral("สำนักงานอธิการบดี"));
    double sum = 0;
    for (QBarSet* set : series->barSets()) {
        EXPECT_EQ(set->count(), 12);
        for (int i = 0; i < set->count(); ++i)
            sum += set->at(i);
    }
    EXPECT_EQ(sum, 192000.0);
    EXPECT_EQ(series->barSets().at(0)->at(6), 60000.0); // 03/2013
    auto* axis = qobject_cast<QBarCategoryAxis*>(chart->axes(Qt::Horizontal).value(0));
    ASSERT_NE(axis, nullptr);
    EXPECT_EQ(axis->categories().first(), "09/2012");
    // The amount axis starts at 0, reaches the tallest bar (132,000 in 09/2012)
    // in round steps, in thousands-separated baht with its title.
    auto* amounts = qobject_cast<QCategoryAxis*>(chart->axes(Qt::Vertical).value(0));
    ASSERT_NE(amounts, nullptr);
    EXPECT_EQ(amounts->min(), 0.0);
    EXPECT_EQ(amounts->max(), 150000.0);
    EXPECT_EQ(amounts->categoriesLabels(), (QStringList {"0", "50,000", "100,000", "150,000"}));
    EXPECT_EQ(amounts->labelsPosition(), QCategoryAxis::AxisLabelsPositionOnValue);
    EXPECT_EQ(amounts->titleText(), QStringLiteral("บาท"));

    // By employment type: one block per type; a second search replaces the chart.
    QTest::mouseClick(child<QRadioButton>(&screen, "rbBy_Type"), Qt::LeftButton);
    click(&screen, "btnShow_Data");
    ASSERT_EQ(chart->series().size(), 1);
    EXPECT_EQ(qobject_cast<QStackedBarSeries*>(chart->series().first())->count(), 2);
    EXPECT_EQ(screen.model()->grid().titles.at(2), QStringLiteral("พนักงานมหาวิทยาลัย (คน)"));
}

TEST_F(OutlookScreen, BadInputIsRefusedWithTheServicesMessage)
{
    TfrmRep_Outlook screen(session);
    child<QLineEdit>(&screen, "edtCount")->setText(QStringLiteral("0"));
    click(&screen, "btnShow_Data");
    EXPECT_EQ(prompter.messages, QStringList({QStringLiteral("จำนวนเดือนต้องเป็นตัวเลข 1 ถึง 120: \"0\"")}));
    prompter.clear();
    QTest::mouseClick(child<QRadioButton>(&screen, "rbAge60"), Qt::LeftButton);
    child<QLineEdit>(&screen, "edtFrom")->setText(QStringLiteral("2026"));
    click(&screen, "btnShow_Data");
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages.at(0).startsWith(QStringLiteral("ปีเริ่มต้นต้องเป็นปีพุทธศักราช เช่น 2569")));
    // Export and print wait for a search.
    prompter.clear();
    click(&screen, "Button1");
    click(&screen, "btnPrint");
    EXPECT_EQ(prompter.messages.size(), 2);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(OutlookScreen, ExportsTheWorkbookWithItsChartAndPrintsThePages)
{
    TfrmRep_Outlook screen(session);
    child<QLineEdit>(&screen, "edtFrom")->setText(QStringLiteral("09/2012"));
    click(&screen, "btnShow_Data");
    click(&screen, "Button1");
    ASSERT_EQ(opened.size(), 1) << prompter.messages.join('|').toStdString();
    EXPECT_TRUE(opened.at(0).startsWith(folder.path()));
    QProcess p;
    p.start("/usr/bin/python3", {VELMORA_SOURCE_DIR "/tests/support/read_outlook_workbook.py", opened.at(0)});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QJsonObject book = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    const QJsonObject sheet = book.value("sheets").toArray().at(0).toObject();
    EXPECT_EQ(sheet.value("charts").toArray().size(), 1);
    EXPECT_EQ(sheet.value("values").toArray().at(16).toArray().at(7).toDouble(), 192000.0);
    // Logged like every other export: the row names the file the screen opened.
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Audit_Log WHERE Event_Kind = ? AND Details LIKE ?"),
                   {QStringLiteral("report-exported"),
                       QLatin1Char('%') + QFileInfo(opened.at(0)).fileName() + QLatin1Char('%')})
                  .toInt(),
        1);

    QList<print::PageLayout> printed;
    screen.showPreview = [&printed](const QList<print::PageLayout>& pages) { printed = pages; };
    click(&screen, "btnPrint");
    ASSERT_EQ(printed.size(), 1);
    EXPECT_NE(printed.first().find(QStringLiteral("Chart")), nullptr);
}

} // namespace
