#pragma once

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>

namespace velmora::test {

// Reads an exported workbook back with openpyxl (read_workbook.py): the
// first `rows` x `columns` cells with their styles, and the page settings.
inline QJsonObject readWorkbook(const QString& path, int rows, int columns, QString* error)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
        {QStringLiteral(VELMORA_SOURCE_DIR "/tests/support/read_workbook.py"), path, QString::number(rows),
            QString::number(columns)});
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        *error = QString::fromUtf8(p.readAllStandardError());
        return {};
    }
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(p.readAllStandardOutput(), &pe);
    if (pe.error != QJsonParseError::NoError) {
        *error = pe.errorString();
        return {};
    }
    return doc.object();
}

// The cell at 1-based row and column.
inline QJsonObject cellAt(const QJsonObject& book, int row, int column)
{
    return book.value(QStringLiteral("cells")).toArray().at(row - 1).toArray().at(column - 1).toObject();
}

} // namespace velmora::test
