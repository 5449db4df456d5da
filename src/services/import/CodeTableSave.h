#pragma once

// Sheets 3 and 4 of the employee workbook into the code tables
// (EP_TR_Work_Type, EP_TR_Depart): search by code, update the name or insert
// the row, one row at a time (a handful of rows).

#include "services/import/SheetSave.h"

namespace velmora::import {

class CodeTableSave final : public SheetSave
{
public:
    CodeTableSave(const db::Database& db, int sheet, const QString& sheetName, const char* table,
        const char* codeColumn, const char* nameColumn, int maximum, const Progress& progress, QString* error,
        bool* databaseFault);

    bool prepareStatements(QString* error);

private:
    bool readStored(const std::vector<QStringList>&) override { return true; }
    bool saveRow(const QStringList& r, int row, const QString& code) override;

    QString m_table, m_code, m_name;
    Statement m_find, m_update, m_insert;
};

} // namespace velmora::import
