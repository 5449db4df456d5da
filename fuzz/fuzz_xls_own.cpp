// The .xls reader without the library part, in memory: the compound-file
// reader and the BIFF record scan (on a compound file, or on a bare workbook
// stream), and the parser of the helper's frames (input beginning "VXC1").
#include "FuzzSupport.h"

#include "files/CompoundFile.h"
#include "files/XlsReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace velmora::import;
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    int sheets = 0;
    std::map<int, std::map<std::pair<int, int>, Cell>> cells;
    if (input.startsWith("VXC1")) {
        XlsCells book;
        book.limits = velmora::fuzz::fuzzLimits();
        QString detail;
        if (readXlsCells(input, &book, &detail)) {
            if (!book.complete && book.refusal == 0)
                std::abort();
            for (const auto& sheet : book.sheets) {
                if (sheet.sheet.rowCount() > book.limits.maxRows)
                    std::abort();
                for (const auto& row : sheet.sheet.rows)
                    if (static_cast<int>(row.size()) > book.limits.maxColumns)
                        std::abort();
            }
        } else if (detail.isEmpty() || !book.sheets.empty()) {
            std::abort();
        }
        return 0;
    }
    if (input.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1"))) {
        QByteArray stream;
        QString why;
        for (const char* name : {"Workbook", "Book", "\x05SummaryInformation"}) {
            if (readCompoundStream(input, QString::fromLatin1(name), &stream, &why)) {
                if (std::strcmp(name, "Workbook") == 0)
                    (void)scanRecordedCells(stream, &sheets, &cells);
            } else if (why.isEmpty() || !stream.isEmpty()) {
                std::abort();
            }
        }
        return 0;
    }
    (void)scanRecordedCells(input, &sheets, &cells);
    return 0;
}
