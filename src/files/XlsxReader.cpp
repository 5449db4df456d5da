#include "files/XlsxReader.h"

#include "files/ImportMessages.h"

#include <QFile>
#include <QHash>

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include <expat.h>
#include <zip.h>

namespace velmora::import {

// Receives the events of one part from expat. Names come without their
// namespace (the part after the separator). A handler stops the parse with
// fail(); the driver turns the fault into the message.
class SaxHandler
{
public:
    enum class Fault : unsigned char { None, Damaged, SheetTooLarge, FileTooLarge, Sink };

    virtual ~SaxHandler() = default;
    virtual void start(const char* name, const char** attributes) = 0;
    virtual void end(const char* name) = 0;
    virtual void text(const char*, int) { }

    void fail(Fault fault, QString detail = {})
    {
        if (m_fault == Fault::None) {
            m_fault = fault;
            m_detail = std::move(detail);
        }
        if (m_parser)
            XML_StopParser(m_parser, XML_FALSE);
    }
    Fault fault() const { return m_fault; }
    const QString& detail() const { return m_detail; }
    void attach(XML_Parser parser) { m_parser = parser; }

private:
    XML_Parser m_parser = nullptr;
    Fault m_fault = Fault::None;
    QString m_detail;
};

namespace {

// The name after its prefix ("x:c" is "c"). The parser leaves namespaces
// unresolved (resolving them copies the namespace's name into every tag);
// the reader goes by local names alone, whatever the namespace.
const char* localName(const char* name)
{
    const char* colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}

// The local name of an attribute; empty for a namespace declaration
// ("xmlns", "xmlns:r"), which is not an attribute of the element.
const char* attributeName(const char* name)
{
    if (std::strncmp(name, "xmlns", 5) == 0 && (name[5] == '\0' || name[5] == ':'))
        return "";
    return localName(name);
}

bool is(const char* name, const char* wanted)
{
    return std::strcmp(name, wanted) == 0;
}

// The value of an attribute by local name, or null.
const char* attribute(const char** attributes, const char* wanted)
{
    for (; attributes[0]; attributes += 2) {
        if (is(attributeName(attributes[0]), wanted))
            return attributes[1];
    }
    return nullptr;
}

std::string_view trimmedView(std::string_view s)
{
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!s.empty() && space(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && space(s.back()))
        s.remove_suffix(1);
    return s;
}

// A whole integer (blanks around it and a leading '+' allowed).
std::optional<long long> integerOf(std::string_view s)
{
    s = trimmedView(s);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    long long v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return v;
}

// A finite decimal number as a cell stores it ("25000", "0.5", "1E-3").
std::optional<double> numberOf(std::string_view s)
{
    s = trimmedView(s);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// Resolves a relationship target against the folder of the part that names
// it, as a path inside the package; none when it would leave the package.
std::optional<QString> resolveTarget(const QString& baseFolder, const QString& target)
{
    QStringList parts;
    QString rest = target;
    if (rest.startsWith(QLatin1Char('/')))
        rest = rest.mid(1);
    else if (!baseFolder.isEmpty())
        parts = baseFolder.split(QLatin1Char('/'));
    for (const QString& piece : rest.split(QLatin1Char('/'))) {
        if (piece == QLatin1String("..")) {
            if (parts.isEmpty())
                return std::nullopt;
            parts.removeLast();
        } else if (piece != QLatin1String(".") && !piece.isEmpty()) {
            parts << piece;
        }
    }
    return parts.join(QLatin1Char('/'));
}

QString folderOf(const QString& part)
{
    const int slash = part.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : part.left(slash);
}

struct Relationship
{
    QString id;
    QString type;
    QString target;
};

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

QString fromUtf8(const std::string& s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The text of an <si> or <is> element: its <t> and the <t> of its runs (with
// whatever those hold), phonetic guides (<rPh>) left out. Fed the events
// inside the element, depth counted from the element itself (1).
class RichText
{
public:
    void clear()
    {
        m_text.clear();
        m_phonetic = m_t = -1;
    }
    void start(const char* name, int depth)
    {
        if (m_t >= 0)
            return;
        if (is(name, "rPh")) {
            if (m_phonetic < 0)
                m_phonetic = depth;
        } else if (is(name, "t") && m_phonetic < 0) {
            m_t = depth;
        }
    }
    void end(int depth)
    {
        if (depth == m_t)
            m_t = -1;
        else if (depth == m_phonetic)
            m_phonetic = -1;
    }
    void text(const char* s, int n)
    {
        if (m_t >= 0)
            m_text.append(s, static_cast<size_t>(n));
    }
    const std::string& value() const { return m_text; }

private:
    std::string m_text;
    int m_phonetic = -1;
    int m_t = -1;
};

// A handler made of small functions, for the little parts.
class SimpleHandler : public SaxHandler
{
public:
    std::function<void(const char*, const char**)> onStart;
    std::function<void(const char*)> onEnd;
    void start(const char* name, const char** attributes) override
    {
        if (onStart)
            onStart(name, attributes);
    }
    void end(const char* name) override
    {
        if (onEnd)
            onEnd(name);
    }
};

class SharedStringsHandler : public SaxHandler
{
public:
    SharedStringsHandler(std::vector<QString>& out, qint64 limit)
        : m_out(out)
        , m_limit(limit)
    { }
    void start(const char* name, const char** attributes) override
    {
        ++m_depth;
        if (m_si >= 0) {
            m_rich.start(name, m_depth - m_si + 1);
        } else if (is(name, "si")) {
            m_si = m_depth;
            m_rich.clear();
        } else if (is(name, "sst")) {
            if (const char* n = attribute(attributes, "uniqueCount")) {
                const auto unique = integerOf(n);
                if (unique && *unique > 0 && *unique <= m_limit)
                    m_out.reserve(static_cast<size_t>(*unique));
            }
        }
    }
    void end(const char*) override
    {
        if (m_si >= 0) {
            if (m_depth == m_si) {
                m_si = -1;
                m_out.push_back(fromUtf8(m_rich.value()));
                if (static_cast<qint64>(m_out.size()) > m_limit)
                    fail(Fault::FileTooLarge);
            } else {
                m_rich.end(m_depth - m_si + 1);
            }
        }
        --m_depth;
    }
    void text(const char* s, int n) override
    {
        if (m_si >= 0)
            m_rich.text(s, n);
    }

private:
    std::vector<QString>& m_out;
    qint64 m_limit;
    int m_depth = 0;
    int m_si = -1;
    RichText m_rich;
};

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

// expat's callbacks, counting depth for the bound.
struct ParseState
{
    SaxHandler* handler;
    XML_Parser parser;
    int depth = 0;
    int maxDepth = 0;
    bool tooDeep = false;
    bool dtd = false;
};

void XMLCALL onStart(void* user, const XML_Char* name, const XML_Char** attributes)
{
    auto* s = static_cast<ParseState*>(user);
    if (++s->depth > s->maxDepth) {
        s->tooDeep = true;
        XML_StopParser(s->parser, XML_FALSE);
        return;
    }
    s->handler->start(localName(name), attributes);
}

void XMLCALL onEnd(void* user, const XML_Char* name)
{
    auto* s = static_cast<ParseState*>(user);
    s->handler->end(localName(name));
    --s->depth;
}

void XMLCALL onText(void* user, const XML_Char* text, int length)
{
    static_cast<ParseState*>(user)->handler->text(text, length);
}

void XMLCALL onDoctype(void* user, const XML_Char*, const XML_Char*, const XML_Char*, int)
{
    auto* s = static_cast<ParseState*>(user);
    s->dtd = true;
    XML_StopParser(s->parser, XML_FALSE);
}

void XMLCALL onEntity(void* user, const XML_Char*, int, const XML_Char*, int, const XML_Char*, const XML_Char*,
    const XML_Char*, const XML_Char*)
{
    onDoctype(user, nullptr, nullptr, nullptr, 0);
}

} // namespace

bool isDateFormat(int numFmtId, const QString& code)
{
    if (code.isEmpty()) {
        return (numFmtId >= 14 && numFmtId <= 22) || (numFmtId >= 27 && numFmtId <= 36)
            || (numFmtId >= 45 && numFmtId <= 47) || (numFmtId >= 50 && numFmtId <= 58)
            || (numFmtId >= 71 && numFmtId <= 81);
    }
    if (code.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0)
        return false;
    // Only the first section (positive numbers) decides.
    bool inQuote = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar ch = code.at(i);
        if (inQuote) {
            if (ch == QLatin1Char('"'))
                inQuote = false;
            continue;
        }
        switch (ch.unicode()) {
        case u'"':
            inQuote = true;
            continue;
        case u'\\':
        case u'_':
        case u'*':
            ++i;
            continue; // the next character is shown as it is
        case u'[': {
            const qsizetype close = code.indexOf(QLatin1Char(']'), i);
            if (close < 0)
                return false;
            // [h], [mm], [ss]: elapsed time
            const QString inner = code.mid(i + 1, close - i - 1).toLower();
            if (!inner.isEmpty()
                && (inner.at(0) == QLatin1Char('h') || inner.at(0) == QLatin1Char('m')
                    || inner.at(0) == QLatin1Char('s'))
                && inner.count(inner.at(0)) == inner.size())
                return true;
            i = close;
            continue;
        }
        case u';':
            return false;
        case u'd':
        case u'D':
        case u'y':
        case u'Y':
        case u'm':
        case u'M':
        case u'h':
        case u'H':
        case u's':
        case u'S':
        case u'b':
        case u'B':
            return true;
        case u'e':
        case u'E': {
            const QChar next = i + 1 < code.size() ? code.at(i + 1) : QChar();
            if (next == QLatin1Char('+') || next == QLatin1Char('-'))
                continue; // scientific notation
            return true; // era year
        }
        case u'\u0E27':
        case u'\u0E14':
        case u'\u0E1B':
        case u'\u0E0A':
        case u'\u0E19':
        case u'\u0E17':
            return true; // Thai day, month, year, hour, minute, second tokens
        default:
            continue;
        }
    }
    return false;
}

XlsxReader::~XlsxReader()
{
    if (m_zip)
        zip_discard(m_zip);
}

std::unique_ptr<Workbook> XlsxReader::open(const QString& path, QString* error, const WorkbookLimits& limits)
{
    std::unique_ptr<XlsxReader> book(new XlsxReader(path, limits));
    int code = 0;
    book->m_zip = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!book->m_zip) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, code);
        *error = msg::damaged(path, QString::fromUtf8(zip_error_strerror(&ze)));
        zip_error_fini(&ze);
        return nullptr;
    }
    if (zip_get_num_entries(book->m_zip, 0) > 10000) {
        *error = msg::tooLarge(path);
        return nullptr;
    }
    if (!book->readStructure(error))
        return nullptr;
    return book;
}

