#include "gui/reports/URep_Outlook.h"

#include "gui/common/Session.h"
#include "gui/common/Widgets.h"
#include "pages/OutlookPage.h"
#include "pages/PageRenderer.h"
#include "rules/ChartAxis.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QStackedBarSeries>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace velmora::reports {

using namespace velmora::outlook;

TfrmRep_Outlook::TfrmRep_Outlook(app::Session& session, QWidget* parent)
    : ReportScreen(session, parent)
{
    setObjectName(QStringLiteral("frmRep_Outlook"));
    setWindowTitle(QStringLiteral("ประมาณการภาระเงินชดเชย"));
    QVBoxLayout* layout = beginScreen(QStringLiteral("รายงานประมาณการภาระเงินชดเชย"), "navy");

    // Two rows of filters, so that the screen fits a 1366-pixel screen:
    // the kind and the grouping, then the periods and the department.
    auto* filters = new QGridLayout;
    GroupBox1 = app::groupBox(this, "GroupBox1", QStringLiteral("ประเภทประมาณการ"));
    rbContract_End = app::radio(GroupBox1, "rbContract_End", QStringLiteral("สิ้นสุดสัญญาจ้าง (รายเดือน)"));
    rbAge60 = app::radio(GroupBox1, "rbAge60", QStringLiteral("อายุครบ 60 ปี (รายปี)"));
    filters->addWidget(GroupBox1, 0, 0);

    GroupBox3 = app::groupBox(this, "GroupBox3", QStringLiteral("ช่วงเวลา"));
    auto* period = new QHBoxLayout(GroupBox3);
    lblFrom = app::label(GroupBox3, "lblFrom", QString());
    period->addWidget(lblFrom);
    edtFrom = app::editBox(GroupBox3, "edtFrom");
    lblCount = app::label(GroupBox3, "lblCount", QString());
    period->addWidget(lblCount);
    edtCount = app::editBox(GroupBox3, "edtCount");
    period->addWidget(new QLabel(QStringLiteral("อัตราขึ้นเงินเดือนต่อปี (ร้อยละ)"), GroupBox3));
    edtRaise = app::editBox(GroupBox3, "edtRaise");
    filters->addWidget(GroupBox3, 1, 0);

    GroupBox5 = app::groupBox(this, "GroupBox5", QStringLiteral("แยกตาม"));
    rbBy_Department = app::radio(GroupBox5, "rbBy_Department", QStringLiteral("ส่วนงาน"));
    rbBy_Type = app::radio(GroupBox5, "rbBy_Type", QStringLiteral("ประเภทการจ้าง (แหล่งเงิน)"));
    filters->addWidget(GroupBox5, 0, 1);

    m_department = app::departmentFilter(this);
    filters->addWidget(m_department.box, 1, 1);
    filters->setColumnStretch(2, 1);
    layout->addLayout(filters);

    btnPrint = makeButton("btnPrint", QStringLiteral("พิมพ์"));
    layout->addLayout(buttonRow({btnPrint}));
    // the keyboard goes along the row as it is drawn
    QWidget::setTabOrder(btnShow_Data, Button1);
    QWidget::setTabOrder(Button1, btnPrint);
    QWidget::setTabOrder(btnPrint, btnExit_Form);

    // The table beside its chart, the employees that could not be computed below.
    GroupBox2 = app::groupBox(this, "GroupBox2", QStringLiteral("รายการผลการคำนวณ"));
    new QVBoxLayout(GroupBox2);
    auto* split = new QSplitter(Qt::Vertical, GroupBox2);
    auto* results = new QSplitter(Qt::Horizontal, split);
    results->addWidget(makeGrid(reportColumnWidths(), 100));
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    chartOutlook = app::make<QChartView>(results, "chartOutlook", chart);
    chartOutlook->setRenderHint(QPainter::Antialiasing);
    // Shorter than this, the chart elides its month labels and axis title to "...".
    chartOutlook->setMinimumHeight(260);
    results->addWidget(chartOutlook);
    // The table would take the whole width (its columns are many): the chart
    // keeps enough of it to read its axis and months, and is never folded away.
    chartOutlook->setMinimumWidth(420);
    results->setChildrenCollapsible(false);
    results->setStretchFactor(0, 3);
    results->setStretchFactor(1, 2);
    split->addWidget(results);
    auto* refusedBox = app::groupBox(split, "GroupBox7", QStringLiteral("พนักงานที่คำนวณไม่ได้"));
    auto* refusedLayout = new QVBoxLayout(refusedBox);
    m_refusals = new GridModel(this);
    // A screen's own list: SAP IDs without the spreadsheet's apostrophe, the
    // reason whole (wrapped over lines, and in its tooltip).
    m_refusals->setTextMarksShown(false);
    m_refusals->setCellTips(true);
    StringGrid2 = app::gridView(refusedBox, "StringGrid2", m_refusals, true);
    StringGrid2->setWordWrap(true);
    StringGrid2->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    StringGrid2->horizontalHeader()->setStretchLastSection(true);
    app::keepColumnWidths(StringGrid2, {40, 70, 160, 160, 100});
    refusedLayout->addWidget(StringGrid2);
    split->addWidget(refusedBox);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    GroupBox2->layout()->addWidget(split);
    layout->addWidget(GroupBox2, 1);

    connect(btnPrint, &QPushButton::clicked, this, &TfrmRep_Outlook::btnPrintClick);
    connect(rbContract_End, &QRadioButton::clicked, this, &TfrmRep_Outlook::rbKindClick);
    connect(rbAge60, &QRadioButton::clicked, this, &TfrmRep_Outlook::rbKindClick);
    FormCreate();
}

