#pragma once

// What the two import screens share: the top part (title, the three buttons,
// the chosen file's labels), the data part's month and year boxes, the
// progress bar, and the file dialog that takes the place of the drive, folder
// and file lists.

#include "gui/common/GridModel.h"
#include "services/ImportJobs.h"

#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class QVBoxLayout;
class QWidget;

namespace velmora::app {
struct Session;
}

namespace velmora::import {

struct ImportScreenParts
{
    QGroupBox* GroupBox3 = nullptr;
    QLabel* Label5 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* btnSave_Data = nullptr;
    QPushButton* BitBtn2 = nullptr;
    QLabel* LF_Name = nullptr;
    QLabel* L_Fname = nullptr;
    QLabel* L_Name2 = nullptr;
    QLabel* L_Name3 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QVBoxLayout* dataLayout = nullptr; // inside GroupBox2, below the month and year
    QLabel* Label6 = nullptr;
    QLineEdit* edtData_M = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* edtData_Y = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label1 = nullptr;
};

// Builds the shared controls on `screen` with the given title text.
ImportScreenParts buildImportScreen(QWidget* screen, const QString& title);

// The workbook the officer chooses in the file dialog; empty when none.
QString chooseWorkbook(app::Session& session, QWidget* screen);

// A grid of an import screen: the layout's titles and widths, one blank row
// before a load, each cell's text also as its tooltip.
QTableView* importGrid(QWidget* parent, const char* name, reports::GridModel* model, const GridLayout& layout);
// Shows the rows of a load (one blank row when there are none).
void showRows(reports::GridModel* model, const GridRows& rows);
// The rows as the grid shows them: what a save writes.
GridRows shownRows(const reports::GridModel* model);

// Before a save: false, having told the officer, when nothing is loaded, or
// when the officer does not confirm.
bool confirmSave(app::Session& session, QWidget* screen, bool loaded);
// A save's progress on the screen's bar, redrawn once per percent.
Progress barProgress(QProgressBar* bar);

// The three labels of a chosen file: path and its length, folder and its
// length, file name.
void showChosenFile(const ImportScreenParts& parts, const QString& path);

// Completion message of a save: the system's text, then the counts.
QString completionText(const QStringList& countLines);
// After a load: the rows whose SSN fails its check digit, if any, in one
// message (the first thirty, and how many more).
void warnAboutSsns(app::Session& session, QWidget* screen, const QStringList& warnings);

} // namespace velmora::import