bool XlsxReader::parsePart(
    const QString& name, bool optional, bool bulky, SaxHandler& handler, const QString& where, QString* error) const
{
    const zip_int64_t index = zip_name_locate(m_zip, name.toUtf8().constData(), ZIP_FL_NOCASE);
    if (index < 0) {
        if (optional)
            return true;
        *error = msg::damaged(m_path, QStringLiteral("ไม่มี %1").arg(name));
        return false;
    }
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(m_zip, static_cast<zip_uint64_t>(index), 0, &st) != 0) {
        *error = msg::damaged(m_path, name);
        return false;
    }
    if (!bulky && (st.valid & ZIP_STAT_SIZE) && st.size > static_cast<zip_uint64_t>(m_limits.maxPartBytes)) {
        *error = msg::tooLarge(m_path);
        return false;
    }
    // What the part may inflate to; the size in the directory may lie, so
    // what really comes out is counted.
    const qint64 compressed =
        (st.valid & ZIP_STAT_COMP_SIZE) ? static_cast<qint64>(st.comp_size) : m_limits.maxFileBytes;
    qint64 allowed = std::max(m_limits.maxInflateFloor, compressed * m_limits.maxInflateRatio);
    if (!bulky)
        allowed = std::min(allowed, m_limits.maxPartBytes);

    zip_file_t* f = zip_fopen_index(m_zip, static_cast<zip_uint64_t>(index), 0);
    if (!f) {
        *error = msg::damaged(m_path, QString::fromUtf8(zip_strerror(m_zip)));
        return false;
    }
    XML_Parser parser = XML_ParserCreate(nullptr);
    if (!parser) {
        zip_fclose(f);
        *error = msg::damaged(m_path, where);
        return false;
    }
    ParseState state {&handler, parser, 0, m_limits.maxDepth};
    handler.attach(parser);
    XML_SetUserData(parser, &state);
    XML_SetElementHandler(parser, onStart, onEnd);
    XML_SetCharacterDataHandler(parser, onText);
    XML_SetStartDoctypeDeclHandler(parser, onDoctype);
    XML_SetEntityDeclHandler(parser, onEntity);

    const int chunk = 1 << 16;
    qint64 inflated = 0;
    bool ok = true;
    QString failure; // a damaged part: what is wrong
    bool tooLarge = false;
    for (;;) {
        void* buffer = XML_GetBuffer(parser, chunk);
        if (!buffer) {
            ok = false;
            failure = QString::fromUtf8(XML_ErrorString(XML_GetErrorCode(parser)));
            break;
        }
        const zip_int64_t n = zip_fread(f, buffer, chunk);
        if (n < 0) {
            ok = false;
            failure = QString::fromUtf8(zip_file_strerror(f));
            break;
        }
        inflated += n;
        if (inflated > allowed) {
            ok = false;
            tooLarge = true;
            break;
        }
        if (XML_ParseBuffer(parser, static_cast<int>(n), n == 0) != XML_STATUS_OK) {
            ok = false;
            if (state.dtd)
                failure = QStringLiteral("DTD");
            else if (state.tooDeep)
                failure = QStringLiteral("ซ้อนกันลึกเกิน %1 ชั้น").arg(m_limits.maxDepth);
            else if (handler.fault() == SaxHandler::Fault::None)
                failure = QStringLiteral("%1 (บรรทัด %2)")
                              .arg(QString::fromUtf8(XML_ErrorString(XML_GetErrorCode(parser))))
                              .arg(XML_GetCurrentLineNumber(parser));
            break;
        }
        if (n == 0)
            break;
    }
    XML_ParserFree(parser);
    handler.attach(nullptr);
    if (zip_fclose(f) != 0 && ok) {
        ok = false;
        failure = name;
    }
    if (ok)
        return true;
    if (tooLarge) {
        *error = msg::tooLarge(m_path);
        return false;
    }
    switch (handler.fault()) {
    case SaxHandler::Fault::None:
    case SaxHandler::Fault::Damaged:
        *error = msg::damaged(m_path, where + QStringLiteral(": ") + (failure.isEmpty() ? handler.detail() : failure));
        break;
    case SaxHandler::Fault::SheetTooLarge:
        break; // the caller names the sheet
    case SaxHandler::Fault::FileTooLarge:
        *error = msg::tooLarge(m_path);
        break;
    case SaxHandler::Fault::Sink:
        break; // the sink has said why
    }
    return false;
}

