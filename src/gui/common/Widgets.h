#pragma once

// The named-widget builders of every screen. A control's objectName is how
// the keyboard rules, the tests and the officer's help find it, so every
// control a screen keeps is made here with its name.

#include <QList>
#include <QString>

#include <utility>

class QComboBox;
class QFont;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class QAbstractItemModel;
class QWidget;

namespace velmora::app {

// Gives `widget` its objectName and hands it back.
template <typename W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// Any control made with (arguments…, parent) and named.
template <typename W, typename... Args>
W* make(QWidget* parent, const char* name, Args&&... args)
{
    return named(new W(std::forward<Args>(args)..., parent), name);
}

QLabel* label(QWidget* parent, const char* name, const QString& caption);
// A screen's title line: centred, bold, 16 points, in the screen's colour.
QLabel* heading(QWidget* parent, const char* name, const QString& caption, const char* colour);
// Scales the widget's font by `factor`, bold or not (titles, totals).
void scaleFont(QWidget* widget, double factor, bool bold);
// Text in `foreground` (a colour name), on `background` when one is given.
void colour(QWidget* widget, const char* foreground, const char* background = nullptr);
// A title line of the calculation screens: bold, `factor` times the font, in
// `foreground` (on `background` when one is given).
QLabel* title(QWidget* parent, const char* name, const QString& caption, double factor, const char* foreground,
    const char* background = nullptr);
// A push button that Enter presses only when it has the focus (the keyboard
// rules), never as a dialog's default.
QPushButton* button(QWidget* parent, const char* name, const QString& caption);
QLineEdit* lineEdit(QWidget* parent, const char* name);
QGroupBox* groupBox(QWidget* parent, const char* name, const QString& caption);

// Controls laid in a row inside their group box (the box gets a row layout
// when it has none yet).
QRadioButton* radio(QGroupBox* box, const char* name, const QString& caption);
// A choice list that also takes free text, at least 20 characters wide.
QComboBox* choiceBox(QGroupBox* box, const char* name);
// A short box (90 pixels at most).
QLineEdit* editBox(QGroupBox* box, const char* name);
// A short box with an input mask ("99/99/0000;_": a date with its slashes).
QLineEdit* maskedBox(QGroupBox* box, const char* name, const QString& mask);

// The era a year box wants, shown right after the box in its row as
// "ค.ศ." or "พ.ศ." (objectName: the box's name + "Era") and as its tooltip.
enum class Era { Christian, Buddhist };
QString eraText(Era era);
QLabel* eraNote(QLineEdit* yearBox, Era era);

// A read-only grid view over `model`: no row headers (column 0 holds the
// running number), one line per row, resizable columns. With `wholeRows`, a
// click chooses one whole row.
QTableView* gridView(QWidget* parent, const char* name, QAbstractItemModel* model, bool wholeRows);
// A width in pixels of the specified layouts, made for an 8-point face whose
// average character is 5 pixels wide, in pixels of `font` (the program's
// default font is wider: 6 pixels a character at 9 points).
int layoutWidth(int pixels, const QFont& font);
// Column c gets widths[c] pixels of the layouts, scaled by layoutWidth; a
// column past the list gets `otherWidth`; a width of 0 or less leaves the
// column as it is. Every column is then widened to its title if need be, so
// that no title is cut.
void setColumnWidths(QTableView* view, const QList<int>& widths, int otherWidth = 0);
// The list a screen's search fills for the officer to choose one line from:
// the group box "2. เลือกรายการทั่ต้องการ" (GroupBox2) holding StringGrid1, a
// grid view over `model` where a click chooses a whole line, with `widths`
// kept after every new grid.
QTableView* choiceList(QWidget* parent, QAbstractItemModel* model, const QList<int>& widths, QGroupBox** box);
// The same widths again after every new grid of the view's model (a reset
// gives every column the default width); with no widths, every column is
// only widened to its title.
void keepColumnWidths(QTableView* view, const QList<int>& widths, int otherWidth = 0);

} // namespace velmora::app
