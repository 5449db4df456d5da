#include "files/XlsxReader.h"

#include "files/ImportMessages.h"

#include <QFile>
#include <QXmlStreamReader>

#include <thread>

#include <zip.h>

namespace velmora::import {

namespace {

// Resolves a relationship target against the folder of the part that names it.
QString resolveTarget(const QString& baseFolder, QString target)
{
    if (target.startsWith(QLatin1Char('/')))
        return target.mid(1);
    QStringList parts = baseFolder.isEmpty() ? QStringList() : baseFolder.split(QLatin1Char('/'));
    for (const QString& piece : target.split(QLatin1Char('/'))) {
        if (piece == QLatin1String(".."))
            parts.removeLast();
        else if (piece != QLatin1String(".") && !piece.isEmpty())
            parts << piece;
    }
    return parts.join(QLatin1Char('/'));
}

QString folderOf(const QString& part)
{
    const int slash = part.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : part.left(slash);
}

// Relationships of a part: id -> (type, target resolved).
struct Relationship
{
    QString id;
    QString type;
    QString target;
};

bool refuseDtd(QXmlStreamReader& xml)
{
    if (xml.tokenType() == QXmlStreamReader::DTD || xml.tokenType() == QXmlStreamReader::EntityReference) {
        xml.raiseError(QStringLiteral("DTD"));
        return true;
    }
    return false;
}

// "AB12" -> column 28 (row digits are ignored); 0 if there are no letters.
int columnOfReference(QStringView ref)
{
    int col = 0;
    for (QChar ch : ref) {
        const char16_t c = ch.unicode();
        if (c >= u'A' && c <= u'Z')
            col = col * 26 + (c - u'A' + 1);
        else if (c >= u'a' && c <= u'z')
            col = col * 26 + (c - u'a' + 1);
        else
            break;
        if (col > 1 << 20)
            return -1;
    }
    return col;
}

// Text of an <si> or <is> element: its <t> and the <t> of its runs, phonetic
// guides (<rPh>) left out. The reader stands on the start element.
QString richText(QXmlStreamReader& xml)
{
    QString text;
    int depth = 1;
    bool inPhonetic = false;
    while (depth > 0 && !xml.atEnd()) {
        const auto token = xml.readNext();
        if (refuseDtd(xml))
            break;
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            if (xml.name() == QLatin1String("rPh"))
                inPhonetic = true;
            else if (xml.name() == QLatin1String("t") && !inPhonetic) {
                text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
                --depth;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
            if (xml.name() == QLatin1String("rPh"))
                inPhonetic = false;
        }
    }
    return text;
}

// ISO 8601 date (cells of type "d") to a day number.
std::optional<double> serialFromIso(const QString& text)
{
    if (text.size() < 10 || text.at(4) != QLatin1Char('-') || text.at(7) != QLatin1Char('-'))
        return std::nullopt;
    bool ok1 = false, ok2 = false, ok3 = false;
    const int y = QStringView(text).mid(0, 4).toInt(&ok1);
    const int m = QStringView(text).mid(5, 2).toInt(&ok2);
    const int d = QStringView(text).mid(8, 2).toInt(&ok3);
    if (!ok1 || !ok2 || !ok3)
        return std::nullopt;
    return serialFromDate(y, m, d);
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

bool XlsxReader::readPart(const QString& name, QByteArray* data, QString* error, bool optional) const
{
    const zip_int64_t index = zip_name_locate(m_zip, name.toUtf8().constData(), ZIP_FL_NOCASE);
    if (index < 0) {
        if (optional) {
            data->clear();
            return true;
        }
        *error = msg::damaged(m_path, QStringLiteral("ไม่มี %1").arg(name));
        return false;
    }
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(m_zip, static_cast<zip_uint64_t>(index), 0, &st) != 0) {
        *error = msg::damaged(m_path, name);
        return false;
    }
    if ((st.valid & ZIP_STAT_SIZE) && st.size > static_cast<zip_uint64_t>(m_limits.maxPartBytes)) {
        *error = msg::tooLarge(m_path);
        return false;
    }
    zip_file_t* f = zip_fopen_index(m_zip, static_cast<zip_uint64_t>(index), 0);
    if (!f) {
        *error = msg::damaged(m_path, QString::fromUtf8(zip_strerror(m_zip)));
        return false;
    }
    data->clear();
    if (st.valid & ZIP_STAT_SIZE)
        data->reserve(static_cast<qsizetype>(st.size));
    char buffer[1 << 16];
    for (;;) {
        const zip_int64_t n = zip_fread(f, buffer, sizeof buffer);
        if (n < 0) {
            *error = msg::damaged(m_path, QString::fromUtf8(zip_file_strerror(f)));
            zip_fclose(f);
            return false;
        }
        if (n == 0)
            break;
        // The size in the directory may lie: count what really comes out.
        if (data->size() + n > m_limits.maxPartBytes) {
            zip_fclose(f);
            *error = msg::tooLarge(m_path);
            return false;
        }
        data->append(buffer, static_cast<qsizetype>(n));
    }
    if (zip_fclose(f) != 0) {
        *error = msg::damaged(m_path, name);
        return false;
    }
    return true;
}

bool XlsxReader::readStructure(QString* error)
{
    auto xmlFailure = [&](const QString& part, const QXmlStreamReader& xml) {
        *error = msg::damaged(m_path, QStringLiteral("%1: %2").arg(part, xml.errorString()));
        return false;
    };
    auto readRelationships = [&](const QString& part, const QString& base, std::vector<Relationship>* out) -> bool {
        QByteArray data;
        if (!readPart(part, &data, error, true))
            return false;
        if (data.isEmpty())
            return true;
        QXmlStreamReader xml(data);
        while (!xml.atEnd()) {
            xml.readNext();
            if (refuseDtd(xml))
                break;
            if (xml.isStartElement() && xml.name() == QLatin1String("Relationship")) {
                const auto a = xml.attributes();
                out->push_back({a.value(QLatin1String("Id")).toString(), a.value(QLatin1String("Type")).toString(),
                    resolveTarget(base, a.value(QLatin1String("Target")).toString())});
            }
        }
        if (xml.hasError())
            return xmlFailure(part, xml);
        return true;
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

    QByteArray data;
    if (!readPart(workbookPart, &data, error))
        return false;
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (refuseDtd(xml))
            break;
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("workbookPr")) {
            const QStringView v = xml.attributes().value(QLatin1String("date1904"));
            m_date1904 = v == QLatin1String("1") || v == QLatin1String("true");
        } else if (xml.name() == QLatin1String("sheet")) {
            QString name, id;
            for (const QXmlStreamAttribute& a : xml.attributes()) {
                if (a.name() == QLatin1String("name"))
                    name = a.value().toString();
                else if (a.name() == QLatin1String("id"))
                    id = a.value().toString();
            }
            QString part;
            for (const Relationship& r : rels) {
                if (r.id == id)
                    part = r.target;
            }
            m_sheets.push_back({name, part});
        }
    }
    if (xml.hasError())
        return xmlFailure(workbookPart, xml);

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
    QByteArray data;
    if (!readPart(part, &data, error, true))
        return false;
    QHash<int, QString> codes;
    QXmlStreamReader xml(data);
    bool inCellXfs = false;
    std::vector<int> xfFormats;
    while (!xml.atEnd()) {
        xml.readNext();
        if (refuseDtd(xml))
            break;
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("numFmt")) {
                const auto a = xml.attributes();
                codes.insert(
                    a.value(QLatin1String("numFmtId")).toInt(), a.value(QLatin1String("formatCode")).toString());
            } else if (xml.name() == QLatin1String("cellXfs")) {
                inCellXfs = true;
            } else if (inCellXfs && xml.name() == QLatin1String("xf")) {
                xfFormats.push_back(xml.attributes().value(QLatin1String("numFmtId")).toInt());
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
    if (xml.hasError()) {
        *error = msg::damaged(m_path, QStringLiteral("%1: %2").arg(part, xml.errorString()));
        return false;
    }
    m_dateStyle.reserve(xfFormats.size());
    for (int id : xfFormats)
        m_dateStyle.push_back(isDateFormat(id, codes.value(id)));
    return true;
}

bool XlsxReader::readSharedStrings(const QString& part, QString* error)
{
    QByteArray data;
    if (!readPart(part, &data, error, true))
        return false;
    QXmlStreamReader xml(data);
    while (!xml.atEnd()) {
        xml.readNext();
        if (refuseDtd(xml))
            break;
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("sst")) {
                const int unique = xml.attributes().value(QLatin1String("uniqueCount")).toInt();
                if (unique > 0 && unique <= m_limits.maxCells)
                    m_shared.reserve(static_cast<size_t>(unique));
            } else if (xml.name() == QLatin1String("si")) {
                m_shared.push_back(richText(xml));
                if (static_cast<qint64>(m_shared.size()) > m_limits.maxCells) {
                    *error = msg::tooLarge(m_path);
                    return false;
                }
            }
        }
    }
    if (xml.hasError()) {
        *error = msg::damaged(m_path, QStringLiteral("%1: %2").arg(part, xml.errorString()));
        return false;
    }
    return true;
}

