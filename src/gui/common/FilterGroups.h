#pragma once

// The filter groups of the list screens, built once: a group box of
// "ทั้งหมด" / "เฉพาะ" over a choice list (department, employment type, fund
// source), and the period group ("ทั้งหมด" / "เฉพาะปี" year box / "เฉพาะเดือนปี"
// month box, both Christian era with their era labels).

#include "services/ReportQueries.h"

#include <QString>

#include <optional>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace velmora::app {

struct ChoiceFilter
{
    QGroupBox* box = nullptr;
    QRadioButton* all = nullptr;
    QRadioButton* one = nullptr;
    QComboBox* choice = nullptr;

    // The chosen name when the filter is on "เฉพาะ", else none.
    std::optional<QString> chosen() const;
};

// The objectNames of a choice filter's four controls.
struct ChoiceFilterNames
{
    const char* box;
    const char* all;
    const char* one;
    const char* choice;
};

ChoiceFilter choiceFilter(QWidget* parent, const ChoiceFilterNames& names, const QString& caption);
// The department filter of every list screen: "หน่วยวงาน", GroupBox6,
// RadioButton6 / RadioButton7, cmbDapart_Name.
ChoiceFilter departmentFilter(QWidget* parent);
// The employment-type filter (or the fund source, by its caption): GroupBox4,
// RadioButton1 / RadioButton2, cmbWork_Type.
ChoiceFilter workTypeFilter(QWidget* parent, const QString& caption);

struct PeriodFilterBoxes
{
    QGroupBox* box = nullptr;
    QRadioButton* all = nullptr; // RadioButton3
    QRadioButton* year = nullptr; // RadioButton4
    QLineEdit* yearBox = nullptr; // edtYear_sel
    QRadioButton* month = nullptr; // RadioButton5
    QLineEdit* monthBox = nullptr;

    // The period as the boxes hold it.
    reports::PeriodFilter period() const;
    // "ทั้งหมด" on, this year and this month in the boxes (Christian era).
    void setDefaults(const QString& yearText, const QString& monthYearText);
};

// The month box of the report screens: two digits, "/", four digits.
inline constexpr char kMonthYearMask[] = "00/9999;_";

// How the three choices stand: in one row, or one under the other with the
// boxes in a second column.
enum class PeriodLayout { Row, Stacked };

// The period group: GroupBox5 with `caption`, the month box named
// `monthBoxName` with `monthMask` as its input mask.
PeriodFilterBoxes periodFilter(QWidget* parent, const QString& caption, const char* monthBoxName, const char* monthMask,
    PeriodLayout layout = PeriodLayout::Row);

} // namespace velmora::app
