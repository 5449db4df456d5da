// The rules' results over a fixed sample of inputs, as one digest line per
// group ("amounts 300000 3f9c0a1b2c3d4e5f"). The inputs come from a fixed
// seed, so the program built for Linux and the one built for Windows must
// print the same lines; tools/windows-check.sh runs both and compares them.
// The sample reaches what the tests' tables cannot list: any bit pattern of a
// double, long digit strings, hundreds of thousands of dates and shares.
//   rules_sample          the digest of every group
//   rules_sample GROUP    every result of that group, one a line, to find the
//                         first input on which the two programs differ

#include "rules/AmountText.h"
#include "rules/BahtText.h"
#include "rules/Calculation.h"
#include "rules/CalculationJson.h"
#include "rules/ForecastRules.h"
#include "rules/FundSourceRules.h"
#include "rules/ServicePeriod.h"
#include "rules/Utility.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

namespace {

using namespace velmora;

// xorshift64: the same numbers on every platform.
std::uint64_t g_state = 88172645463325252u;
std::uint64_t Next()
{
    g_state ^= g_state << 13;
    g_state ^= g_state >> 7;
    g_state ^= g_state << 17;
    return g_state;
}
int Below(int n)
{
    return static_cast<int>(Next() % static_cast<std::uint64_t>(n));
}

std::string Hex(std::uint64_t u)
{
    static const char digits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, u >>= 4)
        text[static_cast<std::size_t>(i)] = digits[u & 15];
    return text;
}
// A double's exact bits: two values print alike only when they are the same.
std::string Bits(double value)
{
    std::uint64_t u = 0;
    std::memcpy(&u, &value, sizeof u);
    return Hex(u);
}

