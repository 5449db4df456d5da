#!/usr/bin/python3
"""Writes the employee workbook as another office program would: python
xlsxwriter in constant-memory mode, so every text is an inline string (no
shared-string table), and a reason for leaving for every employee.

    generate_inline.py OUT.xlsx [EMPLOYEES]

The same employees, dates and salaries as bench_import_generate writes.
"""
import datetime
import sys

import xlsxwriter

TITLES = ["นาย", "นาง", "นางสาว"]
FIRST = ["สมชาย", "สุดา", "มาลี", "ประเสริฐ", "กานดา", "วิชัย", "บุญมี", "อนันต์", "ปราณี", "ธนา"]
LAST = ["ใจดี", "รักงาน", "ศรีสุข", "มั่นคง", "แก้วใส", "ทองดี", "มีสุข", "ยิ่งยง", "ใจงาม", "สุขสันต์"]
REASONS = ["ครบกำหนดระยะเวลาการจ้างตามสัญญา", "เกษียณอายุงาน", "ลาออก"]


def main():
    path = sys.argv[1]
    rows = int(sys.argv[2]) if len(sys.argv) > 2 else 50000
    wb = xlsxwriter.Workbook(path, {"constant_memory": True})
    date = wb.add_format({"num_format": "dd/mm/yyyy"})
    s1 = wb.add_worksheet("พนักงาน")
    s1.write_string(0, 1, "12")
    s1.write_string(0, 3, "2567")
    heads = ["SapID", "SSN", "คำนำหน้า", "ชื่อ", "นามสกุล", "เกิด", "เริ่มงาน", "ประเภท", "สิ้นสุดสัญญา", "ส่วนงาน", "เงินเดือน"]
    for c, h in enumerate(heads):
        s1.write_string(1, c, h)
    for i in range(rows):
        r = i + 2
        s1.write_string(r, 0, str(10000000 + i))
        s1.write_string(r, 1, str(3100100000000 + i * 7))
        s1.write_string(r, 2, TITLES[i % 3])
        s1.write_string(r, 3, FIRST[i % 10] + str(i))
        s1.write_string(r, 4, LAST[(i // 10) % 10])
        s1.write_datetime(r, 5, datetime.datetime(1960 + i % 40, 1 + i % 12, 1 + i % 28), date)
        s1.write_datetime(r, 6, datetime.datetime(2000 + i % 20, 1 + (i // 3) % 12, 1 + (i // 7) % 28), date)
        s1.write_string(r, 7, "2" if i % 2 else "3")
        if i % 5 != 0:
            s1.write_datetime(r, 8, datetime.datetime(2025 + i % 5, 1 + i % 12, 28), date)
        s1.write_string(r, 9, str(10 + i % 40))
        s1.write_number(r, 10, 15000 + (i % 300) * 50.5)
    s2 = wb.add_worksheet("เหตุแห่งการออก")
    for i in range(rows):
        s2.write_string(i + 2, 0, str(10000000 + i))
        s2.write_string(i + 2, 1, REASONS[i % 3])
    s3 = wb.add_worksheet("ประเภทการจ้าง")
    s3.write_string(2, 0, "2")
    s3.write_string(2, 1, "พนักงานมหาวิทยาลัย")
    s3.write_string(3, 0, "3")
    s3.write_string(3, 1, "พนักงานส่วนงาน")
    s4 = wb.add_worksheet("ส่วนงาน")
    for i in range(40):
        s4.write_string(i + 2, 0, str(10 + i))
        s4.write_string(i + 2, 1, "คณะที่ %d" % (i + 1))
    wb.close()


if __name__ == "__main__":
    main()
