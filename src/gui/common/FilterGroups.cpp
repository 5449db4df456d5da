#include "gui/common/FilterGroups.h"

#include "gui/common/Widgets.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>

namespace velmora::app {

std::optional<QString> ChoiceFilter::chosen() const
{
    if (!one->isChecked())
        return std::nullopt;
    return choice->currentText();
}

ChoiceFilter choiceFilter(QWidget* parent, const ChoiceFilterNames& names, const QString& caption)
{
    ChoiceFilter f;
    f.box = groupBox(parent, names.box, caption);
    f.all = radio(f.box, names.all, QStringLiteral("ทั้งหมด"));
    f.one = radio(f.box, names.one, QStringLiteral("เฉพาะ"));
    f.choice = choiceBox(f.box, names.choice);
    return f;
}

ChoiceFilter departmentFilter(QWidget* parent)
{
    return choiceFilter(
        parent, {"GroupBox6", "RadioButton6", "RadioButton7", "cmbDapart_Name"}, QStringLiteral("หน่วยวงาน"));
}

ChoiceFilter workTypeFilter(QWidget* parent, const QString& caption)
{
    return choiceFilter(parent, {"GroupBox4", "RadioButton1", "RadioButton2", "cmbWork_Type"}, caption);
}

reports::PeriodFilter PeriodFilterBoxes::period() const
{
    if (year->isChecked())
        return {reports::PeriodFilter::Year, yearBox->text(), {}};
    if (month->isChecked())
        return {reports::PeriodFilter::Month, {}, monthBox->text()};
    return {};
}

void PeriodFilterBoxes::setDefaults(const QString& yearText, const QString& monthYearText)
{
    all->setChecked(true);
    yearBox->setText(yearText);
    monthBox->setText(monthYearText);
}

PeriodFilterBoxes periodFilter(
    QWidget* parent, const QString& caption, const char* monthBoxName, const char* monthMask, PeriodLayout layout)
{
    PeriodFilterBoxes f;
    f.box = groupBox(parent, "GroupBox5", caption);
    f.all = make<QRadioButton>(f.box, "RadioButton3", QStringLiteral("ทั้งหมด"));
    f.year = make<QRadioButton>(f.box, "RadioButton4", QStringLiteral("เฉพาะปี"));
    f.yearBox = lineEdit(f.box, "edtYear_sel");
    f.month = make<QRadioButton>(f.box, "RadioButton5", QStringLiteral("เฉพาะเดือนปี"));
    f.monthBox = lineEdit(f.box, monthBoxName);
    f.monthBox->setInputMask(QString::fromLatin1(monthMask));
    for (QLineEdit* e : {f.yearBox, f.monthBox})
        e->setMaximumWidth(90);
    if (layout == PeriodLayout::Stacked) {
        auto* grid = new QGridLayout(f.box);
        grid->addWidget(f.all, 0, 0);
        grid->addWidget(f.year, 1, 0);
        grid->addWidget(f.yearBox, 1, 1);
        grid->addWidget(f.month, 2, 0);
        grid->addWidget(f.monthBox, 2, 1);
    } else {
        auto* row = new QHBoxLayout(f.box);
        for (QWidget* w : std::initializer_list<QWidget*> {f.all, f.year, f.yearBox, f.month, f.monthBox})
            row->addWidget(w);
    }
    eraNote(f.yearBox, Era::Christian);
    eraNote(f.monthBox, Era::Christian);
    return f;
}

} // namespace velmora::app