bool XlsxReader::readSheet(int index, Worksheet& out, QString* error)
{
    out = Worksheet();
    if (index < 1 || index > sheetCount()) {
        *error = msg::tooFewSheets(m_path, sheetCount(), index);
        return false;
    }
    const SheetRef& ref = m_sheets[static_cast<size_t>(index - 1)];
    if (ref.part.isEmpty()) {
        *error = msg::damaged(m_path, QStringLiteral("แผ่นงานที่ %1").arg(index));
        return false;
    }
    QByteArray data;
    if (!readPart(ref.part, &data, error))
        return false;

    // A big sheet is read in two halves at once, split before a <row> in the
    // middle: the second half gets the sheet's opening (root element with its
    // namespaces) in front, the first half the closing tags behind. Only done
    // where a split cannot fall inside something else (no comments, CDATA or
    // prefixed element names) and the second half's first row is numbered.
    qsizetype split = -1, dataStart = -1;
    if (data.size() > m_limits.splitAbove && !data.contains("<!--") && !data.contains("<![CDATA[")
        && !data.contains("<!DOCTYPE") && data.contains("<worksheet")) {
        const qsizetype tag = data.indexOf("<sheetData>");
        dataStart = tag < 0 ? -1 : tag + 11;
        split = dataStart < 0 ? -1 : data.indexOf("<row ", data.size() / 2);
        if (split >= 0) {
            const qsizetype close = data.indexOf('>', split);
            const QByteArray start = data.mid(split, close < 0 ? 0 : close - split);
            if (!start.contains(" r=\""))
                split = -1;
        }
    }
    if (split < 0 || dataStart < 0)
        return parseSheet(data, index, ref.name, out, error);

    const QByteArray second = data.left(dataStart) + data.mid(split);
    data.truncate(split);
    data.append("</sheetData></worksheet>");
    Worksheet tail;
    QString tailError;
    bool tailOk = false;
    std::thread worker([&] { tailOk = parseSheet(second, index, ref.name, tail, &tailError); });
    const bool headOk = parseSheet(data, index, ref.name, out, error);
    worker.join();
    if (!headOk)
        return false;
    if (!tailOk) {
        out = Worksheet();
        *error = tailError;
        return false;
    }
    // The halves meet: the second one's rows come after the first one's.
    if (tail.rows.size() > out.rows.size())
        out.rows.resize(tail.rows.size());
    qint64 places = 0;
    for (size_t r = 0; r < tail.rows.size(); ++r) {
        std::vector<Cell>& from = tail.rows[r];
        if (from.empty())
            continue;
        std::vector<Cell>& to = out.rows[r];
        if (to.empty()) {
            to = std::move(from);
            continue;
        }
        if (to.size() < from.size())
            to.resize(from.size());
        for (size_t c = 0; c < from.size(); ++c) {
            if (from[c].kind != Cell::Kind::Empty)
                to[c] = std::move(from[c]);
        }
    }
    for (const auto& r : out.rows)
        places += static_cast<qint64>(r.size());
    if (places > m_limits.maxCells) {
        out = Worksheet();
        *error = msg::sheetTooLarge(index, ref.name);
        return false;
    }
    return true;
}

