#pragma once

#include "gui/import/ImportScreen.h"

#include <QWidget>

class QTableView;

namespace velmora::app {
struct Session;
}

namespace velmora::import {

// Employment-history import: sheet 1 of a workbook into one grid for review,
// then into EP_Work_Histry.
class TfrmImp_Work_Type : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmImp_Work_Type(app::Session& session, QWidget* parent = nullptr);

public slots:
    void FormCreate();
    void BitBtn1Click();
    void btnOpen2Click(const QString& path);
    void btnSave_DataClick();
    void BitBtn2Click();

private:
    app::Session& m_session;
    ImportScreenParts m_parts;
    reports::GridModel* m_model = nullptr;
    QTableView* StringGrid1 = nullptr;
    HistoryWorkbook m_book;
};

} // namespace velmora::import
