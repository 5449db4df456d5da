#pragma once

// The month-end run screen: choose the employees (contract ends of a month,
// optionally one department or type, or a list of SAP IDs), preview every one
// with the calculation's own loading and steps, mark the ready lines, save
// them, print their request documents with their annexes, export the grid.
// The screen reads its controls and calls the run service; velmora-cli run
// calls the same.

#include "gui/common/GridModel.h"
#include "pages/PageLayout.h"
#include "services/MonthEndRun.h"

#include <QList>
#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace velmora::app {
struct Session;
}

namespace velmora::run {

class TfrmRun_Month_End : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmRun_Month_End(app::Session& session, QWidget* parent = nullptr);

    // Shows the printed pages; the print preview unless a test replaces it.
    std::function<void(const QList<print::PageLayout>&)> showPreview;

    // The choice as the controls hold it.
    Run_Choice choice() const;
    const Run_Preview& preview() const { return m_preview; }
    // The marks of the lines, indexed as preview().lines.
    std::vector<bool> marks() const;
    // The path of the last export, empty before one.
    const QString& lastExport() const { return m_lastExport; }

public slots:
    void btnPreviewClick();
    void btnSelect_allClick();
    void btnRelease_AllClick();
    void btnSave_MarkedClick();
    void btnPrint_RunClick();
    void btnExpExcelClick();
    void btnExit_FormClick();
    // The chosen line in full below the grid: the columns past the screen's
    // edge (state, reason, the SSN note) are read there.
    void StringGrid1RowChanged();

private:
    void FormCreate();
    void showLines();
    void setAllMarks(bool marked);
    void inform(const QString& text);

    app::Session& m_session;
    Run_Preview m_preview;
    QString m_lastExport;
    reports::GridModel* m_lines = nullptr;

    QLabel* Label5 = nullptr;
    QLineEdit* edtMMYYYY_Recieve1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QLineEdit* edtYear_Mon_Select = nullptr;
    QComboBox* cmbDepart = nullptr;
    QComboBox* cmbWork_Type = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    QPlainTextEdit* edtSapIDs = nullptr;
    QPushButton* btnPreview = nullptr;
    QTableView* StringGrid1 = nullptr;
    QLabel* lblLine_Detail = nullptr;
    QLabel* lblTotals = nullptr;
    QPushButton* btnSelect_all = nullptr;
    QPushButton* btnRelease_All = nullptr;
    QPushButton* btnSave_Marked = nullptr;
    QPushButton* btnPrint_Run = nullptr;
    QPushButton* btnExpExcel = nullptr;
    QPushButton* btnExit_Form = nullptr;
};

} // namespace velmora::run
