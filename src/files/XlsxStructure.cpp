// The workbook's structure, read once when it is opened: the package's
// relationships, the workbook part (sheet names and parts, the date system),
// the styles (which cell formats show dates) and the shared strings.

#include "files/XlsxReader.h"

#include "files/XlsxXml.h"

#include <QHash>

#include <functional>

namespace velmora::import {

namespace {

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
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : part.left(slash);
}

struct Relationship
{
    QString id;
    QString type;
    QString target;
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

} // namespace velmora::import
