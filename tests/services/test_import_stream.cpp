// The command line's import reads each sheet row by row as it saves it. It
// must store exactly what the screen's load and save store, refuse the same
// cells with the same words, keep rows a sheet stores out of order, and hold
// no more memory for a long sheet than for a short one.

#include "services/ImportJobs.h"

#include "support/TestDatabase.h"
#include "support/XlsxPackage.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

#include <string>

using namespace velmora::import;
using velmora::test::TestDatabase;

namespace {

QString fixture(const char* name)
{
    return QStringLiteral(VELMORA_FIXTURES "/") + QLatin1String(name);
}

// Every row of the tables an import writes, sorted, one text per row.
QStringList tableRows(TestDatabase& t)
{
    QStringList out;
    for (const char* table : {"EP_Emp_Main", "EP_Reason_out", "EP_TR_Work_Type", "EP_TR_Depart", "EP_Work_Histry"}) {
        QSqlQuery q = t->query();
        EXPECT_TRUE(q.exec(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(table))));
        while (q.next()) {
            QStringList values;
            for (int c = 0; c < q.record().count(); ++c)
                values << (q.isNull(c) ? QStringLiteral("NULL") : q.value(c).toString());
            out << QLatin1String(table) + QLatin1Char('|') + values.join(QLatin1Char('|'));
        }
    }
    out.sort();
    return out;
}

// The history fixtures, and the formula fixtures (one history sheet).
bool isHistory(const QString& path)
{
    const QString name = path.section(QLatin1Char('/'), -1);
    return name.startsWith(QLatin1String("history")) || name.startsWith(QLatin1String("formulas"));
}

// Load and save (the screen's way) or the streamed import; the counts as the
// command line prints them.
bool importBy(bool streamed, TestDatabase& t, const QString& path, QStringList* counts, QString* error)
{
    if (isHistory(path)) {
        TableCounts c;
        HistoryWorkbook book;
        const bool ok = streamed ? importHistoryWorkbook(t.db(), path, &c, error)
                                 : loadHistoryWorkbook(path, &book, error) && saveHistoryWorkbook(t.db(), book, &c, error);
        *counts = describeCounts(c);
        return ok;
    }
    EmployeeSaveCounts c;
    EmployeeWorkbook book;
    const bool ok = streamed ? importEmployeeWorkbook(t.db(), path, &c, error)
                             : loadEmployeeWorkbook(path, &book, error) && saveEmployeeWorkbook(t.db(), book, &c, error);
    *counts = describeCounts(c);
    return ok;
}

// A history sheet of `rows` periods as inline strings, in the order given.
std::string periodRow(int row, const std::string& sapid, const std::string& begin)
{
    const std::string r = std::to_string(row);
    auto text = [&](const char* column, const std::string& value) {
        return std::string("<c r=\"") + column + r + "\" t=\"inlineStr\"><is><t>" + value + "</t></is></c>";
    };
    return "<row r=\"" + r + "\">" + text("A", sapid) + text("B", "31001000" + sapid.substr(3)) + text("C", "3")
        + text("D", "พนักงานส่วนงาน") + text("E", begin) + text("F", "30/09/2567") + "</row>";
}

std::string periodsSheet(int rows)
{
    std::string data = "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>ประวัติ</t></is></c></row>";
    data.reserve(static_cast<size_t>(rows) * 420);
    for (int i = 0; i < rows; ++i)
        data += periodRow(i + 3, std::to_string(20000000 + i), "01/10/2560");
    return data;
}

// Peak resident memory of this process since the last reset, in kB (Linux).
long peakKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

bool resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

// A made history sheet imported both ways, each into a fresh database: the
// counts and the stored rows must agree.
struct BothWays
{
    TestDatabase byGrid, byStream;
    QStringList gridCounts, streamCounts;

