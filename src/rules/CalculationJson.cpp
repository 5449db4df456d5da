#include "rules/CalculationJson.h"

#include <string_view>
#include <vector>
#include <utility>

namespace velmora::calc {

namespace {

// Writes JSON as it goes, in either layout. Indented: members of an object
// one a line, items of an array one a line, except objects declared flat
// (literals only), which go on one line; two spaces a level.
class Writer
{
public:
    Writer(Json_Layout layout, std::string& out)
        : m_compact(layout == Json_Layout::Compact)
        , m_out(out)
    { }

    void begin_object(bool flat = false) { open('{', false, flat); }
    void end_object() { close('}'); }
    void begin_array() { open('[', true, false); }
    void end_array() { close(']'); }

    void key(std::string_view name)
    {
        Frame& f = m_frames.back();
        separate(f);
        Append_Json_String(m_out, name);
        m_out += m_compact ? ":" : ": ";
        m_keyed = true;
    }
    void str(std::string_view text)
    {
        before_value();
        Append_Json_String(m_out, text);
    }
    void num(long long n)
    {
        before_value();
        m_out += std::to_string(n);
    }
    // "key": value
    void str(std::string_view name, std::string_view text)
    {
        key(name);
        str(text);
    }
    void num(std::string_view name, long long n)
    {
        key(name);
        num(n);
    }

private:
    struct Frame
    {
        bool array = false;
        bool flat = false;
        int count = 0;
        int indent = 0;
    };

    void pad(int indent) { m_out.append(static_cast<std::size_t>(indent) * 2, ' '); }

    // What goes before a member or an item: the separator, and in the
    // indented layout a new line and the indentation of the level below.
    void separate(Frame& f)
    {
        if (m_compact || f.flat) {
            if (f.count > 0)
                m_out += m_compact ? "," : ", ";
        } else {
            m_out += f.count > 0 ? ",\n" : "\n";
            pad(f.indent + 1);
        }
        ++f.count;
    }

    void before_value()
    {
        if (m_keyed) {
            m_keyed = false;
            return;
        }
        if (!m_frames.empty() && m_frames.back().array)
            separate(m_frames.back());
    }

    void open(char bracket, bool array, bool flat)
    {
        const int indent = m_frames.empty() ? 0 : m_frames.back().indent + 1;
        before_value();
        m_out += bracket;
        m_frames.push_back({array, flat && indent > 0, 0, indent});
    }

    void close(char bracket)
    {
        const Frame f = m_frames.back();
        m_frames.pop_back();
        if (!m_compact && !f.flat && f.count > 0) {
            m_out += '\n';
            pad(f.indent);
        }
        m_out += bracket;
    }

    bool m_compact;
    std::string& m_out;
    std::vector<Frame> m_frames;
    bool m_keyed = false;
};

void Put_Service(Writer& w, std::string_view name, const Service& s)
{
    w.key(name);
    w.begin_object(true);
    w.num("years", s.years);
    w.num("months", s.months);
    w.num("days", s.days);
    w.end_object();
}

void Put_Side(Writer& w, std::string_view name, const Split_Side& s)
{
    w.key(name);
    w.begin_object(true);
    w.num("days", s.days);
    w.str("months", s.months_text);
    w.str("percent", s.percent_text);
    w.str("amount", s.amount_text);
    w.end_object();
}

} // namespace

void Append_Json_String(std::string& out, std::string_view text)
{
    out += '"';
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                static const char digits[] = "0123456789abcdef";
                out += "\\u00";
                out += digits[c >> 4];
                out += digits[c & 15];
            } else {
                out.push_back(ch);
            }
        }
    }
    out += '"';
}

std::string Json_String(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 2);
    Append_Json_String(out, text);
    return out;
}

std::string Calculation_Json(const Calculation_Input& in, const Calculation& c, Json_Layout layout)
{
    std::string out;
    out.reserve(layout == Json_Layout::Compact ? 2048 : 4096);
    Writer w(layout, out);
    w.begin_object();
    w.str("sapid", in.sapid);
    w.str("ssn", in.ssn);
    w.str("name", Full_Name(in.prefix, in.first_name, in.last_name));
    w.str("request_month", in.request_month);
    w.str("reason", in.reason);
    w.key("span");
    w.begin_object(true);
    w.str("start", c.span.start);
    w.str("end", c.span.end);
    w.str("years", c.span_figures.years_text);
    w.str("months", c.span_figures.months_text);
    w.str("days", c.span_figures.days_text);
    w.end_object();
    w.key("periods");
    w.begin_array();
    for (const Period_Row& p : c.periods) {
        w.begin_object(true);
        w.str("code", p.code);
        w.str("type", p.type_name);
        w.str("begin", p.begin);
        w.str("calc_begin", p.calc_begin);
        w.str("end", p.end);
        w.num("total_days", p.total_days);
        w.str("years", p.years_text);
        w.str("months", p.months_text);
        w.str("days", p.days_text);
        w.num("whole_months", p.whole_months);
        w.str("weight", p.weight_text);
        w.end_object();
    }
    w.end_array();
    w.key("earlier");
    w.begin_array();
    for (const Earlier_Row& e : c.earlier) {
        const Earlier_Record& r = e.record;
        w.begin_object(true);
        w.str("sapid", r.sapid);
        w.str("request_month", r.request_month);
        w.str("depart_code", r.depart_code);
        w.str("depart_name", r.depart_name);
        w.str("start", r.start);
        w.str("end", r.end);
        w.num("total_days", r.total_days);
        w.num("years", r.years);
        w.num("months", r.months);
        w.num("days", r.days);
        w.str("compensation", e.compensation_text);
        w.num("multiplier", r.multiplier);
        w.str("last_salary", e.last_salary_text);
        w.str("paid_before", e.paid_before_text);
        w.str("net", e.net_text);
        w.end_object();
    }
    w.end_array();
    w.key("service");
    w.begin_object();
    Put_Service(w, "earlier", c.service.earlier);
    Put_Service(w, "current", c.service.current);
    Put_Service(w, "total", c.service.total);
    w.end_object();
    w.num("total_days", c.span_figures.total_days);
    w.num("multiplier", c.money.multiplier);
    w.str("salary", c.salary_text);
    w.str("compensation", c.money.compensation_text);
    w.str("paid_earlier", c.money.paid_earlier_text);
    w.str("net", c.money.net_text);
    w.key("split");
    w.begin_object();
    Put_Side(w, "department", c.split.department);
    Put_Side(w, "university", c.split.university);
    w.str("total_months", c.split.total_months_text);
    w.end_object();
    w.end_object();
    if (layout == Json_Layout::Indented)
        out += "\n";
    return out;
}

} // namespace velmora::calc
