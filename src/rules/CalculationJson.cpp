#include "rules/CalculationJson.h"

#include <cstdio>
#include <utility>

namespace velmora::calc {

namespace {

// An ordered JSON value: a literal (string already quoted, or a number), an
// object or an array.
struct Value
{
    enum class Kind { Literal, Object, Array } kind = Kind::Literal;
    std::string literal;
    std::vector<std::pair<std::string, Value>> members;
    std::vector<Value> items;
};

Value Str(std::string_view text)
{
    return {Value::Kind::Literal, Json_String(text), {}, {}};
}

Value Num(long long n)
{
    return {Value::Kind::Literal, std::to_string(n), {}, {}};
}

Value Obj(std::vector<std::pair<std::string, Value>> members)
{
    return {Value::Kind::Object, {}, std::move(members), {}};
}

Value Arr(std::vector<Value> items)
{
    return {Value::Kind::Array, {}, {}, std::move(items)};
}

bool Is_Flat(const Value& v)
{
    for (const auto& m : v.members)
        if (m.second.kind != Value::Kind::Literal)
            return false;
    return true;
}

// No white space at all.
void Write_Compact(const Value& v, std::string& out)
{
    switch (v.kind) {
    case Value::Kind::Literal:
        out += v.literal;
        return;
    case Value::Kind::Object:
        out += '{';
        for (std::size_t i = 0; i < v.members.size(); ++i) {
            if (i)
                out += ',';
            out += Json_String(v.members[i].first);
            out += ':';
            Write_Compact(v.members[i].second, out);
        }
        out += '}';
        return;
    case Value::Kind::Array:
        out += '[';
        for (std::size_t i = 0; i < v.items.size(); ++i) {
            if (i)
                out += ',';
            Write_Compact(v.items[i], out);
        }
        out += ']';
        return;
    }
}

// Objects of literals only go on one line; everything else one member a line.
void Write(const Value& v, int indent, std::string& out)
{
    const std::string pad(static_cast<std::size_t>(indent) * 2, ' ');
    const std::string inner(static_cast<std::size_t>(indent + 1) * 2, ' ');
    switch (v.kind) {
    case Value::Kind::Literal:
        out += v.literal;
        return;
    case Value::Kind::Object:
        if (v.members.empty()) {
            out += "{}";
            return;
        }
        if (Is_Flat(v) && indent > 0) {
            out += "{";
            for (std::size_t i = 0; i < v.members.size(); ++i) {
                out += (i ? ", " : "") + Json_String(v.members[i].first) + ": ";
                Write(v.members[i].second, indent + 1, out);
            }
            out += "}";
            return;
        }
        out += "{\n";
        for (std::size_t i = 0; i < v.members.size(); ++i) {
            out += inner + Json_String(v.members[i].first) + ": ";
            Write(v.members[i].second, indent + 1, out);
            out += i + 1 < v.members.size() ? ",\n" : "\n";
        }
        out += pad + "}";
        return;
    case Value::Kind::Array:
        if (v.items.empty()) {
            out += "[]";
            return;
        }
        out += "[\n";
        for (std::size_t i = 0; i < v.items.size(); ++i) {
            out += inner;
            Write(v.items[i], indent + 1, out);
            out += i + 1 < v.items.size() ? ",\n" : "\n";
        }
        out += pad + "]";
        return;
    }
}

Value Service_Value(const Service& s)
{
    return Obj({{"years", Num(s.years)}, {"months", Num(s.months)}, {"days", Num(s.days)}});
}

Value Side_Value(const Split_Side& s)
{
    return Obj({{"days", Num(s.days)}, {"months", Str(s.months_text)}, {"percent", Str(s.percent_text)},
        {"amount", Str(s.amount_text)}});
}

} // namespace

std::string Json_String(std::string_view text)
{
    std::string out = "\"";
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
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else {
                out.push_back(ch);
            }
        }
    }
    out += "\"";
    return out;
}

std::string Calculation_Json(const Calculation_Input& in, const Calculation& c, Json_Layout layout)
{
    std::vector<Value> periods;
    for (const Period_Row& p : c.periods)
        periods.push_back(Obj({{"code", Str(p.code)}, {"type", Str(p.type_name)}, {"begin", Str(p.begin)},
            {"calc_begin", Str(p.calc_begin)}, {"end", Str(p.end)}, {"total_days", Num(p.total_days)},
            {"years", Str(p.years_text)}, {"months", Str(p.months_text)}, {"days", Str(p.days_text)},
            {"whole_months", Num(p.whole_months)}, {"weight", Str(p.weight_text)}}));
    std::vector<Value> earlier;
    for (const Earlier_Row& e : c.earlier) {
        const Earlier_Record& r = e.record;
        earlier.push_back(Obj({{"sapid", Str(r.sapid)}, {"request_month", Str(r.request_month)},
            {"depart_code", Str(r.depart_code)}, {"depart_name", Str(r.depart_name)}, {"start", Str(r.start)},
            {"end", Str(r.end)}, {"total_days", Num(r.total_days)}, {"years", Num(r.years)}, {"months", Num(r.months)},
            {"days", Num(r.days)}, {"compensation", Str(e.compensation_text)}, {"multiplier", Num(r.multiplier)},
            {"last_salary", Str(e.last_salary_text)}, {"paid_before", Str(e.paid_before_text)},
            {"net", Str(e.net_text)}}));
    }
    const Value root = Obj({
        {"sapid", Str(in.sapid)},
        {"ssn", Str(in.ssn)},
        {"name", Str(Full_Name(in.prefix, in.first_name, in.last_name))},
        {"request_month", Str(in.request_month)},
        {"reason", Str(in.reason)},
        {"span",
            Obj({{"start", Str(c.span.start)}, {"end", Str(c.span.end)}, {"years", Str(c.span_figures.years_text)},
                {"months", Str(c.span_figures.months_text)}, {"days", Str(c.span_figures.days_text)}})},
        {"periods", Arr(std::move(periods))},
        {"earlier", Arr(std::move(earlier))},
        {"service",
            Obj({{"earlier", Service_Value(c.service.earlier)}, {"current", Service_Value(c.service.current)},
                {"total", Service_Value(c.service.total)}})},
        {"total_days", Num(c.span_figures.total_days)},
        {"multiplier", Num(c.money.multiplier)},
        {"salary", Str(c.salary_text)},
        {"compensation", Str(c.money.compensation_text)},
        {"paid_earlier", Str(c.money.paid_earlier_text)},
        {"net", Str(c.money.net_text)},
        {"split",
            Obj({{"department", Side_Value(c.split.department)}, {"university", Side_Value(c.split.university)},
                {"total_months", Str(c.split.total_months_text)}})},
    });
    std::string out;
    if (layout == Json_Layout::Compact) {
        out.reserve(2048);
        Write_Compact(root, out);
        return out;
    }
    Write(root, 0, out);
    out += "\n";
    return out;
}

} // namespace velmora::calc
