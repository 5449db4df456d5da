// A sheet's cells: the sheet part streamed into typed cells, handed over row
// by row (readRows) or gathered into a whole worksheet (readSheet).

#include "files/XlsxReader.h"

#include "files/ImportMessages.h"
#include "files/XlsxXml.h"

namespace velmora::import {

namespace {

// "AB12" -> column 28 (row digits are ignored); 0 if there are no letters.
int columnOfReference(const char* ref)
{
    int col = 0;
    for (; *ref; ++ref) {
        const char c = *ref;
        if (c >= 'A' && c <= 'Z')
            col = col * 26 + (c - 'A' + 1);
        else if (c >= 'a' && c <= 'z')
            col = col * 26 + (c - 'a' + 1);
        else
            break;
        if (col > 1 << 20)
            return -1;
    }
    return col;
}

// ISO 8601 date (cells of type "d") to a day number.
std::optional<double> serialFromIso(std::string_view text)
{
    if (text.size() < 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto y = integerOf(text.substr(0, 4));
    const auto m = integerOf(text.substr(5, 2));
    const auto d = integerOf(text.substr(8, 2));
    if (!y || !m || !d)
        return std::nullopt;
    return serialFromDate(static_cast<int>(*y), static_cast<int>(*m), static_cast<int>(*d));
}

// A sheet: typed cells, handed over row by row.
class SheetHandler : public SaxHandler
{
public:
    SheetHandler(const std::vector<QString>& shared, const std::vector<bool>& dateStyle, bool date1904,
        const WorkbookLimits& limits, const RowSink& sink, QString* sinkError)
        : m_shared(shared)
        , m_dateStyle(dateStyle)
        , m_date1904(date1904)
        , m_limits(limits)
        , m_sink(sink)
        , m_sinkError(sinkError)
    { }

    void start(const char* name, const char** attributes) override
    {
        ++m_depth;
        if (m_cell >= 0) {
            if (m_inValue || m_skip >= 0)
                return;
            if (m_inline >= 0) {
                m_rich.start(name, m_depth - m_inline + 1);
                return;
            }
            if (m_depth != m_cell + 1)
                return;
            if (is(name, "v")) {
                m_inValue = true;
                m_hasValue = true;
                m_value.clear();
            } else if (is(name, "f")) {
                m_hasFormula = true;
                m_skip = m_depth;
            } else if (is(name, "is")) {
                m_inline = m_depth;
                m_hasInline = true;
                m_rich.clear();
            } else {
                m_skip = m_depth;
            }
            return;
        }
        if (is(name, "row"))
            startRow(attributes);
        else if (is(name, "c"))
            startCell(attributes);
    }

    void end(const char*) override
    {
        if (m_cell >= 0) {
            if (m_depth == m_cell) {
                finishCell();
                m_cell = -1;
            } else if (m_inValue && m_depth == m_cell + 1) {
                m_inValue = false;
            } else if (m_skip == m_depth) {
                m_skip = -1;
            } else if (m_inline >= 0) {
                if (m_depth == m_inline)
                    m_inline = -1;
                else
                    m_rich.end(m_depth - m_inline + 1);
            }
        }
        --m_depth;
    }

    void text(const char* s, int n) override
    {
        if (m_inValue)
            m_value.append(s, static_cast<size_t>(n));
        else if (m_inline >= 0)
            m_rich.text(s, n);
    }

    // The last row, once the part has been read.
    bool finish() { return flush(); }

private:
    enum class Type : unsigned char { Number, Shared, Inline, Formula, Bool, Error, Iso };

    bool flush()
    {
        if (m_cells.empty())
            return true;
        const bool ok = m_sink(m_pendingRow, m_cells, m_sinkError);
        m_cells.clear();
        if (!ok)
            fail(Fault::Sink);
        return ok;
    }

    void startRow(const char** attributes)
    {
        if (!flush())
            return;
        const char* r = attribute(attributes, "r");
        if (!r || !*r) {
            ++m_row;
        } else {
            const auto n = integerOf(r);
            if (!n || *n < 1 || *n > (1LL << 30)) {
                fail(Fault::Damaged, QStringLiteral("row r=\"%1\"").arg(QString::fromUtf8(r)));
                return;
            }
            m_row = static_cast<int>(*n);
        }
        if (m_row > m_limits.maxRows) {
            fail(Fault::SheetTooLarge);
            return;
        }
        m_column = 0;
    }

    void startCell(const char** attributes)
    {
        if (m_row == 0)
            m_row = 1;
        const char* type = nullptr;
        int style = -1;
        int newColumn = m_column + 1;
        for (const char** a = attributes; a[0]; a += 2) {
            const char* an = attributeName(a[0]);
            if (is(an, "r")) {
                newColumn = columnOfReference(a[1]);
                if (newColumn < 1) {
                    fail(Fault::Damaged, QStringLiteral("c r=\"%1\"").arg(QString::fromUtf8(a[1])));
                    return;
                }
            } else if (is(an, "t")) {
                type = a[1];
            } else if (is(an, "s")) {
                // an unreadable style is the first one, as it always was
                style = static_cast<int>(integerOf(a[1]).value_or(0));
            }
        }
        m_column = newColumn;
        if (m_column > m_limits.maxColumns) {
            fail(Fault::SheetTooLarge);
            return;
        }
        m_type = Type::Number;
        if (type) {
            if (is(type, "s"))
                m_type = Type::Shared;
            else if (is(type, "inlineStr"))
                m_type = Type::Inline;
            else if (is(type, "str"))
                m_type = Type::Formula;
            else if (is(type, "b"))
                m_type = Type::Bool;
            else if (is(type, "e"))
                m_type = Type::Error;
            else if (is(type, "d"))
                m_type = Type::Iso;
        }
        m_style = style;
        m_cell = m_depth;
        m_hasValue = m_hasFormula = m_hasInline = m_inValue = false;
        m_skip = m_inline = -1;
        m_value.clear();
    }

    QString here() const { return columnName(m_column) + QString::number(m_row); }

    void finishCell()
    {
        // A number or shared-string index written as <v></v> is no value.
        if ((m_type == Type::Number || m_type == Type::Shared) && m_hasValue && m_value.empty())
            m_hasValue = false;
        Cell cell;
        switch (m_type) {
        case Type::Shared: {
            const auto i = m_hasValue ? integerOf(m_value) : std::nullopt;
            if (!i || *i < 0 || *i >= static_cast<long long>(m_shared.size())) {
                fail(Fault::Damaged,
                    QStringLiteral("%1: shared string %2").arg(here(), fromUtf8(std::string(trimmedView(m_value)))));
                return;
            }
            cell = Cell::makeText(m_shared[static_cast<size_t>(*i)]);
            break;
        }
        case Type::Inline:
            cell = Cell::makeText(fromUtf8(m_hasInline ? m_rich.value() : m_value));
            break;
        case Type::Formula:
            cell = Cell::makeText(fromUtf8(m_value));
            break;
        case Type::Bool:
            cell = {Cell::Kind::Bool, trimmedView(m_value) == "1" ? 1.0 : 0.0, {}};
            break;
        case Type::Error:
            cell = {Cell::Kind::Error, 0, fromUtf8(m_value)};
            break;
        case Type::Iso: {
            const auto serial = serialFromIso(m_value);
            cell = serial ? Cell::makeDate(*serial) : Cell {Cell::Kind::Unreadable, 0, fromUtf8(m_value)};
            break;
        }
        case Type::Number: {
            if (!m_hasValue) {
                if (m_hasFormula)
                    cell = {Cell::Kind::Unreadable, 0, QStringLiteral("สูตรที่ไม่มีผลลัพธ์บันทึกไว้")};
                break;
            }
            const auto number = numberOf(m_value);
            if (!number) {
                fail(Fault::Damaged,
                    QStringLiteral("%1: \"%2\"").arg(here(), fromUtf8(std::string(trimmedView(m_value)))));
                return;
            }
            const bool isDate = m_style >= 0 && m_style < static_cast<int>(m_dateStyle.size())
                && m_dateStyle[static_cast<size_t>(m_style)];
            cell = isDate ? Cell::makeDate(m_date1904 ? *number + 1462 : *number) : Cell::makeNumber(*number);
            break;
        }
        }
        if (cell.kind == Cell::Kind::Empty)
            return;
        if (m_cells.empty())
            m_pendingRow = m_row;
        if (static_cast<int>(m_cells.size()) < m_column)
            m_cells.resize(static_cast<size_t>(m_column));
        m_cells[static_cast<size_t>(m_column - 1)] = std::move(cell);
    }

    const std::vector<QString>& m_shared;
    const std::vector<bool>& m_dateStyle;
    const bool m_date1904;
    const WorkbookLimits& m_limits;
    const RowSink& m_sink;
    QString* m_sinkError;

    int m_depth = 0;
    int m_row = 0;
    int m_column = 0;
    int m_pendingRow = 0;
    std::vector<Cell> m_cells; // of m_pendingRow

    // the open cell
    int m_cell = -1; // depth of <c>, or -1
    Type m_type = Type::Number;
    int m_style = -1;
    bool m_hasValue = false, m_hasFormula = false, m_hasInline = false, m_inValue = false;
    int m_skip = -1; // depth of a child left unread
    int m_inline = -1; // depth of <is>
    std::string m_value;
    RichText m_rich;
};

} // namespace

bool XlsxReader::readRows(int index, QString* sheetName, const RowSink& sink, QString* error)
{
    if (index < 1 || index > sheetCount()) {
        *error = msg::tooFewSheets(m_path, sheetCount(), index);
        return false;
    }
    const SheetRef& ref = m_sheets[static_cast<size_t>(index - 1)];
    const QString where = QStringLiteral("แผ่นงานที่ %1").arg(index);
    if (ref.part.isEmpty()) {
        *error = msg::damaged(m_path, where);
        return false;
    }
    *sheetName = ref.name;
    SheetHandler h(m_shared, m_dateStyle, m_date1904, m_limits, sink, error);
    if (!parsePart(ref.part, false, true, h, where, error)) {
        if (h.fault() == SaxHandler::Fault::SheetTooLarge)
            *error = msg::sheetTooLarge(index, ref.name);
        return false;
    }
    return h.finish();
}

bool XlsxReader::readSheet(int index, Worksheet& out, QString* error)
{
    out = Worksheet();
    Worksheet sheet;
    qint64 places = 0;
    const bool ok = readRows(
        index, &sheet.name,
        [&](int row, std::vector<Cell>& cells, QString* why) {
            if (static_cast<int>(sheet.rows.size()) < row)
                sheet.rows.resize(static_cast<size_t>(row));
            std::vector<Cell>& to = sheet.rows[static_cast<size_t>(row - 1)];
            if (to.size() < cells.size()) {
                places += static_cast<qint64>(cells.size() - to.size());
                if (places > m_limits.maxCells) {
                    *why = msg::sheetTooLarge(index, sheet.name);
                    return false;
                }
            }
            if (to.empty()) {
                to = std::move(cells);
                return true;
            }
            if (to.size() < cells.size())
                to.resize(cells.size());
            for (size_t c = 0; c < cells.size(); ++c) {
                if (cells[c].kind != Cell::Kind::Empty)
                    to[c] = std::move(cells[c]);
            }
            return true;
        },
        error);
    if (!ok)
        return false;
    out = std::move(sheet);
    return true;
}

} // namespace velmora::import
