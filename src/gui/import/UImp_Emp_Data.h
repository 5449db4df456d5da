#pragma once

#include "gui/import/ImportScreen.h"

#include <QWidget>

class QTabWidget;
class QTableView;

namespace velmora::app {
struct Session;
}

namespace velmora::import {

// Employee import: four sheets of a workbook into four grids for review, then
// into EP_Emp_Main, EP_Reason_out, EP_TR_Work_Type and EP_TR_Depart.
class TfrmImp_Emp_Data : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmImp_Emp_Data(app::Session& session, QWidget* parent = nullptr);

    const EmployeeWorkbook& loaded() const { return m_book; }

public slots:
    void FormCreate();
    void BitBtn1Click(); // the file dialog, then the load
    void btnOpen2Click(const QString& path);
    void btnSave_DataClick();
    void BitBtn2Click();

private:
    app::Session& m_session;
    ImportScreenParts m_parts;
    QLabel* Label8 = nullptr;
    QLabel* Label_NoItem = nullptr;
    QLabel* Label9 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    reports::GridModel* m_models[4] = {};
    QTableView* m_grids[4] = {};
    EmployeeWorkbook m_book;
};

} // namespace velmora::import
