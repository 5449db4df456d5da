#include "gui/reports/URep_Split_Money.h"

#include "gui/common/DateText.h"
#include "gui/common/Session.h"
#include "gui/common/Widgets.h"
#include "pages/MemoPage.h"
#include "pages/OrganisationSettings.h"
#include "pages/PageRenderer.h"
#include "services/ApprovalMemo.h"
#include "services/ReportExports.h"
#include "services/Rights.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace velmora::reports {

TfrmRep_Split_Money::TfrmRep_Split_Money(app::Session& session, QWidget* parent)
    : ReportScreen(session, parent)
{
    setObjectName(QStringLiteral("frmRep_Split_Money"));
    setWindowTitle(QStringLiteral("รายงานเงินชดเชยแยกแหล่งเงิน"));
    m_selection = new GridModel(this);
    model()->setGrid(ReportGrid::emptyResult(fundSourceTitles()));
    m_selection->setGrid(ReportGrid::emptyResult(selectionTitles()));

    // The two panels lie at the same place; the selection panel covers the other.
    auto* stack = new QGridLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    Panel1 = app::make<QFrame>(this, "Panel1");
    Panel2 = app::make<QFrame>(this, "Panel2");
    Panel2->setAutoFillBackground(true);
    stack->addWidget(Panel1, 0, 0);
    stack->addWidget(Panel2, 0, 0);
    buildPanel1();
    buildPanel2();
    FormCreate();
}

TfrmRep_Split_Money::~TfrmRep_Split_Money() = default;

void TfrmRep_Split_Money::buildPanel1()
{
    auto* layout = new QVBoxLayout(Panel1);
    layout->addWidget(app::heading(Panel1, "Label5", QStringLiteral("รายงานเงินชดเชยแยกแหล่งเงิน"), "navy"));

    auto* filters = new QHBoxLayout;
    m_department = app::departmentFilter(Panel1);
    m_source = app::workTypeFilter(Panel1, QStringLiteral("แหล่งเงิน"));
    m_source.choice->setMinimumContentsLength(14);
    filters->addWidget(m_department.box);
    filters->addWidget(m_source.box);
    layout->addLayout(filters);

    auto* filters2 = new QHBoxLayout;
    auto* GroupBox1 = app::groupBox(Panel1, "GroupBox1", QString());
    auto* dates = new QHBoxLayout(GroupBox1);
    dates->addWidget(app::label(GroupBox1, "Label3", QStringLiteral("วันที่บันทึกข้อมูล")));
    edtBeg_Cal = app::maskedBox(GroupBox1, "edtBeg_Cal", QStringLiteral("99/99/0000;_"));
    dates->addWidget(app::label(GroupBox1, "Label4", QStringLiteral("ถึงวันที่")));
    edtEnd_Cal = app::maskedBox(GroupBox1, "edtEnd_Cal", QStringLiteral("99/99/0000;_"));
    app::eraNote(edtBeg_Cal, app::Era::Buddhist);
    app::eraNote(edtEnd_Cal, app::Era::Buddhist);
    auto* GroupBox3 = app::groupBox(Panel1, "GroupBox3", QString());
    RadioButton9 = app::radio(GroupBox3, "RadioButton9", QStringLiteral("ทังหมด"));
    RadioButton10 = app::radio(GroupBox3, "RadioButton10", QStringLiteral("เฉพาะที่ยังไม่เคยพิมพ์บันทึก"));
    makeButtons();
    filters2->addWidget(GroupBox1);
    filters2->addWidget(GroupBox3);
    filters2->addWidget(btnShow_Data);
    filters2->addStretch();
    filters2->addWidget(btnExit_Form);
    layout->addLayout(filters2);

    auto* GroupBox2 = app::groupBox(Panel1, "GroupBox2", QStringLiteral("รายการผลการคำนวณ"));
    auto* listLayout = new QVBoxLayout(GroupBox2);
    listLayout->addWidget(makeGrid(fundSourceWidths(), 0, true), 1);
    auto* marks = new QHBoxLayout;
    btnSelect_all = app::button(GroupBox2, "btnSelect_all", QStringLiteral("เลือกทั้งหมด"));
    btnRelease_All = app::button(GroupBox2, "btnRelease_All", QStringLiteral("ยกเลิกการเลือกทั้งหมด"));
    btnSelect2 = app::button(GroupBox2, "btnSelect2", QStringLiteral("เลือก"));
    btnRelease2 = app::button(GroupBox2, "btnRelease2", QStringLiteral("ยกเลิกการเลือก"));
    Button2 = app::button(GroupBox2, "Button2", QStringLiteral("พิมพ์ข้อมูลที่เลือก"));
    for (QPushButton* b : {btnSelect_all, btnRelease_All, btnSelect2, btnRelease2, Button2, Button1})
        marks->addWidget(b);
    marks->addStretch();
    listLayout->addLayout(marks);
    layout->addWidget(GroupBox2, 1);
    // the keyboard reaches the export after the marks, as the row is drawn
    QWidget::setTabOrder(Button2, Button1);

    layout->addWidget(app::label(Panel1, "Label1", QStringLiteral("Develop By Pelvo")));

    connect(btnSelect_all, &QPushButton::clicked, this, &TfrmRep_Split_Money::btnSelect_allClick);
    connect(btnRelease_All, &QPushButton::clicked, this, &TfrmRep_Split_Money::btnRelease_AllClick);
    connect(btnSelect2, &QPushButton::clicked, this, &TfrmRep_Split_Money::btnSelect2Click);
    connect(btnRelease2, &QPushButton::clicked, this, &TfrmRep_Split_Money::btnRelease2Click);
    connect(StringGrid1, &QTableView::doubleClicked, this, &TfrmRep_Split_Money::StringGrid1DblClick);
    connect(Button2, &QPushButton::clicked, this, &TfrmRep_Split_Money::Button2Click);
    app::setColumnWidths(StringGrid1, fundSourceWidths());
}

