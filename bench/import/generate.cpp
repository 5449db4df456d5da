// Writes the workbooks the import benchmark reads:
//   generate OUTDIR [EMPLOYEES] [PERIODS]
// OUTDIR/employees.xlsx: four sheets, EMPLOYEES rows (default 50,000) of the
// eleven employee columns, and small sheets of reasons, types and departments;
// OUTDIR/history.xlsx: PERIODS rows (default 100,000) of employment periods.
// Texts are Thai and go through the shared-string table (inline past 200,000
// employees), dates are date cells.

#include <xlsxwriter.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char* kTitles[] = {"นาย", "นาง", "นางสาว"};
const char* kFirst[] = {"สมชาย", "สุดา", "มาลี", "ประเสริฐ", "กานดา", "วิชัย", "บุญมี", "อนันต์", "ปราณี", "ธนา"};
const char* kLast[] = {"ใจดี", "รักงาน", "ศรีสุข", "มั่นคง", "แก้วใส", "ทองดี", "มีสุข", "ยิ่งยง", "ใจงาม", "สุขสันต์"};

lxw_datetime day(int year, int month, int d)
{
    return lxw_datetime {year, month, d, 0, 0, 0.0};
}

int employees(const std::string& path, int rows)
{
    // Past 200,000 rows the writer streams its sheets (texts then go inline,
    // as another program's export may have them), so any size can be made.
    lxw_workbook_options options {};
    options.constant_memory = rows > 200000 ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* wb = workbook_new_opt(path.c_str(), &options);
    lxw_format* date = workbook_add_format(wb);
    format_set_num_format(date, "dd/mm/yyyy");
    lxw_worksheet* s1 = workbook_add_worksheet(wb, "พนักงาน");
    worksheet_write_string(s1, 0, 1, "12", nullptr);
    worksheet_write_string(s1, 0, 3, "2567", nullptr);
    const char* heads[] = {
        "SapID", "SSN", "คำนำหน้า", "ชื่อ", "นามสกุล", "เกิด", "เริ่มงาน", "ประเภท", "สิ้นสุดสัญญา", "ส่วนงาน", "เงินเดือน"};
    for (int c = 0; c < 11; ++c)
        worksheet_write_string(s1, 1, c, heads[c], nullptr);
    for (int i = 0; i < rows; ++i) {
        const int r = i + 2;
        const std::string sap = std::to_string(10000000 + i);
        const std::string ssn = std::to_string(3100100000000LL + i * 7);
        worksheet_write_string(s1, r, 0, sap.c_str(), nullptr);
        worksheet_write_string(s1, r, 1, ssn.c_str(), nullptr);
        worksheet_write_string(s1, r, 2, kTitles[i % 3], nullptr);
        const std::string first = std::string(kFirst[i % 10]) + std::to_string(i);
        worksheet_write_string(s1, r, 3, first.c_str(), nullptr);
        worksheet_write_string(s1, r, 4, kLast[(i / 10) % 10], nullptr);
        lxw_datetime birth = day(1960 + i % 40, 1 + i % 12, 1 + i % 28);
        worksheet_write_datetime(s1, r, 5, &birth, date);
        lxw_datetime begin = day(2000 + i % 20, 1 + (i / 3) % 12, 1 + (i / 7) % 28);
        worksheet_write_datetime(s1, r, 6, &begin, date);
        worksheet_write_string(s1, r, 7, i % 2 ? "2" : "3", nullptr);
        if (i % 5 != 0) {
            lxw_datetime end = day(2025 + i % 5, 1 + i % 12, 28);
            worksheet_write_datetime(s1, r, 8, &end, date);
        }
        worksheet_write_string(s1, r, 9, std::to_string(10 + i % 40).c_str(), nullptr);
        worksheet_write_number(s1, r, 10, 15000 + (i % 300) * 50.5, nullptr);
    }
    lxw_worksheet* s2 = workbook_add_worksheet(wb, "เหตุแห่งการออก");
    for (int i = 0; i < 200; ++i) {
        worksheet_write_string(s2, i + 2, 0, std::to_string(10000000 + i * 13).c_str(), nullptr);
        worksheet_write_string(s2, i + 2, 1, "ครบกำหนดระยะเวลาการจ้างตามสัญญา", nullptr);
    }
    lxw_worksheet* s3 = workbook_add_worksheet(wb, "ประเภทการจ้าง");
    worksheet_write_string(s3, 2, 0, "2", nullptr);
    worksheet_write_string(s3, 2, 1, "พนักงานมหาวิทยาลัย", nullptr);
    worksheet_write_string(s3, 3, 0, "3", nullptr);
    worksheet_write_string(s3, 3, 1, "พนักงานส่วนงาน", nullptr);
    lxw_worksheet* s4 = workbook_add_worksheet(wb, "ส่วนงาน");
    for (int i = 0; i < 40; ++i) {
        worksheet_write_string(s4, i + 2, 0, std::to_string(10 + i).c_str(), nullptr);
        worksheet_write_string(s4, i + 2, 1, ("คณะที่ " + std::to_string(i + 1)).c_str(), nullptr);
    }
    return workbook_close(wb) == LXW_NO_ERROR ? 0 : 1;
}

int history(const std::string& path, int rows)
{
    lxw_workbook* wb = workbook_new(path.c_str());
    lxw_format* date = workbook_add_format(wb);
    format_set_num_format(date, "dd/mm/yyyy");
    lxw_worksheet* s = workbook_add_worksheet(wb, "ประวัติ");
    worksheet_write_string(s, 1, 0, "SapID", nullptr);
    for (int i = 0; i < rows; ++i) {
        const int r = i + 2;
        const int person = i / 2; // two periods per employee
        worksheet_write_string(s, r, 0, std::to_string(10000000 + person).c_str(), nullptr);
        worksheet_write_string(s, r, 1, std::to_string(3100100000000LL + person * 7).c_str(), nullptr);
        const bool first = i % 2 == 0;
        worksheet_write_string(s, r, 2, first ? "3" : "2", nullptr);
        worksheet_write_string(s, r, 3, first ? "พนักงานส่วนงาน" : "พนักงานมหาวิทยาลัย", nullptr);
        // Buddhist-era years in real date cells, as the officers keep them.
        lxw_datetime b = day(first ? 2549 : 2553, 1 + person % 12, 1);
        lxw_datetime e = day(first ? 2553 : 2568, person % 12 == 0 ? 12 : person % 12, 28);
        worksheet_write_datetime(s, r, 4, &b, date);
        worksheet_write_datetime(s, r, 5, &e, date);
    }
    return workbook_close(wb) == LXW_NO_ERROR ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTDIR [EMPLOYEES] [PERIODS]\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const int n = argc > 2 ? std::atoi(argv[2]) : 50000;
    const int m = argc > 3 ? std::atoi(argv[3]) : 100000;
    if (employees(dir + "/employees.xlsx", n) != 0 || history(dir + "/history.xlsx", m) != 0) {
        std::fprintf(stderr, "writing failed\n");
        return 1;
    }
    return 0;
}
