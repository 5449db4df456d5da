#include "rules/FundSourceRules.h"

#include "rules/ServicePeriod.h"

#include "rules/AmountText.h"

namespace velmora {

Fund_Side Fund_Side_Of_Code(std::string_view workTypeCode)
{
    if (workTypeCode == "3")
        return Fund_Side::Department;
    if (workTypeCode == kUniversityFundCode)
        return Fund_Side::University;
    return Fund_Side::Neither;
}

bool Is_University_Fund(std::string_view workTypeCode)
{
    return Fund_Side_Of_Code(workTypeCode) == Fund_Side::University;
}

Net_Split Split_Net(double factMonths, double kvMonths, double net)
{
    const double total = kvMonths + factMonths;
    if (total == 0.0)
        return Net_Split {0.0, 0.0, false};
    return Net_Split {factMonths * net / total, kvMonths * net / total, true};
}

double Fund_Source_Share(double net, double factMonths, double kvMonths, std::string_view workTypeCode)
{
    const long double months = static_cast<long double>(factMonths) + static_cast<long double>(kvMonths);
    if (months == 0)
        return 0.0;
    const double weight = Is_University_Fund(workTypeCode) ? kvMonths : factMonths;
    const long double product = static_cast<long double>(net) * static_cast<long double>(weight);
    return static_cast<double>(product / months);
}

std::string Check_Save_Date(std::string_view date)
{
    // A real date (31/02 is refused), Buddhist-era year.
    if (Is_Valid_Date_Text(date, Year_Era::Buddhist))
        return {};
    return "วันที่ไม่ถูกต้อง: \"" + std::string(date) + "\" (ต้องเป็น วว/ดด/ปปปป ปีพุทธศักราช เช่น 01/03/2567)";
}

std::string Save_Date_Key(std::string_view date)
{
    const auto part = [&](std::size_t from, std::size_t count) {
        return from < date.size() ? std::string(date.substr(from, count)) : std::string();
    };
    return part(6, 4) + part(3, 2) + part(0, 2);
}

bool Shown_Total::add(std::string_view amountText)
{
    const auto value = Parse_Number(amountText);
    if (!value)
        return false;
    m_total += *value;
    return true;
}

std::string Shown_Total::text() const
{
    return Amount_Text(m_total);
}

} // namespace velmora
