#include "CliRunner.h"

#include "support/TestDatabase.h"

#include <gtest/gtest.h>

namespace {

// The rows whose SSN fails its check digit are stored and listed on stderr,
// after the counts on stdout; the import succeeds.
TEST(CliImport, RowsWhoseSsnFailsItsCheckDigitAreStoredAndListedOnStderr)
{
    velmora::test::TestDatabase t;
    t.addLogin();
    const velmora::test::CliResult r = velmora::test::runCliAs(velmora::test::kTesterLogin,
        {"--db", t.url(), "import-employees", QStringLiteral(VELMORA_FIXTURES "/employees_openpyxl.xlsx")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("ทำการบันทึกข้อมูลเรียบร้อยแล้ว"))) << r.out.toStdString();
    const QStringList lines = r.err.trimmed().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4) << r.err.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("เลขประจำตัวประชาชนที่ต้องตรวจสอบ 3 รายการ")));
    for (const char* sapid : {"10000001", "10000003", "10000004"})
        EXPECT_TRUE(r.err.contains(QStringLiteral("SAP ID ") + QLatin1String(sapid))) << sapid;
    EXPECT_FALSE(r.err.contains(QStringLiteral("10000002"))); // its number passes
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Emp_Main")).toInt(), 4);
}

} // namespace
