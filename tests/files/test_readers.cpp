#include "files/CellText.h"
#include "files/Workbook.h"
#include "files/XlsReader.h"
#include "files/XlsxReader.h"
#include "services/ImportJobs.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>

using namespace velmora::import;

namespace {

QString fixture(const char* name)
{
    return QStringLiteral(VELMORA_FIXTURES "/") + QLatin1String(name);
}

QString dateText(double serial)
{
    const auto d = dateFromSerial(serial);
    if (!d)
        return QStringLiteral("none");
    return QStringLiteral("%1/%2/%3")
        .arg(d->day, 2, 10, QLatin1Char('0'))
        .arg(d->month, 2, 10, QLatin1Char('0'))
        .arg(d->year);
}

QByteArray digest(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

Worksheet sheetOf(const char* name, int index = 1)
{
    QString error;
    auto book = openWorkbook(fixture(name), &error);
    EXPECT_TRUE(book) << error.toStdString();
    Worksheet sheet;
    if (book) {
        EXPECT_TRUE(book->readSheet(index, sheet, &error)) << error.toStdString();
    }
    return sheet;
}

} // namespace

struct SerialCase
{
    double serial;
    const char* date;
};

class SerialDates : public ::testing::TestWithParam<SerialCase>
{
};

TEST_P(SerialDates, CountedAsSpreadsheetsCount)
{
    EXPECT_EQ(dateText(GetParam().serial).toStdString(), GetParam().date);
}

INSTANTIATE_TEST_SUITE_P(Days, SerialDates,
    ::testing::Values(SerialCase {0, "30/12/1899"}, SerialCase {0.75, "30/12/1899"}, SerialCase {1, "01/01/1900"},
        SerialCase {59, "28/02/1900"}, SerialCase {60, "29/02/1900"}, SerialCase {61, "01/03/1900"},
        SerialCase {39356, "01/10/2007"}, SerialCase {73109, "28/02/2100"},
        SerialCase {73110, "01/03/2100"}, // 2100 is no leap year
        SerialCase {237683, "01/10/2550"}, SerialCase {2958465, "31/12/9999"}, SerialCase {-1, "none"},
        SerialCase {2958466, "none"}));

TEST(SerialDates, BackFromRealDates)
{
    EXPECT_EQ(serialFromDate(1899, 12, 30), 0.0);
    EXPECT_EQ(serialFromDate(1900, 1, 1), 1.0);
    EXPECT_EQ(serialFromDate(1900, 3, 1), 61.0);
    EXPECT_EQ(serialFromDate(2007, 10, 1), 39356.0);
    EXPECT_EQ(serialFromDate(2550, 10, 1), 237683.0);
    EXPECT_FALSE(serialFromDate(1899, 12, 31));
    EXPECT_FALSE(serialFromDate(2100, 2, 29));
}

TEST(FreeXlDates, CalendarUndone)
{
    // FreeXL counts every fourth year as a leap year: its text for a day after
    // 2100 is shifted, but the day number behind it is recovered.
    EXPECT_EQ(serialFromFreeXlText("2007-10-01", false), 39356.0);
    EXPECT_EQ(serialFromFreeXlText("1900-02-29", false), 60.0);
    EXPECT_EQ(serialFromFreeXlText("1900-03-01", false), 61.0);
    EXPECT_EQ(serialFromFreeXlText("2100-02-29", false), 73110.0); // really 01/03/2100
    EXPECT_EQ(serialFromFreeXlText("2007-10-01 13:00:00", false), 39356.0);
    EXPECT_EQ(serialFromFreeXlText("2007-10-01", true), 39356.0); // 1904 system, as a 1900 day number
    EXPECT_FALSE(serialFromFreeXlText("1900-01-01", false)); // day 0 or day 1
    EXPECT_FALSE(serialFromFreeXlText("2007-02-30", false));
    EXPECT_FALSE(serialFromFreeXlText("garbage", false));
}

TEST(DateFormats, BuiltInAndCustom)
{
    EXPECT_TRUE(isDateFormat(14, {}));
    EXPECT_TRUE(isDateFormat(22, {}));
    EXPECT_TRUE(isDateFormat(47, {}));
    EXPECT_FALSE(isDateFormat(0, {}));
    EXPECT_FALSE(isDateFormat(4, {}));
    EXPECT_TRUE(isDateFormat(164, QStringLiteral("dd/mm/yyyy")));
    EXPECT_TRUE(isDateFormat(164, QStringLiteral("[$-th-TH]d/m/bbbb")));
    EXPECT_TRUE(isDateFormat(164, QStringLiteral("[h]:mm")));
    EXPECT_FALSE(isDateFormat(164, QStringLiteral("#,##0.00")));
    EXPECT_FALSE(isDateFormat(164, QStringLiteral("0.00E+00")));
    EXPECT_FALSE(isDateFormat(164, QStringLiteral("\"day\" 0")));
    EXPECT_FALSE(isDateFormat(164, QStringLiteral("[Red]#,##0")));
    EXPECT_FALSE(isDateFormat(164, QStringLiteral("General")));
    EXPECT_FALSE(isDateFormat(164, QStringLiteral("@")));
}

TEST(XlsxReader, HandWrittenCells)
{
    const Worksheet s = sheetOf("handmade_cells.xlsx");
    EXPECT_EQ(s.name, QStringLiteral("ประวัติ"));
    // inline string in two runs, shared string, formula result, rich shared string without its phonetic guide
    EXPECT_EQ(cellAsText(s.cell(3, 1)), QStringLiteral("10000001"));
    EXPECT_EQ(cellAsText(s.cell(3, 2)), QStringLiteral("3100100000011"));
    EXPECT_EQ(cellAsText(s.cell(3, 3)), QStringLiteral("3"));
    EXPECT_EQ(cellAsText(s.cell(3, 4)), QStringLiteral("พนักงานส่วนงาน"));
    EXPECT_EQ(s.cell(3, 5).kind, Cell::Kind::Date);
    EXPECT_EQ(cellAsText(s.cell(3, 5)), QStringLiteral("01/10/2007"));
    EXPECT_EQ(cellAsText(s.cell(3, 6)), QStringLiteral("01/10/2550")); // Buddhist-era year kept
    // a row and cells written without references
    EXPECT_EQ(cellAsText(s.cell(4, 1)), QStringLiteral("10000002"));
    EXPECT_EQ(cellAsText(s.cell(4, 4)), QStringLiteral("พนักงานมหาวิทยาลัย"));
    EXPECT_EQ(cellAsText(s.cell(4, 5)), QStringLiteral("29/02/1900"));
    EXPECT_EQ(cellAsText(s.cell(4, 6)), QStringLiteral("30/12/1899"));
    // formula text result, boolean, error value, a number format that is no date
    EXPECT_EQ(cellAsText(s.cell(5, 1)), QStringLiteral("10000003"));
    EXPECT_EQ(s.cell(5, 2).kind, Cell::Kind::Bool);
    EXPECT_EQ(s.cell(5, 3).kind, Cell::Kind::Error);
    EXPECT_EQ(s.cell(5, 3).text, QStringLiteral("#DIV/0!"));
    EXPECT_EQ(s.cell(5, 4).kind, Cell::Kind::Number);
    EXPECT_EQ(cellAsText(s.cell(5, 4)), QStringLiteral("25000.5"));
    EXPECT_EQ(s.cell(5, 5).kind, Cell::Kind::Number);
    EXPECT_EQ(cellAsText(s.cell(5, 6)), QStringLiteral("31/12/9999 18:00:00"));
    EXPECT_EQ(s.cell(6, 1).kind, Cell::Kind::Empty);
}

TEST(CellText, DatesOfCells)
{
    QString why;
    EXPECT_EQ(cellAsDateText(Cell(), &why), QStringLiteral("30/12/1899"));
    EXPECT_EQ(cellAsDateText(Cell::makeNumber(39356.5), &why), QStringLiteral("01/10/2007"));
    EXPECT_EQ(cellAsDateText(Cell::makeText(QStringLiteral("5/3/2560")), &why), QStringLiteral("05/03/2560"));
    EXPECT_FALSE(cellAsDateText(Cell::makeText(QStringLiteral("ไม่ทราบ")), &why));
    EXPECT_FALSE(cellAsDateText(Cell::makeText(QStringLiteral("31/02/2560")), &why));
    // A year below 1000 keeps its four digits (it once came back as "29/01/281").
    EXPECT_EQ(cellAsDateText(Cell::makeText(QStringLiteral("29/01/0281")), &why), QStringLiteral("29/01/0281"));
    EXPECT_FALSE(cellAsDateText(Cell::makeNumber(-3), &why));
    EXPECT_EQ(cellAsText(Cell::makeNumber(3100100000011.0)), QStringLiteral("3100100000011"));
}

// The same workbook written by openpyxl, by LibreOffice as .xlsx and as .xls
// gives the same grids.
class SameGrids : public ::testing::TestWithParam<const char*>
{
};

TEST_P(SameGrids, Employees)
{
    EmployeeWorkbook reference, other;
    QString error;
    ASSERT_TRUE(loadEmployeeWorkbook(fixture("employees_openpyxl.xlsx"), &reference, &error)) << error.toStdString();
    ASSERT_TRUE(loadEmployeeWorkbook(fixture((std::string("employees_") + GetParam()).c_str()), &other, &error))
        << error.toStdString();
    EXPECT_EQ(other.dataMonth, reference.dataMonth);
    EXPECT_EQ(other.dataYear, reference.dataYear);
    ASSERT_EQ(other.employees.size(), reference.employees.size());
    for (size_t i = 0; i < reference.employees.size(); ++i)
        EXPECT_EQ(other.employees[i], reference.employees[i]) << "row " << i + 1;
    EXPECT_EQ(other.reasons, reference.reasons);
    EXPECT_EQ(other.types, reference.types);
    EXPECT_EQ(other.departs, reference.departs);
}

TEST_P(SameGrids, History)
{
    HistoryWorkbook reference, other;
    QString error;
    ASSERT_TRUE(loadHistoryWorkbook(fixture("history_openpyxl.xlsx"), &reference, &error)) << error.toStdString();
    ASSERT_TRUE(loadHistoryWorkbook(fixture((std::string("history_") + GetParam()).c_str()), &other, &error))
        << error.toStdString();
    EXPECT_EQ(other.periods, reference.periods);
}

INSTANTIATE_TEST_SUITE_P(Writers, SameGrids, ::testing::Values("libreoffice.xlsx", "libreoffice.xls"));

TEST(XlsReader, FormulaAndBooleanCellsReadFromTheirStoredResults)
{
    for (const char* name : {"formulas_libreoffice.xls", "formulas_libreoffice.xlsx"}) {
        HistoryWorkbook book;
        QString error;
        ASSERT_TRUE(loadHistoryWorkbook(fixture(name), &book, &error)) << name << ": " << error.toStdString();
        ASSERT_EQ(book.periods.size(), 1u);
        EXPECT_EQ(
            book.periods[0], (QStringList {"1", "10000001", "3100100000011", "2", "TRUE", "01/10/2007", "30/09/2008"}))
            << name;
    }
}

TEST(XlsxReader, FormulaWithoutStoredResultIsRefused)
{
    // openpyxl writes formulas without computing them.
    HistoryWorkbook book;
    QString error;
    EXPECT_FALSE(loadHistoryWorkbook(fixture("formulas_openpyxl.xlsx"), &book, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("แผ่นงานที่ 1 (ประวัติ) แถวที่ 3 คอลัมน์ B"))) << error.toStdString();
}

struct BadInput
{
    const char* file;
    const char* expected; // part of the message
    bool history = false; // read as an employment-history workbook
};

class BadInputs : public ::testing::TestWithParam<BadInput>
{
};

TEST_P(BadInputs, RefusedWithAClearMessage)
{
    QString error;
    if (GetParam().history) {
        HistoryWorkbook book;
        book.sheetName = QStringLiteral("kept");
        EXPECT_FALSE(loadHistoryWorkbook(fixture(GetParam().file), &book, &error));
        EXPECT_EQ(book.sheetName, QStringLiteral("kept"));
    } else {
        EmployeeWorkbook book;
        book.dataMonth = QStringLiteral("kept");
        EXPECT_FALSE(loadEmployeeWorkbook(fixture(GetParam().file), &book, &error));
        EXPECT_EQ(book.dataMonth, QStringLiteral("kept")); // nothing of the failed load
    }
    EXPECT_TRUE(error.contains(QString::fromUtf8(GetParam().expected))) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Files, BadInputs,
    ::testing::Values(BadInput {"no_such_file.xlsx", "ไม่พบแฟ้มข้อมูล"}, BadInput {"not_a_workbook.xlsx", "ไม่ใช่แฟ้ม Excel"},
        BadInput {"truncated.xlsx", "เสียหาย"}, BadInput {"employees_two_sheets.xlsx", "มีแผ่นงาน 2 แผ่น แต่ต้องมี 4 แผ่น"},
        BadInput {"employees_text_in_date.xlsx", "แผ่นงานที่ 1 (พนักงาน) แถวที่ 4 คอลัมน์ F: ข้อมูล \"ไม่ทราบ\" ไม่ใช่วันที่"},
        BadInput {"employees_bad_salary.xlsx", "แผ่นงานที่ 1 (พนักงาน) แถวที่ 4 คอลัมน์ K: อัตราเงินเดือน \"สองหมื่น\" ไม่ใช่ตัวเลข"},
        BadInput {"oversized.xlsx", "ใหญ่เกิน", true}, BadInput {"entities.xlsx", "DTD", true}));

TEST(Limits, SheetsBeyondTheLimitsAreRefused)
{
    WorkbookLimits small;
    small.maxRows = 4;
    QString error;
    auto book = openWorkbook(fixture("history_openpyxl.xlsx"), &error, small);
    ASSERT_TRUE(book);
    Worksheet sheet;
    EXPECT_FALSE(book->readSheet(1, sheet, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("มีข้อมูลมากเกิน"))) << error.toStdString();

    small = WorkbookLimits();
    small.maxFileBytes = 1000;
    EXPECT_FALSE(openWorkbook(fixture("history_libreoffice.xls"), &error, small));
    EXPECT_TRUE(error.contains(QStringLiteral("ใหญ่เกิน"))) << error.toStdString();
}

TEST(Workbooks, NeverChangedByReading)
{
    for (const char* name : {"employees_openpyxl.xlsx", "employees_libreoffice.xls"}) {
        const QByteArray before = digest(fixture(name));
        EmployeeWorkbook book;
        QString error;
        ASSERT_TRUE(loadEmployeeWorkbook(fixture(name), &book, &error)) << error.toStdString();
        EXPECT_EQ(digest(fixture(name)), before) << name;
    }
}

TEST(XlsxReader, TwoHalvesReadAsOne)
{
    // A big sheet is read in two halves at once; forced here on small sheets.
    for (const char* name : {"history_openpyxl.xlsx", "employees_libreoffice.xlsx", "handmade_cells.xlsx"}) {
        QString error;
        WorkbookLimits split;
        split.splitAbove = 0;
        auto whole = openWorkbook(fixture(name), &error);
        auto halves = openWorkbook(fixture(name), &error, split);
        ASSERT_TRUE(whole && halves) << error.toStdString();
        Worksheet a, b;
        ASSERT_TRUE(whole->readSheet(1, a, &error)) << error.toStdString();
        ASSERT_TRUE(halves->readSheet(1, b, &error)) << name << ": " << error.toStdString();
        EXPECT_EQ(a.name, b.name);
        ASSERT_EQ(a.rowCount(), b.rowCount()) << name;
        for (int r = 1; r <= a.rowCount(); ++r) {
            for (int c = 1; c <= 14; ++c) {
                EXPECT_EQ(a.cell(r, c).kind, b.cell(r, c).kind) << name << " " << r << "," << c;
                EXPECT_EQ(cellAsText(a.cell(r, c)), cellAsText(b.cell(r, c))) << name << " " << r << "," << c;
            }
        }
    }
}
