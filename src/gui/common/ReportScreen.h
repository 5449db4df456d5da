#pragma once

#include "files/XlsxExport.h"
#include "gui/common/GridModel.h"
#include "services/ReportQueries.h"

#include <QJsonObject>
#include <QWidget>

#include <functional>
#include <initializer_list>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableView;
class QVBoxLayout;

namespace velmora::app {
struct Session;
}

namespace velmora::reports {

// Where a report screen's export goes and how it is shown to the officer.
// Tests replace both: a folder of their own, and no spreadsheet program.
struct ExportHooks
{
    QString folder; // empty: db::exportFolder()
    std::function<void(const QString&)> open; // empty: the desktop's spreadsheet program
};
ExportHooks& exportHooks();

// The folder an export goes to: the test's folder, else db::exportFolder().
QString exportTargetFolder();

// Shows a written export in the spreadsheet program (or the test's hook);
// when it cannot be opened the officer is told where it was saved.
void showExport(const QString& path, const std::function<void(const QString&)>& inform);

// Every screen's export: the grid through the one logged export procedure
// into a new file of the export folder, then shown. A failure is told through
// `inform`. The file written, or empty.
QString exportAndShow(app::Session& session, const ReportGrid& grid, const ExportOptions& options,
    const QJsonObject& filters, const std::function<void(const QString&)>& inform);

// What every report screen shares: the result grid over a model, the show,
// export and exit buttons, the department and type lists, the messages.
class ReportScreen : public QWidget
{
    Q_OBJECT
public:
    ReportScreen(app::Session& session, QWidget* parent);

    GridModel* model() const { return m_model; }
    // The path of the last export of this screen, empty before one.
    const QString& lastExport() const { return m_lastExport; }

public slots:
    // Runs the screen's search and shows its result.
    virtual void btnShow_DataClick();
    void btnExit_FormClick();
    // Exports the result grid.
    virtual void Button1Click();

protected:
    // The screen's search: the service it calls with the filters as they stand.
    using Search = std::function<ReportResult(const db::Database&)>;
    void setSearch(Search search) { m_search = std::move(search); }

    // The screen's export values.
    virtual ExportOptions exportOptions() const = 0;

    // Shows the result of a search: the rows, or the titles with one blank
    // row and the not-found message, or the message of a refused search.
    void showResult(const ReportResult& result);
    // Fills a choice list and sets its text to the first name.
    void fillChoices(QComboBox* combo, bool workTypes);
    void inform(const QString& text);
    // Writes `grid` through the one export of every screen and shows it.
    void exportGrid(const ReportGrid& grid, const ExportOptions& options);

    // The screen's frame: a column layout with the title line in `colour`.
    QVBoxLayout* beginScreen(const QString& title, const char* colour);
    // Makes "แสดงข้อมูล", "กลับสู่เมนูหลัก" and "Export Ms Excel", each wired
    // to its handler, for the screen to place.
    void makeButtons();
    // The row of buttons: "แสดงข้อมูล", "Export Ms Excel", the screen's
    // own, then "กลับสู่เมนูหลัก" at the far end; each wired to its handler.
    QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> more = {});
    // The result grid over model(): the given column widths, `otherWidth`
    // for columns past them; with `wholeRows` a click chooses a whole line.
    QTableView* makeGrid(const QList<int>& widths, int otherWidth = 0, bool wholeRows = false);
    QPushButton* makeButton(const char* name, const QString& caption);
    QLabel* makeLabel(const char* name, const QString& caption);

    app::Session& m_session;
    QTableView* StringGrid1 = nullptr;
    QPushButton* btnShow_Data = nullptr;
    QPushButton* btnExit_Form = nullptr;
    QPushButton* Button1 = nullptr;

private:
    Search m_search;
    GridModel* m_model = nullptr;
    QString m_lastExport;
};

} // namespace velmora::reports
