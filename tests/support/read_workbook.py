#!/usr/bin/python3
"""Prints what an exported workbook holds, as JSON, for the export tests.

usage: read_workbook.py FILE ROWS COLUMNS
"""
import json
import sys

import openpyxl


def colour(c):
    if c is None or c.type != "rgb" or c.rgb is None:
        return None
    return str(c.rgb)[-6:].upper()


def border_letters(b):
    out = ""
    for letter, side in (("L", b.left), ("R", b.right), ("T", b.top), ("B", b.bottom)):
        if side is not None and side.style is not None:
            out += letter if side.style == "thin" else letter.lower()
    return out


def main():
    path, rows, cols = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    wb = openpyxl.load_workbook(path)
    ws = wb.worksheets[0]
    # Taken before the cells are read: reading a cell makes it exist.
    max_row, max_column = ws.max_row, ws.max_column
    cells = []
    for r in range(1, rows + 1):
        line = []
        for c in range(1, cols + 1):
            cell = ws.cell(row=r, column=c)
            fill = cell.fill
            line.append({
                "v": cell.value,
                "t": cell.data_type,
                "fc": colour(cell.font.color) if cell.font else None,
                "fs": cell.font.sz if cell.font else None,
                "fp": fill.patternType if fill is not None else None,
                "fill": colour(fill.fgColor) if fill is not None and fill.patternType else None,
                "al": cell.alignment.horizontal,
                "b": border_letters(cell.border),
                "nf": cell.number_format,
            })
        cells.append(line)
    widths = {}
    for letter in "ABCDEFGHI":
        dim = ws.column_dimensions.get(letter)
        widths[letter] = dim.width if dim is not None and dim.customWidth else None
    m = ws.page_margins
    out = {
        "sheets": wb.sheetnames,
        "max_row": max_row,
        "max_column": max_column,
        "cells": cells,
        "widths": widths,
        "print_title_rows": ws.print_title_rows,
        "margins": {"left": m.left, "right": m.right, "top": m.top, "bottom": m.bottom,
                    "header": m.header, "footer": m.footer},
        "header_left": ws.oddHeader.left.text,
        "header_right": ws.oddHeader.right.text,
        "footer_left": ws.oddFooter.left.text,
        "footer_right": ws.oddFooter.right.text,
        "paper": ws.page_setup.paperSize,
        "orientation": ws.page_setup.orientation,
        "page_order": ws.page_setup.pageOrder,
        "first_page_number": ws.page_setup.firstPageNumber,
        "use_first_page_number": ws.page_setup.useFirstPageNumber,
        "draft": ws.page_setup.draft,
    }
    json.dump(out, sys.stdout, ensure_ascii=False, default=str)


if __name__ == "__main__":
    main()