bool XlsxReader::readStructure(QString* error)
{
    auto readRelationships = [&](const QString& part, const QString& base, std::vector<Relationship>* out) -> bool {
        SimpleHandler h;
        h.onStart = [&](const char* name, const char** attributes) {
            if (!is(name, "Relationship"))
                return;
            auto value = [&](const char* n) {
                const char* v = attribute(attributes, n);
                return v ? QString::fromUtf8(v) : QString();
            };
            const auto target = resolveTarget(base, value("Target"));
            if (!target) {
                h.fail(SaxHandler::Fault::Damaged,
                    QStringLiteral("ความสัมพันธ์ชี้ออกนอกแฟ้ม Target=\"%1\"").arg(value("Target")));
                return;
            }
            out->push_back({value("Id"), value("Type"), *target});
        };
        return parsePart(part, true, false, h, part, error);
    };

    std::vector<Relationship> root;
    if (!readRelationships(QStringLiteral("_rels/.rels"), QString(), &root))
        return false;
    QString workbookPart = QStringLiteral("xl/workbook.xml");
    for (const Relationship& r : root) {
        if (r.type.endsWith(QLatin1String("/officeDocument")))
            workbookPart = r.target;
    }
    const QString base = folderOf(workbookPart);
    std::vector<Relationship> rels;
    const QString relsPart = (base.isEmpty() ? QString() : base + QLatin1Char('/')) + QStringLiteral("_rels/")
        + workbookPart.mid(workbookPart.lastIndexOf(QLatin1Char('/')) + 1) + QStringLiteral(".rels");
    if (!readRelationships(relsPart, base, &rels))
        return false;

    SimpleHandler h;
    h.onStart = [&](const char* name, const char** attributes) {
        if (is(name, "workbookPr")) {
            const char* v = attribute(attributes, "date1904");
            m_date1904 = v && (is(v, "1") || is(v, "true"));
        } else if (is(name, "sheet")) {
            QString sheetName, id;
            for (const char** a = attributes; a[0]; a += 2) {
                const char* an = attributeName(a[0]);
                if (is(an, "name"))
                    sheetName = QString::fromUtf8(a[1]);
                else if (is(an, "id"))
                    id = QString::fromUtf8(a[1]);
            }
            QString part;
            for (const Relationship& r : rels) {
                if (r.id == id)
                    part = r.target;
            }
            m_sheets.push_back({sheetName, part});
        }
    };
    if (!parsePart(workbookPart, false, false, h, workbookPart, error))
        return false;

    QString stylesPart, stringsPart;
    for (const Relationship& r : rels) {
        if (r.type.endsWith(QLatin1String("/styles")))
            stylesPart = r.target;
        else if (r.type.endsWith(QLatin1String("/sharedStrings")))
            stringsPart = r.target;
    }
    if (!stylesPart.isEmpty() && !readStyles(stylesPart, error))
        return false;
    if (!stringsPart.isEmpty() && !readSharedStrings(stringsPart, error))
        return false;
    return true;
}

