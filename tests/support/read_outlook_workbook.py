#!/usr/bin/python3
"""Prints the outlook workbook as JSON for its tests: every sheet's values,
the page orientation, and each chart with its kind and the ranges its series
refer to.

usage: read_outlook_workbook.py FILE
"""
import json
import sys

import openpyxl


def ref(data):
    if data is None:
        return None
    for attr in ("numRef", "strRef"):
        r = getattr(data, attr, None)
        if r is not None:
            return r.f
    return None


def series_name(s):
    if s.tx is None:
        return None
    if s.tx.strRef is not None:
        return {"ref": s.tx.strRef.f}
    return {"text": s.tx.v}


def main():
    wb = openpyxl.load_workbook(sys.argv[1])
    out = {"sheets": []}
    for ws in wb.worksheets:
        charts = []
        for ch in ws._charts:
            charts.append({
                "tag": ch.tagname,
                "barDir": getattr(ch, "barDir", None),
                "grouping": getattr(ch, "grouping", None),
                "anchor_col": ch.anchor._from.col,
                "anchor_row": ch.anchor._from.row,
                "series": [{"values": ref(s.val), "categories": ref(s.cat), "name": series_name(s)}
                           for s in ch.series],
            })
        out["sheets"].append({
            "name": ws.title,
            "orientation": ws.page_setup.orientation,
            "values": [[c.value for c in row] for row in ws.iter_rows()],
            "charts": charts,
        })
    json.dump(out, sys.stdout, ensure_ascii=False, default=str)


if __name__ == "__main__":
    main()
