#!/usr/bin/python3
"""Prints the outlook workbook as JSON for its tests: every sheet's values,
the page orientation, and each chart with its kind, its axes' titles and
number formats, and the ranges its series refer to.

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


def title_text(title):
    """The plain text of a chart or axis title (its rich-text runs)."""
    if title is None or title.tx is None or title.tx.rich is None:
        return None
    return "".join(run.t for par in title.tx.rich.p for run in (par.r or []))


def axis(a):
    return {
        "title": title_text(a.title),
        "numFmt": a.numFmt.formatCode if a.numFmt is not None else None,
        "sourceLinked": bool(a.numFmt.sourceLinked) if a.numFmt is not None else None,
    }


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
                "x_axis": axis(ch.x_axis),
                "y_axis": axis(ch.y_axis),
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
