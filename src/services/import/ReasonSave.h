#pragma once

// Sheet 2 of the employee workbook into EP_Reason_out: the reason for
// leaving, one per employee, updated or inserted.

#include "services/import/SheetSave.h"

#include <QHash>
#include <QVariant>

namespace velmora::import {

class ReasonSave final : public SheetSave
{
public:
    ReasonSave(const db::Database& db, const QString& sheetName, bool fast, int maximum, const Progress& progress,
        QString* error, bool* databaseFault);

    bool prepareStatements(QString* error);

private:
    bool readStored(const std::vector<QStringList>& chunk) override;
    bool saveRow(const QStringList& r, int row, const QString& sapId) override;

    db::BatchInsert m_insert;
    Statement m_update;
    QHash<QString, QVariant> m_stored;
};

} // namespace velmora::import