void TfrmRep_Split_Money::buildPanel2()
{
    auto* layout = new QVBoxLayout(Panel2);
    layout->addWidget(app::heading(Panel2, "Label2", QStringLiteral("รายงานเงินชดเชยแยกแหล่งเงิน"), "navy"));
    StringGrid2 = app::gridView(Panel2, "StringGrid2", m_selection, true);
    layout->addWidget(StringGrid2, 1);

    auto* bottom = new QHBoxLayout;
    btnExpExcel = app::button(Panel2, "btnExpExcel", QStringLiteral("Export MS Excel"));
    btnExit2 = app::button(Panel2, "btnExit2", QStringLiteral("ออก"));
    auto* GroupBox9 = app::groupBox(Panel2, "GroupBox9", QStringLiteral("พิมพ์บันทึกข้อความ"));
    auto* memo = new QHBoxLayout(GroupBox9);
    auto* GroupBox8 = app::groupBox(GroupBox9, "GroupBox8", QString());
    RadioButton3 = app::radio(GroupBox8, "RadioButton3", QStringLiteral("เพื่อประมวลผลผ่าน Payroll"));
    RadioButton4 = app::radio(GroupBox8, "RadioButton4", QStringLiteral("ส่งคืนคณะ"));
    auto* RadioGroup1 = app::groupBox(GroupBox9, "RadioGroup1", QString());
    RadioButton5 = app::radio(RadioGroup1, "RadioButton5", QStringLiteral("ครบกำหนดระยะเวลาการจ้างตามสัญญา"));
    RadioButton8 = app::radio(RadioGroup1, "RadioButton8", QStringLiteral("เกษียณอายุงาน ตามข้อบังคับมหาวิทยาลัยกาวิลัน"));
    bntPrint_Doc = app::button(GroupBox9, "bntPrint_Doc", QStringLiteral("พิมพ์บันทึก"));
    // the memo is the checker's; the others read the lists
    bntPrint_Doc->setEnabled(rights::mayDo(rights::Action::PrintMemo));
    memo->addWidget(GroupBox8);
    memo->addWidget(RadioGroup1);
    memo->addWidget(bntPrint_Doc);
    bottom->addWidget(btnExpExcel);
    bottom->addWidget(GroupBox9, 1);
    bottom->addWidget(btnExit2);
    layout->addLayout(bottom);

    app::keepColumnWidths(StringGrid2, selectionWidths());
    connect(btnExpExcel, &QPushButton::clicked, this, &TfrmRep_Split_Money::btnExpExcelClick);
    connect(btnExit2, &QPushButton::clicked, this, &TfrmRep_Split_Money::btnExit2Click);
    connect(bntPrint_Doc, &QPushButton::clicked, this, &TfrmRep_Split_Money::bntPrint_DocClick);
    app::setColumnWidths(StringGrid2, selectionWidths());
}

void TfrmRep_Split_Money::FormCreate()
{
    Panel2->hide();
    m_source.one->setChecked(true);
    m_department.all->setChecked(true);
    RadioButton9->setChecked(true);
    RadioButton3->setChecked(true);
    RadioButton5->setChecked(true);
    // the first day of the current month to today, Buddhist era
    const app::DefaultDates dates = app::defaultDates(m_session.Server_Date_Text, m_session.Server_Date_Text_BE);
    edtBeg_Cal->setText(dates.firstOfMonthBE);
    edtEnd_Cal->setText(dates.todayBE);
    m_source.choice->clear();
    m_source.choice->addItems({QStringLiteral("2. มหาวิทยาลัย"), QStringLiteral("3. ส่วนงาน")});
    m_source.choice->setEditText(QStringLiteral("2. มหาวิทยาลัย"));
    fillChoices(m_department.choice, false);
}

