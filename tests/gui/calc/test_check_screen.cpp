// The check screen: what awaits checking with its figures, the annex of the
// current line naming who saved it, a check and a return of the ticked lines
// by a checker; the officer who saved is refused the list and the buttons.

#include "db/DemoData.h"
#include "gui/calc/UCheck_Calculation.h"
#include "gui/common/GridModel.h"
#include "gui/common/Prompter.h"
#include "gui/common/Session.h"
#include "pages/AnnexPage.h"
#include "services/CalculationService.h"
#include "services/Rights.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace velmora::test {
namespace {

using rights::Role;

TEST(CheckScreen, ACheckerChecksOneReturnsAnotherAndTheSaverCannot)
{
    // the tests' own user again afterwards, whatever happens
    struct TesterAgain
    {
        ~TesterAgain() { rights::setLogin({QStringLiteral("tester"), rights::allRoles()}); }
    } const again;
    TestDatabase t;
    QString error;
    ASSERT_TRUE(db::addDemoData(t.db(), QDate(2026, 12, 9), &error)) << error.toStdString();
    rights::setLogin({QStringLiteral("officer1"), {Role::Officer}});
    for (const char* sapid : {"10000001", "10000002"}) {
        calc::Calculation_Input in;
        std::string why;
        ASSERT_TRUE(calc::Load_Calculation_Input(t.db(), sapid, "12/2026", std::nullopt, std::nullopt, &in, &why));
        ASSERT_TRUE(calc::Save_Calculation(t.db(), in, calc::Run_Calculation(in), "09/12/2569", &why)) << why;
    }
    app::ScriptedPrompter prompter;
    app::Session session;
    session.db = &t.db();
    session.prompter = &prompter;

    // the officer who saved is no checker: refused, the buttons disabled
    {
        calc::TfrmCheck_Calculation own(session);
        EXPECT_EQ(prompter.messages, QStringList {rights::refusalMessage(rights::Action::CheckCalculation)});
        EXPECT_FALSE(own.findChild<QPushButton*>(QStringLiteral("btnCheck"))->isEnabled());
        EXPECT_FALSE(own.findChild<QPushButton*>(QStringLiteral("btnReturn"))->isEnabled());
    }

    rights::setLogin({QStringLiteral("checker1"), {Role::Checker}});
    calc::TfrmCheck_Calculation screen(session);
    QList<print::PageLayout> shown;
    screen.showPreview = [&](const QList<print::PageLayout>& pages) { shown = pages; };
    auto* grid = screen.findChild<QTableView*>(QStringLiteral("StringGrid1"));
    auto* model = static_cast<reports::GridModel*>(grid->model());
    // the row of a SAP ID, -1 when it is not listed
    const auto rowOf = [&](const char* sapid) {
        for (int r = 0; r < model->rowCount(); ++r)
            if (model->cell(r, 1) == QLatin1String(sapid))
                return r;
        return -1;
    };
    // the two just saved and the demo's earlier payment, saved before the check existed
    ASSERT_EQ(model->rowCount(), 3);
    const int example = rowOf("10000001");
    ASSERT_GE(example, 0);
    EXPECT_GE(rowOf("10000002"), 0);
    EXPECT_GE(rowOf("20000001"), 0);
    EXPECT_EQ(model->cell(example, 5), QStringLiteral("120,000.00"));
    EXPECT_EQ(model->cell(example, 6), QStringLiteral("officer1"));

    // the annex of the current line, as a print preview, says who saved it
    grid->setCurrentIndex(model->index(example, 1));
    screen.findChild<QPushButton*>(QStringLiteral("btnPreview_Annex"))->click();
    ASSERT_GE(shown.size(), 2); // the request document, then the annex
    print::AnnexDocument annex;
    ASSERT_TRUE(print::readAnnexDocument(t.db(), QStringLiteral("10000001"), &annex, &error));
    EXPECT_TRUE(print::annexLines(annex).last().startsWith(QStringLiteral("ผู้บันทึก officer1")));
    EXPECT_TRUE(print::annexLines(annex).last().endsWith(QStringLiteral("ผู้ตรวจสอบ รอตรวจสอบ")));

    // a tick checks that line only
    model->setData(model->index(example, 0), Qt::Checked, Qt::CheckStateRole);
    screen.findChild<QPushButton*>(QStringLiteral("btnCheck"))->click();
    EXPECT_EQ(prompter.messages.last(), QStringLiteral("ตรวจสอบแล้ว 1 รายการ"));
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(rowOf("10000001"), -1);
    ASSERT_GE(rowOf("10000002"), 0);
    ASSERT_TRUE(print::readAnnexDocument(t.db(), QStringLiteral("10000001"), &annex, &error));
    EXPECT_TRUE(print::annexLines(annex).last().contains(QStringLiteral("ผู้ตรวจสอบ checker1 (")))
        << print::annexLines(annex).last().toStdString();

    // a return needs its reason; then the employee is "A" again
    grid->setCurrentIndex(model->index(rowOf("10000002"), 1));
    screen.findChild<QPushButton*>(QStringLiteral("btnReturn"))->click();
    EXPECT_EQ(prompter.messages.last(), QStringLiteral("กรุณาระบุเหตุผลที่ส่งคืน"));
    screen.findChild<QLineEdit*>(QStringLiteral("edtReason"))->setText(QStringLiteral("ช่วงการทำงานไม่ครบ"));
    screen.findChild<QPushButton*>(QStringLiteral("btnReturn"))->click();
    EXPECT_EQ(prompter.messages.last(), QStringLiteral("ส่งคืนแล้ว 1 รายการ"));
    EXPECT_EQ(model->rowCount(), 1);
    EXPECT_EQ(rowOf("10000002"), -1);
    EXPECT_EQ(
        t.scalar(QStringLiteral("SELECT Emp_RecMChod_Status FROM EP_Emp_Main WHERE SapID = '10000002'")).toString(),
        QStringLiteral("A"));
}

} // namespace
} // namespace velmora::test
