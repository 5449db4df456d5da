#include "files/XlsxReader.h"

#include "files/ImportMessages.h"
#include "files/XlsxXml.h"

#include <QFile>

#include <zip.h>

namespace velmora::import {

namespace {

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

} // namespace velmora::import
