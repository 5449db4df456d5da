#pragma once

// What every part handler of the .xlsx reader is made of: the handler that
// expat's events go to, names without their prefix, attribute values, whole
// and decimal numbers as the parts write them, and the text of a rich-text
// element. Shared by XlsxReader.cpp (the package and the parse of one part),
// XlsxStructure.cpp (relationships, workbook, styles, shared strings) and
// XlsxSheet.cpp (a sheet's cells); the helpers are inline because a sheet
// calls them for every cell.

#include <QString>

#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include <expat.h>

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

// The name after its prefix ("x:c" is "c"). The parser leaves namespaces
// unresolved (resolving them copies the namespace's name into every tag);
// the reader goes by local names alone, whatever the namespace.
inline const char* localName(const char* name)
{
    const char* colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}

// The local name of an attribute; empty for a namespace declaration
// ("xmlns", "xmlns:r"), which is not an attribute of the element.
inline const char* attributeName(const char* name)
{
    if (std::strncmp(name, "xmlns", 5) == 0 && (name[5] == '\0' || name[5] == ':'))
        return "";
    return localName(name);
}

inline bool is(const char* name, const char* wanted)
{
    return std::strcmp(name, wanted) == 0;
}

// The value of an attribute by local name, or null.
inline const char* attribute(const char** attributes, const char* wanted)
{
    for (; attributes[0]; attributes += 2) {
        if (is(attributeName(attributes[0]), wanted))
            return attributes[1];
    }
    return nullptr;
}

inline std::string_view trimmedView(std::string_view s)
{
    auto space = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!s.empty() && space(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && space(s.back()))
        s.remove_suffix(1);
    return s;
}

// A whole integer (blanks around it and a leading '+' allowed).
inline std::optional<long long> integerOf(std::string_view s)
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
inline std::optional<double> numberOf(std::string_view s)
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

inline QString fromUtf8(const std::string& s)
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

} // namespace velmora::import