const ReportGrid& TfrmRep_Split_Money::resultList() const
{
    return model()->grid();
}

const ReportGrid& TfrmRep_Split_Money::selectionList() const
{
    return m_selection->grid();
}

FundSourceCriteria TfrmRep_Split_Money::criteria() const
{
    FundSourceCriteria c;
    c.from = edtBeg_Cal->text();
    c.to = edtEnd_Cal->text();
    if (const std::optional<QString> source = m_source.chosen())
        c.sourceCode = source->left(1);
    c.unprintedOnly = RadioButton10->isChecked();
    c.department = m_department.chosen();
    return c;
}

void TfrmRep_Split_Money::btnShow_DataClick()
{
    if (!m_session.db)
        return;
    const FundSourceResult result = queryFundSource(*m_session.db, criteria());
    m_found = result.ok && result.found;
    m_lines = result.ok ? result.lines : QList<FundSourceLine>();
    // a new search clears every mark
    showResult({result.ok, result.error, result.found, result.grid});
    // the first line is current, so that "เลือก" acts at once
    if (result.ok)
        StringGrid1->setCurrentIndex(result.found ? model()->index(0, 0) : QModelIndex());
}

int TfrmRep_Split_Money::currentLine() const
{
    const QModelIndex current = StringGrid1->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TfrmRep_Split_Money::btnSelect_allClick()
{
    model()->changeCells([](ReportGrid& g) { markAll(g); });
}

void TfrmRep_Split_Money::btnRelease_AllClick()
{
    model()->changeCells([](ReportGrid& g) { releaseAll(g); });
}

void TfrmRep_Split_Money::btnSelect2Click()
{
    const int row = currentLine();
    model()->changeCells([row](ReportGrid& g) { markLine(g, row); });
}

void TfrmRep_Split_Money::btnRelease2Click()
{
    const int row = currentLine();
    model()->changeCells([row](ReportGrid& g) { releaseLine(g, row); });
}

void TfrmRep_Split_Money::StringGrid1DblClick()
{
    const int row = currentLine();
    model()->changeCells([row](ReportGrid& g) { toggleLine(g, row); });
}

void TfrmRep_Split_Money::Button2Click() // NOLINT(bugprone-virtual-near-miss): Button2's own handler
{
    if (!m_found) {
        m_selection->setGrid(ReportGrid::emptyResult(selectionTitles()));
        inform(notFoundMessage());
        return;
    }
    m_selection->setGrid(gatherSelection(model()->grid(), m_lines));
    Panel2->show();
    Panel2->raise();
}

QString TfrmRep_Split_Money::secondTitle() const
{
    return departmentTitle(m_department.chosen());
}

ExportOptions TfrmRep_Split_Money::exportOptions() const
{
    return fundSourceExport(secondTitle());
}

void TfrmRep_Split_Money::btnExpExcelClick()
{
    exportGrid(m_selection->grid(), selectionExport(secondTitle()));
}

void TfrmRep_Split_Money::btnExit2Click()
{
    Panel2->hide();
}

void TfrmRep_Split_Money::bntPrint_DocClick()
{
    if (!m_session.db)
        return;
    // The department of the selected lines; the department box counts only
    // when the filter is on "เฉพาะ" (with "ทั้งหมด" it shows any department).
    const std::optional<QString> named = m_department.chosen();
    // The calculations are marked before the memo is shown, whether or not
    // it is then printed; all of them or, on a refusal or failure, none.
    const ApprovalMemo memo = prepareApprovalMemo(*m_session.db, m_selection->grid(), named,
        RadioButton4->isChecked() ? QStringLiteral("faculty") : QStringLiteral("payroll"));
    if (!memo.ok) {
        inform(memo.error);
        return;
    }
    const print::MemoContent content = print::memoContent(memo,
        RadioButton4->isChecked() ? print::MemoRouting::Faculty : print::MemoRouting::Payroll,
        RadioButton8->isChecked() ? print::MemoReason::Retirement : print::MemoReason::ContractEnd);
    m_memo = print::buildMemoPage(content, print::OrganisationSettings().load());
    if (showPreview)
        showPreview({m_memo});
    else
        print::preview(this, {m_memo}, QStringLiteral("บันทึกข้อความ"));
}

} // namespace velmora::reports
