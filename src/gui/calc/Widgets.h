#pragma once

// The calculation screens' own builders and readers, beside the named-widget
// builders of every screen.

#include "gui/common/Widgets.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;

namespace velmora::reports {
class GridModel;
}

namespace velmora::calc::widgets {

using app::button;
using app::label;
// An unnamed caption beside a control.
QLabel* caption(QWidget* parent, const QString& text);
QLineEdit* edit(QWidget* parent, const char* name, bool readOnly);

// A read-only figure, aligned right, at most `width` pixels wide.
QLineEdit* figure(QWidget* parent, const char* name, int width);
// Places a captioned control in a grid row: the caption at `column`, the
// control after it, then its unit ("บาท") when one is given.
void place(QGridLayout* grid, int row, int column, const QString& text, QWidget* control, const QString& unit = {});

// A masked edit for "mm/yyyy" or "dd/mm/yyyy": digits only, "_" marks a
// place not yet typed.
QLineEdit* monthYearEdit(QWidget* parent, const char* name);
QLineEdit* dateEdit(QWidget* parent, const char* name);
// What a masked edit holds, every place kept: a place not typed is a blank
// ("  /  /    " when nothing was typed, "3 /2567" for a half-typed month).
QString maskedText(const QLineEdit* edit);

// The search by part of a first name of the calculation and cancel screens,
// made in this order: "ชื่อ" (CheckBox1), its box edtFind_F_Name, then
// "แสดงข้อมูล" (btnShow_Data) and "กลับสู่เมนูหลัก" (btnExit_Form).
struct NameSearch
{
    QCheckBox* byName = nullptr;
    QLineEdit* name = nullptr;
    QPushButton* show = nullptr;
    QPushButton* exit = nullptr;
};
NameSearch nameSearch(QGroupBox* box);

// The search of the calculation and cancel screens: its two buttons stacked
// at the right end of the criteria grid, then the list of what it found,
// "2. เลือกรายการทั่ต้องการ" (GroupBox2 holding StringGrid1) with these widths.
void placeSearchButtons(QGridLayout* criteria, QPushButton* show, QPushButton* exit);
QTableView* foundList(QWidget* parent, QGroupBox** box, const std::vector<int>& widths);

// A read-only grid over a grid model of its own: whole-row selection,
// resizable columns, no row headers (column 0 carries the row number), the
// widths set again for every new grid.
QTableView* grid(QWidget* parent, const char* name, const std::vector<int>& widths);
reports::GridModel* gridModel(const QTableView* grid);
// Resets the grid to its titles and one empty data row, the first cell current.
void resetGrid(QTableView* grid, const QStringList& titles);
// Shows the rows (0 is the first data row) under the grid's titles, one
// empty row when there is none; the first row's cell of `currentColumn`
// becomes current.
void showRows(QTableView* grid, const QList<QStringList>& rows, int currentColumn = 1);
// Widths of the earlier-payment grid: 50, 70, 180, then 90 for columns 3 to
// 8; the others keep the default.
const std::vector<int>& earlierGridWidths();
QString cellText(const QTableView* grid, int row, int column);
// The selected data row, -1 when none.
int selectedRow(const QTableView* grid);

QString qs(const std::string& text);
std::string us(const QString& text);
QStringList qsList(const std::vector<std::string>& texts);

} // namespace velmora::calc::widgets
