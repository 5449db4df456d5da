#include "FundSourceData.h"

#include "services/ApprovalMemo.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::reports;
using namespace velmora::test;

namespace {

const QString sci = QStringLiteral("คณะวิทยาศาสตร์");
const QString med = QStringLiteral("คณะพยาบาลศาสตร์");

class ApprovalMemoService : public ::testing::Test
{
protected:
    ApprovalMemoService()
    {
        addFundTypes(t);
        // the department list's first entry is not the department of the lines
        t.exec(QStringLiteral("INSERT INTO EP_TR_Depart (Depart_Code, Dapart_Name) VALUES ('11', ?)"), {med});
        t.exec(QStringLiteral("INSERT INTO EP_TR_Depart (Depart_Code, Dapart_Name) VALUES ('12', ?)"), {sci});
        addCalc(t, "101", "ก", "01/03/2567", 10000, 0, 10, sci);
        addCalc(t, "102", "ข", "02/03/2567", 5000, 0, 10, QStringLiteral("  ") + sci + QStringLiteral(" "));
        addCalc(t, "201", "ค", "03/03/2567", 2000, 0, 10, med);
        for (const char* sap : {"101", "102", "201"})
            addPeriod(t, sap, "2", "01/10/2550", "30/09/2560");
        criteria.from = QStringLiteral("01/03/2567");
        criteria.to = QStringLiteral("31/03/2567");
    }

    ReportGrid select(const QStringList& sapIds)
    {
        const ListedSelection s = selectListedLines(t.db(), criteria, sapIds);
        EXPECT_TRUE(s.ok) << s.error.toStdString();
        return s.selection;
    }
    int printedCount() const
    {
        return t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_mRec_Money_Chodchoy WHERE Is_Print_doc = 'Y'")).toInt();
    }

    TestDatabase t;
    FundSourceCriteria criteria;
};

TEST_F(ApprovalMemoService, NamesTheDepartmentOfItsLinesAndMarksThem)
{
    const ApprovalMemo memo = prepareApprovalMemo(t.db(), select({"101", "102"}), std::nullopt);
    ASSERT_TRUE(memo.ok) << memo.error.toStdString();
    EXPECT_EQ(memo.department, sci);
    EXPECT_EQ(memo.count, 2);
    EXPECT_EQ(memo.totalText, QStringLiteral("15,000.00"));
    EXPECT_EQ(printedCount(), 2);
    EXPECT_TRUE(
        t.scalar(QStringLiteral("SELECT Is_Print_doc FROM EP_mRec_Money_Chodchoy WHERE SapID = '201'")).isNull());

    const ApprovalMemo named = prepareApprovalMemo(t.db(), select({"201"}), med);
    ASSERT_TRUE(named.ok) << named.error.toStdString();
    EXPECT_EQ(named.department, med);
    EXPECT_EQ(printedCount(), 3);
}

// The memo's small print is the audit row of its own marking, not the row
// before it; later rows leave it as printed.
TEST_F(ApprovalMemoService, PrintsTheAuditRowOfItsOwnMarking)
{
    ASSERT_TRUE(prepareApprovalMemo(t.db(), select({"101"}), std::nullopt).ok);
    const ApprovalMemo memo = prepareApprovalMemo(t.db(), select({"201"}), med);
    ASSERT_TRUE(memo.ok) << memo.error.toStdString();
    const QVariantList row {memo.printed.seq};
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT Event_Kind FROM EP_Audit_Log WHERE Seq_No = ?"), row).toString(),
        QStringLiteral("memo-printed"));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT SapID FROM EP_Audit_Log WHERE Seq_No = ?"), row).toString(),
        QStringLiteral("201"));
    EXPECT_EQ(memo.printed.hex,
        t.scalar(QStringLiteral("SELECT Chain_Value FROM EP_Audit_Log WHERE Seq_No = ?"), row).toString().left(16));
    ASSERT_TRUE(prepareApprovalMemo(t.db(), select({"102"}), std::nullopt).ok);
    EXPECT_TRUE(audit::verifyPrintedValue(t.db(), memo.printed).ok);
}

TEST_F(ApprovalMemoService, RefusalsMarkNothing)
{
    addCalc(t, "301", "ง", "04/03/2567", 1000, 0, 10, QStringLiteral(" "));
    addPeriod(t, "301", "2", "01/10/2550", "30/09/2560");
    struct Case
    {
        const char* what;
        QStringList sapIds;
        std::optional<QString> department;
        QString inMessage;
    };
    const QList<Case> cases = {
        {"two departments", {"101", "201"}, std::nullopt, QStringLiteral("หลายหน่วยงาน (") + sci},
        {"two departments, one named", {"101", "201"}, sci, QStringLiteral("หลายหน่วยงาน")},
        {"a typed department that is no department", {"101"}, QStringLiteral("คณะวิทย์"),
            QStringLiteral("ไม่พบหน่วยงาน \"คณะวิทย์\"")},
        {"the lines are of another department", {"101"}, med, QStringLiteral("\"") + sci + QStringLiteral("\"")},
        {"nothing selected, no such department", {}, QStringLiteral("ไม่มี"), QStringLiteral("ไม่พบหน่วยงาน")},
        {"a line without a department", {"301"}, std::nullopt, QStringLiteral("ไม่มีชื่อหน่วยงาน")},
    };
    for (const Case& c : cases) {
        const ApprovalMemo memo = prepareApprovalMemo(t.db(), select(c.sapIds), c.department);
        EXPECT_FALSE(memo.ok) << c.what;
        EXPECT_TRUE(memo.error.contains(c.inMessage)) << c.what << ": " << memo.error.toStdString();
        EXPECT_EQ(printedCount(), 0) << c.what;
    }
}

TEST_F(ApprovalMemoService, ACalculationCancelledSinceTheSearchIsRefused)
{
    const ReportGrid selection = select({"101", "102"});
    t.exec(QStringLiteral("DELETE FROM EP_mRec_Money_Chodchoy WHERE SapID = '102'"));
    const ApprovalMemo memo = prepareApprovalMemo(t.db(), selection, std::nullopt);
    EXPECT_FALSE(memo.ok);
    EXPECT_TRUE(memo.error.contains(QStringLiteral("102")));
    EXPECT_EQ(printedCount(), 0);
}

TEST_F(ApprovalMemoService, AnEmptySelectionMarksNothing)
{
    const ApprovalMemo none = prepareApprovalMemo(t.db(), select({}), std::nullopt);
    ASSERT_TRUE(none.ok) << none.error.toStdString();
    EXPECT_EQ(none.count, 0);
    EXPECT_EQ(none.totalText, QStringLiteral("0.00"));
    EXPECT_EQ(none.department, QString());
    const ApprovalMemo named = prepareApprovalMemo(t.db(), select({}), med);
    ASSERT_TRUE(named.ok);
    EXPECT_EQ(named.department, med);
    EXPECT_EQ(printedCount(), 0);
}

TEST_F(ApprovalMemoService, AListedSapIdWithoutALineIsNamed)
{
    const ListedSelection s = selectListedLines(t.db(), criteria, {"101", "999"});
    EXPECT_FALSE(s.ok);
    EXPECT_TRUE(s.error.contains(QStringLiteral("999")));
}

} // namespace