bool XlsxReader::parseSheet(
    const QByteArray& data, int index, const QString& sheetName, Worksheet& out, QString* error) const
{
    out = Worksheet();
    out.name = sheetName;
    QXmlStreamReader xml(data);
    int row = 0;
    int column = 0;
    qint64 places = 0;
    const QString where0 = QStringLiteral("แผ่นงานที่ %1").arg(index);
    auto failure = [&](const QString& detail) {
        *error = msg::damaged(m_path, where0 + QStringLiteral(": ") + detail);
        out = Worksheet();
        return false;
    };
    auto tooLarge = [&]() {
        *error = msg::sheetTooLarge(index, sheetName);
        out = Worksheet();
        return false;
    };

    while (!xml.atEnd()) {
        xml.readNext();
        if (refuseDtd(xml))
            break;
        if (!xml.isStartElement())
            continue;
        const QStringView name = xml.name();
        if (name == QLatin1String("row")) {
            const QStringView r = xml.attributes().value(QLatin1String("r"));
            if (r.isEmpty()) {
                ++row;
            } else {
                bool ok = false;
                const int n = r.toInt(&ok);
                if (!ok || n < 1)
                    return failure(QStringLiteral("row r=\"%1\"").arg(r.toString()));
                row = n;
            }
            if (row > m_limits.maxRows)
                return tooLarge();
            column = 0;
            continue;
        }
        if (name != QLatin1String("c"))
            continue;

        if (row == 0)
            row = 1;
        QStringView type;
        int style = -1;
        int newColumn = column + 1;
        const QXmlStreamAttributes attributes = xml.attributes();
        for (const QXmlStreamAttribute& a : attributes) {
            const QStringView an = a.name();
            if (an == QLatin1String("r")) {
                newColumn = columnOfReference(a.value());
                if (newColumn < 1)
                    return failure(QStringLiteral("c r=\"%1\"").arg(a.value().toString()));
            } else if (an == QLatin1String("t")) {
                type = a.value();
            } else if (an == QLatin1String("s")) {
                style = a.value().toInt();
            }
        }
        column = newColumn;
        if (column > m_limits.maxColumns)
            return tooLarge();
        // The type attribute as a short code, so no text is made per cell.
        enum class Type { Number, Shared, Inline, Formula, Bool, Error, Iso } t = Type::Number;
        if (type == QLatin1String("s"))
            t = Type::Shared;
        else if (type == QLatin1String("inlineStr"))
            t = Type::Inline;
        else if (type == QLatin1String("str"))
            t = Type::Formula;
        else if (type == QLatin1String("b"))
            t = Type::Bool;
        else if (type == QLatin1String("e"))
            t = Type::Error;
        else if (type == QLatin1String("d"))
            t = Type::Iso;

        // Children: <v>, <f>, <is>. The value is read in place where it can be.
        QString value;
        bool hasValue = false, hasFormula = false, hasInline = false;
        double number = 0;
        bool numberOk = false;
        QString inlineText;
        while (!xml.atEnd()) {
            const auto token = xml.readNext();
            if (refuseDtd(xml))
                break;
            if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("c"))
                break;
            if (token != QXmlStreamReader::StartElement)
                continue;
            const QStringView child = xml.name();
            if (child == QLatin1String("v")) {
                hasValue = true;
                if (t == Type::Number || t == Type::Shared) {
                    // Most cells: one run of characters, parsed without a copy.
                    const auto inner = xml.readNext();
                    if (inner == QXmlStreamReader::Characters) {
                        const QStringView text = xml.text().trimmed();
                        if (t == Type::Shared)
                            number = static_cast<double>(text.toLongLong(&numberOk));
                        else
                            number = text.toDouble(&numberOk);
                        value = numberOk ? QString() : text.toString();
                        xml.readNext();
                        if (xml.tokenType() != QXmlStreamReader::EndElement) {
                            // More than one run (entities, comments): take the whole text.
                            numberOk = false;
                            value +=
                                xml.text().toString() + xml.readElementText(QXmlStreamReader::IncludeChildElements);
                        }
                    } else if (inner != QXmlStreamReader::EndElement) {
                        value = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                    } else {
                        hasValue = false;
                    }
                } else {
                    value = xml.readElementText();
                }
            } else if (child == QLatin1String("f")) {
                hasFormula = true;
                xml.skipCurrentElement();
            } else if (child == QLatin1String("is")) {
                inlineText = richText(xml);
                hasInline = true;
            } else {
                xml.skipCurrentElement();
            }
        }
        if (xml.hasError())
            break;
        if (!numberOk && hasValue && (t == Type::Number || t == Type::Shared)) {
            const QStringView text = QStringView(value).trimmed();
            if (t == Type::Shared)
                number = static_cast<double>(text.toLongLong(&numberOk));
            else
                number = text.toDouble(&numberOk);
        }

        Cell cell;
        switch (t) {
        case Type::Shared: {
            const qint64 i = static_cast<qint64>(number);
            if (!numberOk || i < 0 || i >= static_cast<qint64>(m_shared.size()))
                return failure(QStringLiteral("%1%2: shared string %3").arg(columnName(column)).arg(row).arg(value));
            cell = Cell::makeText(m_shared[static_cast<size_t>(i)]);
            break;
        }
        case Type::Inline:
            cell = Cell::makeText(hasInline ? inlineText : value);
            break;
        case Type::Formula:
            cell = Cell::makeText(value);
            break;
        case Type::Bool:
            cell = {Cell::Kind::Bool, value.trimmed() == QLatin1String("1") ? 1.0 : 0.0, {}};
            break;
        case Type::Error:
            cell = {Cell::Kind::Error, 0, value};
            break;
        case Type::Iso: {
            const auto serial = serialFromIso(value);
            cell = serial ? Cell::makeDate(*serial) : Cell {Cell::Kind::Unreadable, 0, value};
            break;
        }
        case Type::Number:
            if (!hasValue) {
                if (hasFormula)
                    cell = {Cell::Kind::Unreadable, 0, QStringLiteral("สูตรที่ไม่มีผลลัพธ์บันทึกไว้")};
                break;
            }
            if (!numberOk)
                return failure(QStringLiteral("%1%2: \"%3\"").arg(columnName(column)).arg(row).arg(value));
            {
                const bool isDate = style >= 0 && style < static_cast<int>(m_dateStyle.size())
                    && m_dateStyle[static_cast<size_t>(style)];
                cell = isDate ? Cell::makeDate(m_date1904 ? number + 1462 : number) : Cell::makeNumber(number);
            }
            break;
        }
        if (cell.kind == Cell::Kind::Empty)
            continue;

        if (static_cast<int>(out.rows.size()) < row)
            out.rows.resize(static_cast<size_t>(row));
        std::vector<Cell>& cells = out.rows[static_cast<size_t>(row - 1)];
        if (static_cast<int>(cells.size()) < column) {
            places += column - static_cast<qint64>(cells.size());
            if (places > m_limits.maxCells)
                return tooLarge();
            cells.resize(static_cast<size_t>(column));
        }
        cells[static_cast<size_t>(column - 1)] = std::move(cell);
    }
    if (xml.hasError())
        return failure(xml.errorString());
    return true;
}

} // namespace velmora::import