    void import(const std::string& sheetData)
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("history_made.xlsx"));
        velmora::test::writePackage(path, velmora::test::oneSheet(sheetData));
        QString error;
        ASSERT_TRUE(importBy(false, byGrid, path, &gridCounts, &error)) << error.toStdString();
        ASSERT_TRUE(importBy(true, byStream, path, &streamCounts, &error)) << error.toStdString();
        EXPECT_EQ(streamCounts, gridCounts);
        EXPECT_EQ(tableRows(byStream), tableRows(byGrid));
    }
};

} // namespace

class SameAsLoadAndSave : public ::testing::TestWithParam<const char*>
{
};

TEST_P(SameAsLoadAndSave, StoresTheSameRowsAndCounts)
{
    // Each workbook imported twice (inserts, then a re-import) both ways.
    TestDatabase byGrid, byStream;
    const QString path = fixture(GetParam());
    for (int round = 1; round <= 2; ++round) {
        QStringList gridCounts, streamCounts;
        QString gridError, streamError;
        ASSERT_TRUE(importBy(false, byGrid, path, &gridCounts, &gridError)) << gridError.toStdString();
        ASSERT_TRUE(importBy(true, byStream, path, &streamCounts, &streamError)) << streamError.toStdString();
        EXPECT_EQ(streamCounts, gridCounts) << "round " << round;
    }
    const QStringList expected = tableRows(byGrid);
    EXPECT_FALSE(expected.isEmpty());
    EXPECT_EQ(tableRows(byStream), expected);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, SameAsLoadAndSave,
    ::testing::Values("employees_openpyxl.xlsx", "employees_libreoffice.xlsx", "employees_libreoffice.xls",
        "history_openpyxl.xlsx", "history_libreoffice.xlsx", "history_libreoffice.xls", "formulas_libreoffice.xlsx",
        "formulas_libreoffice.xls"));

class RefusedAsTheLoadRefuses : public ::testing::TestWithParam<const char*>
{
};