bool XlsxReader::readStyles(const QString& part, QString* error)
{
    QHash<int, QString> codes;
    bool inCellXfs = false;
    std::vector<int> xfFormats;
    auto idOf = [](const char** attributes) {
        const char* v = attribute(attributes, "numFmtId");
        return v ? static_cast<int>(integerOf(v).value_or(0)) : 0;
    };
    SimpleHandler h;
    h.onStart = [&](const char* name, const char** attributes) {
        if (is(name, "numFmt")) {
            const char* code = attribute(attributes, "formatCode");
            codes.insert(idOf(attributes), code ? QString::fromUtf8(code) : QString());
        } else if (is(name, "cellXfs")) {
            inCellXfs = true;
        } else if (inCellXfs && is(name, "xf")) {
            xfFormats.push_back(idOf(attributes));
        }
    };
    h.onEnd = [&](const char* name) {
        if (is(name, "cellXfs"))
            inCellXfs = false;
    };
    if (!parsePart(part, true, false, h, part, error))
        return false;
    m_dateStyle.reserve(xfFormats.size());
    for (int id : xfFormats)
        m_dateStyle.push_back(isDateFormat(id, codes.value(id)));
    return true;
}

bool XlsxReader::readSharedStrings(const QString& part, QString* error)
{
    SharedStringsHandler h(m_shared, m_limits.maxSharedStrings);
    return parsePart(part, true, true, h, part, error);
}

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