void TfrmRep_Outlook::FormCreate()
{
    rbContract_End->setChecked(true);
    rbBy_Department->setChecked(true);
    m_department.all->setChecked(true);
    fillChoices(m_department.choice, false);
    rbKindClick();
}

// The boxes of the chosen kind with their defaults: this month or this
// Buddhist-era year, 12 months or 10 years, the forecast's 5 percent.
void TfrmRep_Outlook::rbKindClick()
{
    const bool age60 = rbAge60->isChecked();
    const QString today = m_session.Server_Date_Text; // dd/mm/yyyy, Christian era
    lblFrom->setText(age60 ? QStringLiteral("ตั้งแต่ปี พ.ศ.") : QStringLiteral("ตั้งแต่เดือน (ดด/ปปปป ค.ศ.)"));
    lblCount->setText(age60 ? QStringLiteral("จำนวนปี") : QStringLiteral("จำนวนเดือน"));
    if (today.size() == 10)
        edtFrom->setText(age60 ? QString::number(today.mid(6, 4).toInt() + 543) : today.mid(3, 7));
    edtCount->setText(QString::number(age60 ? kDefaultYears : kDefaultMonths));
    edtRaise->setText(age60 ? QStringLiteral("5") : QString());
    edtRaise->setEnabled(age60);
}

Outlook_Criteria TfrmRep_Outlook::criteria() const
{
    Outlook_Criteria c;
    c.kind = rbAge60->isChecked() ? Outlook_Kind::Age60 : Outlook_Kind::Contract_End;
    c.from = edtFrom->text();
    c.count = edtCount->text();
    c.raise = c.kind == Outlook_Kind::Age60 ? edtRaise->text() : QString();
    c.by = rbBy_Type->isChecked() ? Outlook_Grouping::Work_Type : Outlook_Grouping::Department;
    c.department = m_department.chosen();
    return c;
}

void TfrmRep_Outlook::btnShow_DataClick()
{
    if (!m_session.db)
        return;
    m_result = Run_Outlook(*m_session.db, criteria());
    ReportResult shown;
    shown.ok = m_result.ok;
    shown.error = m_result.error;
    shown.found = m_result.ok && (m_result.grand.count > 0 || !m_result.refused.empty());
    if (m_result.ok)
        shown.grid = Outlook_Grid(m_result);
    showResult(shown);
    m_refusals->setGrid(m_result.ok ? Refusal_Grid(m_result) : ReportGrid::initial());
    showChart();
}

void TfrmRep_Outlook::showChart()
{
    QChart* chart = chartOutlook->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes())
        chart->removeAxis(axis);
    if (!m_result.ok) {
        chart->setTitle(QString());
        return;
    }
    chart->setTitle(Outlook_Title(m_result.plan));
    auto* series = new QStackedBarSeries;
    for (int g = 0; g < m_result.groups.size(); ++g) {
        auto* set = new QBarSet(m_result.groups.at(g));
        set->setColor(print::outlookGroupColour(g));
        for (std::size_t p = 0; p < m_result.cells.size(); ++p)
            *set << m_result.cells[p][std::size_t(g)].amount();
        series->append(set);
    }
    chart->addSeries(series);
    auto* periods = new QBarCategoryAxis;
    periods->append(m_result.periods);
    periods->setTitleText(
        m_result.plan.kind == Outlook_Kind::Age60 ? QStringLiteral("ปี พ.ศ.") : QStringLiteral("เดือนที่สิ้นสุดสัญญา"));
    chart->addAxis(periods, Qt::AlignBottom);
    series->attachAxis(periods);
    // The amount axis of the printed page: round steps from 0, each figure in
    // whole baht with thousands separators ("1,500,000").
    double tallest = 0;
    for (const Outlook_Cell& c : m_result.period_totals)
        tallest = std::max(tallest, c.amount());
    const Amount_Axis scale = Amount_Axis_For(tallest);
    auto* amounts = new QCategoryAxis;
    amounts->setTitleText(QStringLiteral("บาท"));
    amounts->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    amounts->setStartValue(0);
    const std::vector<double> values = Axis_Values(scale);
    for (double v : values)
        amounts->append(QString::fromStdString(Axis_Label(v)), v);
    amounts->setRange(0, scale.top);
    amounts->setTickCount(int(values.size()));
    chart->addAxis(amounts, Qt::AlignLeft);
    series->attachAxis(amounts);
}

ExportOptions TfrmRep_Outlook::exportOptions() const
{
    ExportOptions o;
    o.sheetName = QString::fromUtf8(kOutlookSheet);
    return o;
}

void TfrmRep_Outlook::Button1Click()
{
    btnExportClick();
}

void TfrmRep_Outlook::btnExportClick()
{
    if (!m_result.ok) {
        inform(QStringLiteral("กรุณากด แสดงข้อมูล ก่อนส่งออก"));
        return;
    }
    QString error;
    const QString path =
        Export_Outlook(m_session.db, m_result, {QString(), exportTargetFolder(), m_session.machineNow()}, &error);
    if (path.isEmpty()) {
        inform(QStringLiteral("ส่งออกไปยัง Excel ไม่สำเร็จ: ") + error);
        return;
    }
    m_lastOutlookExport = path;
    showExport(path, [this](const QString& text) { inform(text); });
}

void TfrmRep_Outlook::btnPrintClick()
{
    if (!m_result.ok) {
        inform(QStringLiteral("กรุณากด แสดงข้อมูล ก่อนพิมพ์"));
        return;
    }
    const QList<print::PageLayout> pages = print::buildOutlookPages(m_result);
    if (showPreview)
        showPreview(pages);
    else
        print::preview(this, pages, Outlook_Title(m_result.plan));
}

} // namespace velmora::reports
