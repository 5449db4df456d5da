#pragma once

// Rows written many to a statement: an INSERT of `rowsPerStatement` rows
// prepared once and run again for every full batch (the last, shorter batch
// gets its own). The values of a row are bound by position, in the order of
// the columns.

#include "db/Database.h"
#include "db/Prepared.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace velmora::db {

class BatchInsert
{
public:
    BatchInsert(const Database& db, QString table, QStringList columns, int rowsPerStatement, QString purpose);

    // Adds one row (one value per column); a full batch is sent at once.
    // `tag` is the caller's name for the row (a workbook row); *firstTag is
    // set to the tag of the first row of a batch that failed.
    bool add(const QVariantList& values, int tag, QString* why, int* firstTag);
    // Sends the rows waiting, if any.
    bool flush(QString* why, int* firstTag);
    bool pending() const { return !m_pending.isEmpty(); }

private:
    std::unique_ptr<Prepared> prepareFor(int rows, QString* why) const;

    const Database& m_db;
    QString m_table;
    QStringList m_columns;
    int m_rows;
    QString m_purpose;
    QVariantList m_pending;
    int m_firstTag = 0;
    std::unique_ptr<Prepared> m_full;
    std::unique_ptr<Prepared> m_last;
};

} // namespace velmora::db
