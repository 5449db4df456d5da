#include "cli/Command.h"

#include "rules/Calculation.h"
#include "rules/CalculationJson.h"
#include "services/CalculationService.h"

#include <optional>

namespace velmora::cli {
namespace {

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

// The pages of the calculation as readable Thai lines.
QString Summary(const calc::Calculation_Input& in, const calc::Calculation& c)
{
    QStringList lines;
    lines << QStringLiteral("SAP ID %1  SSN %2  %3")
                 .arg(Q(in.sapid), Q(in.ssn), Q(calc::Full_Name(in.prefix, in.first_name, in.last_name)));
    lines << QStringLiteral("ส่วนงาน %1 %2  เงินเดือนสุดท้าย %3 บาท")
                 .arg(Q(in.depart_code), Q(in.depart_name), Q(c.salary_text));
    lines << QStringLiteral("เดือนปีที่ขอรับเงินชดเชย %1  เหตุแห่งการออก %2").arg(Q(in.request_month), Q(in.reason));
    lines << QStringLiteral("ประวัติการทำงาน:");
    int n = 0;
    for (const calc::Period_Row& p : c.periods)
        lines << QStringLiteral("  %1. %2 %3  เริ่ม %4  เริ่มคำนวณ %5  สิ้นสุด %6  %7 วัน  %8 ปี %9 เดือน %10 วัน"
                                "  รวม %11 เดือน  เดือนคำนวณ %12")
                     .arg(++n)
                     .arg(Q(p.code), Q(p.type_name), Q(p.begin), Q(p.calc_begin), Q(p.end), Q(p.total_days_text),
                         Q(p.years_text), Q(p.months_text))
                     .arg(Q(p.days_text), Q(p.whole_months_text), Q(p.weight_text));
    lines << QStringLiteral("ประวัติการได้รับเงินชดเชย:");
    if (c.earlier.empty())
        lines << QStringLiteral("  ไม่มี");
    for (const calc::Earlier_Row& e : c.earlier)
        lines << QStringLiteral("  %1. SAP ID %2  %3  %4 - %5  %6 ปี %7 เดือน %8 วัน  %9 เท่า  ได้รับ %10 บาท")
                     .arg(e.number)
                     .arg(Q(e.record.sapid), Q(e.record.request_month), Q(e.record.start), Q(e.record.end))
                     .arg(e.record.years)
                     .arg(e.record.months)
                     .arg(e.record.days)
                     .arg(e.record.multiplier)
                     .arg(Q(e.compensation_text));
    lines << Q(c.span_figures.label27);
    lines << Q(c.span_figures.label25);
    const auto service = [](const calc::Service& s) {
        return QStringLiteral("%1 ปี %2 เดือน %3 วัน").arg(s.years).arg(s.months).arg(s.days);
    };
    lines << QStringLiteral("จำนวนวันทั้งหมด %1 วัน").arg(c.span_figures.total_days);
    lines << QStringLiteral("คำนวณระยะเวลาในการปฎิบัติงาน %1").arg(service(c.service.current));
    lines << QStringLiteral("ระยะเวลา (ที่เคยรับเงินชดเชยในอดีต) %1").arg(service(c.service.earlier));
    lines << QStringLiteral("รวมระยะเวลาที่ต้องนำไปคำนวณ เงินชดเชย %1").arg(service(c.service.total));
    lines << QStringLiteral("จำนวนเท่า ของเงินชดเชยได้ %1 เท่า").arg(c.money.multiplier);
    lines << QStringLiteral("สรุปจำนวนเงินชดเชยที่ได้ %1 บาท").arg(Q(c.money.compensation_text));
    lines << QStringLiteral("เงินชดเชยรวมที่เคยได้รับ %1 บาท").arg(Q(c.money.paid_earlier_text));
    lines << QStringLiteral("ยอดเงินรับสุทธิ %1 บาท").arg(Q(c.money.net_text));
    const auto side = [](const QString& name, const calc::Split_Side& s) {
        return QStringLiteral("%1: %2 วัน  %3 เดือน  %4%  %5 บาท")
            .arg(name)
            .arg(s.days)
            .arg(Q(s.months_text), Q(s.percent_text), Q(s.amount_text));
    };
    lines << side(QStringLiteral("ส่วนงาน"), c.split.department);
    lines << side(QStringLiteral("มหาวิทยาลัย"), c.split.university);
    lines << QStringLiteral("จำนวนเดือนทั้งสิ้น %1").arg(Q(c.split.total_months_text));
    return lines.join(QLatin1Char('\n'));
}

int runCalc(Context& c)
{
    QCommandLineParser p;
    const QCommandLineOption month(QStringLiteral("month"), QStringLiteral("request month"), QStringLiteral("MM/YYYY"));
    const QCommandLineOption salary(
        QStringLiteral("salary"), QStringLiteral("last monthly salary"), QStringLiteral("AMOUNT"));
    const QCommandLineOption reason(
        QStringLiteral("reason"), QStringLiteral("reason for leaving"), QStringLiteral("TEXT"));
    const QCommandLineOption save(QStringLiteral("save"), QStringLiteral("record the calculation"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("print the calculation as JSON"));
    p.addOptions({month, salary, reason, save, json});
    const QString synopsis =
        QStringLiteral("calc SAPID --month MM/YYYY [--salary AMOUNT] [--reason TEXT] [--save] [--json]");
    if (!c.parse(p, 1, synopsis))
        return Usage;
    if (!p.isSet(month))
        return c.usage(QStringLiteral("--month MM/YYYY is required\nusage: velmora-cli ") + synopsis);
    const std::string requestMonth = p.value(month).toStdString();
    const std::string monthError = calc::Check_Request_Month(requestMonth);
    if (!monthError.empty())
        return c.refuse(Q(monthError));

    auto database = c.openDatabase(p.isSet(save) ? Context::Use::Writing : Context::Use::Reading);
    if (!database)
        return Refused;
    std::optional<std::string> salaryText;
    if (p.isSet(salary))
        salaryText = p.value(salary).toStdString();
    std::optional<std::string> reasonText;
    if (p.isSet(reason))
        reasonText = p.value(reason).toStdString();

    calc::Calculation_Input input;
    std::string error;
    if (!calc::Load_Calculation_Input(*database, p.positionalArguments().at(0).toStdString(), requestMonth, salaryText,
            reasonText, &input, &error))
        return c.refuse(Q(error));
    const calc::Calculation result = calc::Run_Calculation(input);
    if (!result.ok())
        return c.refuse(Q(result.error));

    if (p.isSet(save)) {
        const auto dateEntry = calc::Server_Date_Text_BE(*database, &error);
        if (!dateEntry)
            return c.refuse(Q(error));
        if (!calc::Save_Calculation(*database, input, result, *dateEntry, &error))
            return c.refuse(Q(error));
    }
    if (p.isSet(json)) {
        c.out(Q(calc::Calculation_Json(input, result)));
    } else {
        c.outLine(Summary(input, result));
        if (p.isSet(save))
            c.outLine(QStringLiteral("ทำการบันทึกข้อมูลเรียบร้อยแล้ว"));
    }
    return Success;
}

const Registration reg({QStringLiteral("calc"),
    QStringLiteral("calc SAPID --month MM/YYYY [--salary AMOUNT] [--reason TEXT] [--save] [--json]"), false, runCalc});

} // namespace
} // namespace velmora::cli
