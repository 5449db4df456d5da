#include "rules/FundSourceRules.h"

#include "rules/AmountText.h"

namespace velmora {

bool Is_University_Fund(std::string_view workTypeCode)
{
    return workTypeCode == kUniversityFundCode;
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