std::string Two(int value)
{
    return {static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}
// dd/mm/yyyy; the year as given (either era).
std::string Date(int day, int month, int year)
{
    return Two(day) + "/" + Two(month) + "/" + std::to_string(year);
}
// A real day of a Buddhist-era year.
std::string Real_Date_BE(int yearBE, int month)
{
    return Date(1 + Below(Days_In_Month(month, yearBE - 543)), month, yearBE);
}

// Collects a group's results: a digest (FNV-1a, 64 bits) of its lines, or
// the lines themselves.
class Group
{
public:
    explicit Group(bool print)
        : m_print(print)
    { }
    void add(const std::string& line)
    {
        ++m_count;
        if (m_print) {
            std::fwrite(line.data(), 1, line.size(), stdout);
            std::fputc('\n', stdout);
        }
        for (unsigned char c : line + '\n') {
            m_hash ^= c;
            m_hash *= 1099511628211u;
        }
    }
    std::string summary(std::string_view name) const
    {
        return std::string(name) + " " + std::to_string(m_count) + " " + Hex(m_hash);
    }

private:
    bool m_print;
    long m_count = 0;
    std::uint64_t m_hash = 14695981039346656037u;
};

// Amounts as shown and written, the shortest text, the words and the
// rounding of halves, on two-decimal figures, figures just beside a half
// satang, whole numbers beyond 2^53 and any bit pattern at all.
void Amounts(Group& g)
{
    for (int i = 0; i < 300000; ++i) {
        double v = 0;
        switch (i % 6) {
        case 0: v = static_cast<double>(Next() % 100000000000u) / 100; break;
        case 1: v = static_cast<double>(Next() % 100000000u) / 1000 + 0.005; break;
        case 2: { const std::uint64_t u = Next(); std::memcpy(&v, &u, sizeof v); } break;
        case 3: v = std::ldexp(static_cast<double>(Next() >> 11), -Below(60)); break;
        case 4: v = -static_cast<double>(Next() % 10000000000u) / 1000; break;
        default: v = std::ldexp(Below(2) ? 1.0 : -1.0, Below(80)) + Below(1000) / 8.0; break;
        }
        const auto shown = Parse_Number(Amount_Text(v));
        const bool sized = std::isfinite(v) && std::fabs(v) < 1e15;
        g.add(Bits(v) + " " + Amount_Text(v) + " " + Round2_Text(v) + " " + Shortest_Number_Text(v) + " "
            + (shown ? Bits(*shown) : "none") + " " + (sized ? Baht_Text(v) : "-") + " "
            + (sized && std::fabs(v) < 1e9 ? std::to_string(Round_Half_Even(v)) : "-"));
    }
}

// Digit strings of up to 40 digits, with and without a point, read back.
void Parsing(Group& g)
{
    for (int i = 0; i < 20000; ++i) {
        std::string digits;
        for (int n = 1 + Below(40); n > 0; --n)
            digits += static_cast<char>('0' + Below(10));
        if (Below(2))
            digits.insert(static_cast<std::size_t>(Below(static_cast<int>(digits.size()))), 1, '.');
        const auto value = Parse_Number(digits);
        g.add(digits + " " + (value ? Bits(*value) + " " + Amount_Text(*value) : "none"));
    }
}

// Both splits of a net between the unit and the university (the list's in
// extended precision), on nets and months of two decimals.
void Shares(Group& g)
{
    for (int i = 0; i < 200000; ++i) {
        const double net = static_cast<double>(Below(50000000)) / 100;
        const double fact = static_cast<double>(Below(30000)) / 100;
        const double kv = static_cast<double>(Below(30000)) / 100;
        const Net_Split split = Split_Net(fact, kv, net);
        const double unit = Fund_Source_Share(net, fact, kv, "3");
        const double university = Fund_Source_Share(net, fact, kv, "2");
        g.add(Amount_Text(split.fact) + " " + Amount_Text(split.kv) + " " + Amount_Text(unit) + " "
            + Amount_Text(university) + " " + Bits(unit) + " " + Bits(university));
    }
}

// Service periods and inclusive day counts between any two dates (bad ones
// too: the 31st of short months, a start after the end).
void Periods(Group& g)
{
    for (int i = 0; i < 200000; ++i) {
        const int y1 = 2400 + Below(300);
        const std::string start = Date(1 + Below(31), 1 + Below(12), y1);
        const std::string end = Date(1 + Below(31), 1 + Below(12), y1 + Below(40));
        const Service_Period_Result r = Service_Period(start, end);
        g.add(start + " " + end + " " + (r.period ? r.period->text + " " + Bits(r.period->month_weight) : r.error) + " "
            + std::to_string(calc::Days_Inclusive(start, end)));
    }
}

// The forecast to the age of 60: the salary raised year by year.
void Forecasts(Group& g)
{
    for (int i = 0; i < 50000; ++i) {
        reports::Forecast_Input in;
        in.birth_date = Date(1 + Below(28), 1 + Below(12), 1950 + Below(50));
        in.start_date = Date(1 + Below(28), 1 + Below(12), 1990 + Below(30));
        in.salary = static_cast<double>(Below(10000000)) / 100;
        in.calc_year = 2550 + Below(30);
        const reports::Forecast_Result r = reports::Forecast_Employee(in);
        g.add(r.error + " " + Bits(r.salary_at_60) + " " + Bits(r.amount) + " " + Amount_Text(r.amount));
    }
}

// Whole calculations of one to three periods in a row, as the audit log
// stores them (the compact JSON holds every figure the pages show).
void Calculations(Group& g)
{
    for (int i = 0; i < 20000; ++i) {
        calc::Calculation_Input in;
        in.sapid = "1000" + std::to_string(i);
        in.ssn = "3100" + std::to_string(i);
        in.first_name = "สมชาย";
        in.last_name = "ใจดี";
        in.salary_text = Amount_Text(static_cast<double>(900000 + Below(15000000)) / 100);
        in.reason = "ครบกำหนดระยะเวลาการจ้างตามสัญญา";
        in.brackets = {{1, 3, 3}, {3, 6, 6}, {6, 10, 8}, {10, 100, 10}};
        int year = 2546 + Below(16);
        for (int n = 1 + Below(3); n > 0; --n) {
            const std::string begin = Real_Date_BE(year, 1 + Below(12));
            year += 1 + Below(5);
            const std::string end = Real_Date_BE(year, 1 + Below(12));
            in.periods.push_back({Below(2) ? "2" : "3", "พนักงาน", begin, end});
            ++year;
        }
        in.request_month = Two(1 + Below(12)) + "/" + std::to_string(year - 543);
        const calc::Calculation c = calc::Run_Calculation(in);
        g.add(c.ok() ? calc::Calculation_Json(in, c, calc::Json_Layout::Compact) : c.error);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const std::pair<const char*, std::function<void(Group&)>> groups[] = {
        {"amounts", Amounts},
        {"parsing", Parsing},
        {"shares", Shares},
        {"periods", Periods},
        {"forecasts", Forecasts},
        {"calculations", Calculations},
    };
    const std::string_view only = argc > 1 ? argv[1] : "";
    bool known = only.empty();
    std::string summary;
    for (const auto& [name, run] : groups) {
        // Every group draws its numbers, so that a group's inputs do not
        // depend on which groups are printed.
        Group g(only == name);
        run(g);
        summary += g.summary(name) + "\n";
        known = known || only == name;
    }
    if (!known) {
        std::fprintf(stderr, "no such group: %s\n", argv[1]);
        return 2;
    }
    if (only.empty())
        std::fwrite(summary.data(), 1, summary.size(), stdout);
    return 0;
}
