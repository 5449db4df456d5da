#pragma once

// The liability outlook screen: the compensation falling due per month
// (contracts ending) or per Buddhist-era year (staff reaching 60), by
// department or employment type, as a table and a stacked bar chart; export
// and print.

#include "gui/common/FilterGroups.h"
#include "gui/common/ReportScreen.h"
#include "pages/PageLayout.h"
#include "services/OutlookService.h"

#include <functional>

class QChartView;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableView;

namespace velmora::reports {

class TfrmRep_Outlook : public ReportScreen
{
    Q_OBJECT
public:
    explicit TfrmRep_Outlook(app::Session& session, QWidget* parent = nullptr);

    outlook::Outlook_Criteria criteria() const;
    const outlook::Outlook_Result& result() const { return m_result; }
    GridModel* refusalModel() const { return m_refusals; }
    QChartView* chartView() const { return chartOutlook; }
    // The path of the last export, empty before one.
    const QString& lastOutlookExport() const { return m_lastOutlookExport; }

    // Replaces the print preview (tests).
    std::function<void(const QList<print::PageLayout>&)> showPreview;

public slots:
    void btnShow_DataClick() override;
    // The outlook's own workbook (table and chart), not the plain grid.
    void Button1Click() override;
    void btnExportClick();
    void btnPrintClick();
    void rbKindClick();

protected:
    ExportOptions exportOptions() const override;

private:
    void FormCreate();
    void showChart();

    QGroupBox* GroupBox1 = nullptr; // the outlook kind
    QRadioButton* rbContract_End = nullptr;
    QRadioButton* rbAge60 = nullptr;
    QGroupBox* GroupBox3 = nullptr; // periods and raise
    QLabel* lblFrom = nullptr;
    QLineEdit* edtFrom = nullptr;
    QLabel* lblCount = nullptr;
    QLineEdit* edtCount = nullptr;
    QLineEdit* edtRaise = nullptr;
    QGroupBox* GroupBox5 = nullptr; // the grouping
    QRadioButton* rbBy_Department = nullptr;
    QRadioButton* rbBy_Type = nullptr;
    app::ChoiceFilter m_department;
    QPushButton* btnPrint = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QChartView* chartOutlook = nullptr;
    QTableView* StringGrid2 = nullptr;
    GridModel* m_refusals = nullptr;
    outlook::Outlook_Result m_result;
    QString m_lastOutlookExport;
};

} // namespace velmora::reports