TEST_P(RefusedAsTheLoadRefuses, SameMessageAndNothingStored)
{
    TestDatabase t;
    const QString path = fixture(GetParam());
    QStringList counts;
    QString loadError, streamError;
    EXPECT_FALSE(importBy(false, t, path, &counts, &loadError));
    EXPECT_FALSE(importBy(true, t, path, &counts, &streamError));
    EXPECT_FALSE(streamError.isEmpty());
    EXPECT_EQ(streamError, loadError);
    EXPECT_TRUE(tableRows(t).filter(QStringLiteral("EP_Emp_Main|")).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Fixtures, RefusedAsTheLoadRefuses,
    ::testing::Values("employees_text_in_date.xlsx", "employees_bad_salary.xlsx", "employees_two_sheets.xlsx",
        "truncated.xlsx", "not_a_workbook.xlsx", "formulas_openpyxl.xlsx", "no_such_file.xlsx"));

TEST(ImportStream, RowsStoredOutOfOrderAreReadWhole)
{
    // Row 4 comes before row 3 and row 5 is stored twice (its later cells
    // win): the rows saved are those of the sheet read whole.
    BothWays both;
    both.import(periodRow(4, "30000004", "01/10/2560") + periodRow(3, "30000003", "01/10/2560")
        + periodRow(5, "30000005", "01/10/2560") + periodRow(5, "30000055", "01/10/2561")
        + periodRow(6, "30000006", "01/10/2560"));
    EXPECT_EQ(both.gridCounts.value(0), QStringLiteral("เพิ่ม 4 รายการ, แก้ไข 0 รายการ"));
    EXPECT_EQ(
        both.byStream.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Work_Histry WHERE SapID = '30000055'")).toInt(), 1);
}

TEST(ImportStream, DataEndsAtTheFirstMissingRowAsInTheGrid)
{
    // Rows 3 and 4, then row 6: row 5 is not stored, so it reads as empty and
    // ends the data; row 6 is not imported.
    BothWays both;
    both.import(periodRow(3, "30000003", "01/10/2560") + periodRow(4, "30000004", "01/10/2560")
        + periodRow(6, "30000006", "01/10/2560"));
    EXPECT_EQ(both.streamCounts.value(0), QStringLiteral("เพิ่ม 2 รายการ, แก้ไข 0 รายการ"));
    EXPECT_EQ(
        both.byStream.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Work_Histry WHERE SapID = '30000006'")).toInt(), 0);
}

TEST(ImportStream, AKeyRepeatedInALaterChunkIsFoundNotInsertedTwice)
{
    // 1,200 periods, the last one repeating the first period's key with
    // another last day: saved in chunks, the repeat must still be found (and
    // update the stored period), as the whole-sheet save finds it.
    std::string data = periodsSheet(1199);
    std::string repeat = periodRow(1199 + 3, "20000000", "01/10/2560");
    repeat.replace(repeat.find("30/09/2567"), 10, "31/03/2568");
    BothWays both;
    both.import(data + repeat);
    EXPECT_EQ(both.gridCounts.value(0), QStringLiteral("เพิ่ม 1199 รายการ, แก้ไข 1 รายการ"));
    EXPECT_EQ(both.byStream.scalar(QStringLiteral("SELECT Work_E_Date FROM EP_Work_Histry WHERE SapID = '20000000'"))
                  .toString(),
        QStringLiteral("31/03/2568"));
}

TEST(ImportStream, MemoryDoesNotGrowWithTheRows)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer keeps freed memory in quarantine: the resident size measures nothing here";
#endif
    // 50,000 periods: the whole-sheet load and save grow by about 55 MB (the
    // sheet's cells and a grid of 350,000 texts); the streamed import holds
    // one chunk of rows, about 5 MB over its start whatever the row count.
    const int rows = 50000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history_big.xlsx"));
    velmora::test::writePackage(path, velmora::test::oneSheet(periodsSheet(rows)));
    TestDatabase t;
    if (!resetPeak())
        GTEST_SKIP() << "the peak resident size cannot be reset here";
    const long before = velmora::test::residentKb();
    TableCounts c;
    QString error;
    ASSERT_TRUE(importHistoryWorkbook(t.db(), path, &c, &error)) << error.toStdString();
    const long grown = peakKb() - before;
    EXPECT_EQ(c.inserted, rows);
    EXPECT_LT(grown, 16 * 1024) << "kB above the start while importing " << rows << " rows";
}

TEST(ImportStream, AuditNamesOnlyChangesOfRowsStoredBefore)
{
    // The history fixture repeats a period (same employee, type and first
    // day, another last day): the first is inserted, the repeat updates it.
    // That period was not stored before the import, so the log names no
    // change; a second import that moves one stored period's last day names
    // exactly that change, old and new, both ways.
    TestDatabase byGrid, byStream;
    const QString path = fixture("history_openpyxl.xlsx");
    QStringList counts;
    QString error;
    ASSERT_TRUE(importBy(false, byGrid, path, &counts, &error)) << error.toStdString();
    ASSERT_TRUE(importBy(true, byStream, path, &counts, &error)) << error.toStdString();
    ASSERT_EQ(counts.value(0), QStringLiteral("เพิ่ม 4 รายการ, แก้ไข 1 รายการ"));
    for (TestDatabase* t : {&byGrid, &byStream}) {
        const QString details =
            t->scalar(QStringLiteral("SELECT Details FROM EP_Audit_Log WHERE Event_Kind = 'import-history'")).toString();
        EXPECT_TRUE(details.contains(QStringLiteral("\"changed\":[]"))) << details.toStdString();
    }
    HistoryWorkbook book;
    ASSERT_TRUE(loadHistoryWorkbook(path, &book, &error)) << error.toStdString();
    book.periods[0][6] = QStringLiteral("31/12/2570");
    TableCounts c;
    for (TestDatabase* t : {&byGrid, &byStream}) {
        ASSERT_TRUE(saveHistoryWorkbook(t->db(), book, &c, &error)) << error.toStdString();
        // The changed period, and the repeated one twice (to the first last
        // day and back): its stored values end as they were, so no change.
        EXPECT_EQ(c.updated, 3);
        const QString details = t->scalar(QStringLiteral("SELECT Details FROM EP_Audit_Log WHERE Seq_No = 2")).toString();
        EXPECT_TRUE(details.contains(
            QStringLiteral("\"changed\":[{\"changes\":{\"Work_E_Date\":{\"new\":\"31/12/2570\",\"old\":\"30/09/2551\"}}")))
            << details.toStdString();
        EXPECT_FALSE(details.contains(QStringLiteral("30/09/2555"))) << details.toStdString();
    }
}

// The planner setting an import asks of a PostgreSQL server holds for the
// import's own transaction only: the connection's later statements are
// planned as the server is configured.
TEST(ImportStream, ServerSettingEndsWithTheImport)
{
    TestDatabase t;
    if (!t.isPostgres())
        GTEST_SKIP() << "a PostgreSQL setting";
    const QString before = t.scalar(QStringLiteral("SELECT current_setting('random_page_cost')")).toString();
    EmployeeSaveCounts counts;
    QString error;
    ASSERT_TRUE(importEmployeeWorkbook(t.db(), QStringLiteral(VELMORA_FIXTURES "/employees_openpyxl.xlsx"), &counts,
        &error))
        << error.toStdString();
    EXPECT_GT(counts.employees.inserted, 0);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT current_setting('random_page_cost')")).toString(), before);
}

// The sheet is read on a thread of its own while its rows are saved: with a
// row the save refuses (a SAP ID longer than its column) and a cell the
// reader refuses (an error value), the message names the fault met first as
// the rows are read and saved 500 at a time (the save checks a row when its
// 500 are saved, so within those 500 the reader's fault is met first), however
// far ahead the reading thread runs; nothing is stored.
struct TwoFaults
{
    int saveFault; // row of the SAP ID too long
    int readFault; // row of the error value
};

class ImportStreamFaults : public ::testing::TestWithParam<TwoFaults>
{
};

TEST_P(ImportStreamFaults, TheFirstInTheSheetIsNamed)
{
    const TwoFaults f = GetParam();
    std::string data = "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>ประวัติ</t></is></c></row>";
    for (int row = 3; row < 6003; ++row) {
        std::string r = periodRow(row, std::to_string(20000000 + row), "01/10/2560");
        if (row == f.saveFault)
            r.replace(r.find(std::to_string(20000000 + row)), 8, std::string(200, '9'));
        if (row == f.readFault) {
            const std::string cell = "<c r=\"C" + std::to_string(row) + "\"";
            const size_t at = r.find(cell);
            const size_t end = r.find("</c>", at) + 4;
            r.replace(at, end - at, cell + " t=\"e\"><v>#N/A</v></c>");
        }
        data += r;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history_faults.xlsx"));
    velmora::test::writePackage(path, velmora::test::oneSheet(data));
    TestDatabase t;
    TableCounts counts;
    QString error;
    EXPECT_FALSE(importHistoryWorkbook(t.db(), path, &counts, &error));
    const bool sameChunk = (f.saveFault - 3) / 500 == (f.readFault - 3) / 500;
    const int first = sameChunk ? f.readFault : std::min(f.saveFault, f.readFault);
    const int second = first == f.readFault ? f.saveFault : f.readFault;
    EXPECT_TRUE(error.contains(QStringLiteral("แถวที่ %1 ").arg(first))) << error.toStdString();
    EXPECT_FALSE(error.contains(QStringLiteral("แถวที่ %1 ").arg(second))) << error.toStdString();
    EXPECT_TRUE(first == f.readFault ? error.contains(QStringLiteral("#N/A")) : !error.contains(QStringLiteral("#N/A")))
        << error.toStdString();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Work_Histry")).toInt(), 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, ImportStreamFaults,
    ::testing::Values(TwoFaults {5, 5000}, TwoFaults {5000, 5}, TwoFaults {5, 6}, TwoFaults {6, 5},
        TwoFaults {2050, 2100}, TwoFaults {2100, 2050}, TwoFaults {502, 503}, TwoFaults {503, 502},
        TwoFaults {6002, 4000}));
