#include "gui/reports/URep_Split_Money.h"
#include "gui/common/DateText.h"

#include "gui/common/GridModel.h"
#include "gui/common/ReportScreen.h"
#include "gui/common/ScreenParts.h"
#include "pages/MemoPage.h"
#include "pages/OrganisationSettings.h"
#include "pages/PageRenderer.h"
#include "services/ApprovalMemo.h"
#include "services/ReportExports.h"

#include "gui/common/Prompter.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace velmora::reports {

// The result list: a report grid whose marks change one cell at a time, so
// that marking a line of a long list keeps the view where it is.
class MarkableGridModel : public QAbstractTableModel
{
public:
    explicit MarkableGridModel(QObject* parent)
        : QAbstractTableModel(parent)
    { }

    void setGrid(ReportGrid grid)
    {
        beginResetModel();
        m_grid = std::move(grid);
        endResetModel();
    }
    const ReportGrid& grid() const { return m_grid; }

    // Applies a change of marks and tells the view which cells of column 1 changed.
    template <typename Change>
    void changeMarks(Change change)
    {
        const ReportGrid before = m_grid;
        change(m_grid);
        for (int r = 0; r < m_grid.rows.size(); ++r)
            if (before.rows.at(r).value(fsMark) != m_grid.rows.at(r).value(fsMark))
                emit dataChanged(index(r, fsMark), index(r, fsMark), {Qt::DisplayRole});
    }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_grid.rows.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_grid.columnCount();
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return m_grid.rows.at(index.row()).value(index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
            return {};
        return m_grid.titles.value(section);
    }

private:
    ReportGrid m_grid;
};

namespace {

QTableView* makeTable(QWidget* parent, const char* name, QAbstractItemModel* model)
{
    auto* grid = new QTableView(parent);
    grid->setObjectName(QLatin1String(name));
    grid->setModel(model);
    grid->verticalHeader()->hide(); // column 0 holds the running number
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    return grid;
}

void applyWidths(QTableView* grid, const QList<int>& widths)
{
    for (int c = 0; c < widths.size() && c < grid->model()->columnCount(); ++c)
        if (widths.at(c) > 0)
            grid->setColumnWidth(c, widths.at(c));
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QLabel* heading(QWidget* parent, const char* name, const QString& caption)
{
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QLatin1String(name));
    l->setAlignment(Qt::AlignCenter);
    l->setStyleSheet(QStringLiteral("color: navy; font-size: 16pt; font-weight: bold;"));
    return l;
}

QLineEdit* dateBox(QGroupBox* box, const char* name)
{
    QLineEdit* e = editBox(box, name);
    e->setInputMask(QStringLiteral("99/99/0000;_"));
    return e;
}

ReportGrid emptyList(const QStringList& titles)
{
    return ReportGrid::emptyResult(titles);
}

} // namespace

TfrmRep_Split_Money::TfrmRep_Split_Money(app::Session& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("frmRep_Split_Money"));
    setWindowTitle(QStringLiteral("รายงานเงินชดเชยแยกแหล่งเงิน"));
    m_list = new MarkableGridModel(this);
    m_selection = new GridModel(this);
    m_list->setGrid(emptyList(fundSourceTitles()));
    m_selection->setGrid(emptyList(selectionTitles()));

    // The two panels lie at the same place; the selection panel covers the other.
    auto* stack = new QGridLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
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
    Label5 = heading(Panel1, "Label5", QStringLiteral("รายงานเงินชดเชยแยกแหล่งเงิน"));
    layout->addWidget(Label5);

    auto* filters = new QHBoxLayout;
    GroupBox6 = groupBox(Panel1, "GroupBox6", QStringLiteral("หน่วยวงาน"));
    RadioButton6 = radio(GroupBox6, "RadioButton6", QStringLiteral("ทั้งหมด"));
    RadioButton7 = radio(GroupBox6, "RadioButton7", QStringLiteral("เฉพาะ"));
    cmbDapart_Name = choiceBox(GroupBox6, "cmbDapart_Name");
    GroupBox4 = groupBox(Panel1, "GroupBox4", QStringLiteral("แหล่งเงิน"));
    RadioButton1 = radio(GroupBox4, "RadioButton1", QStringLiteral("ทั้งหมด"));
    RadioButton2 = radio(GroupBox4, "RadioButton2", QStringLiteral("เฉพาะ"));
    cmbWork_Type = choiceBox(GroupBox4, "cmbWork_Type");
    cmbWork_Type->setMinimumContentsLength(14);
    filters->addWidget(GroupBox6);
    filters->addWidget(GroupBox4);
    layout->addLayout(filters);

    auto* filters2 = new QHBoxLayout;
    GroupBox1 = groupBox(Panel1, "GroupBox1", QString());
    Label3 = new QLabel(QStringLiteral("วันที่บันทึกข้อมูล"), GroupBox1);
    Label3->setObjectName(QStringLiteral("Label3"));
    GroupBox1->setLayout(new QHBoxLayout);
    GroupBox1->layout()->addWidget(Label3);
    edtBeg_Cal = dateBox(GroupBox1, "edtBeg_Cal");
    Label4 = new QLabel(QStringLiteral("ถึงวันที่"), GroupBox1);
    Label4->setObjectName(QStringLiteral("Label4"));
    GroupBox1->layout()->addWidget(Label4);
    edtEnd_Cal = dateBox(GroupBox1, "edtEnd_Cal");
    eraNote(edtBeg_Cal, Era::Buddhist);
    eraNote(edtEnd_Cal, Era::Buddhist);
    GroupBox3 = groupBox(Panel1, "GroupBox3", QString());
    RadioButton9 = radio(GroupBox3, "RadioButton9", QStringLiteral("ทังหมด"));
    RadioButton10 = radio(GroupBox3, "RadioButton10", QStringLiteral("เฉพาะที่ยังไม่เคยพิมพ์บันทึก"));
    btnShow_Data = button(Panel1, "btnShow_Data", QStringLiteral("แสดงข้อมูล"));
    btnExit_Form = button(Panel1, "btnExit_Form", QStringLiteral("กลับสู่เมนูหลัก"));
    filters2->addWidget(GroupBox1);
    filters2->addWidget(GroupBox3);
    filters2->addWidget(btnShow_Data);
    filters2->addStretch();
    filters2->addWidget(btnExit_Form);
    layout->addLayout(filters2);

    GroupBox2 = groupBox(Panel1, "GroupBox2", QStringLiteral("รายการผลการคำนวณ"));
    auto* listLayout = new QVBoxLayout(GroupBox2);
    StringGrid1 = makeTable(GroupBox2, "StringGrid1", m_list);
    listLayout->addWidget(StringGrid1, 1);
    auto* marks = new QHBoxLayout;
    btnSelect_all = button(GroupBox2, "btnSelect_all", QStringLiteral("เลือกทั้งหมด"));
    btnRelease_All = button(GroupBox2, "btnRelease_All", QStringLiteral("ยกเลิกการเลือกทั้งหมด"));
    btnSelect2 = button(GroupBox2, "btnSelect2", QStringLiteral("เลือก"));
    btnRelease2 = button(GroupBox2, "btnRelease2", QStringLiteral("ยกเลิกการเลือก"));
    Button2 = button(GroupBox2, "Button2", QStringLiteral("พิมพ์ข้อมูลที่เลือก"));
    Button1 = button(GroupBox2, "Button1", QStringLiteral("Export Ms Excel"));
    for (QPushButton* b : {btnSelect_all, btnRelease_All, btnSelect2, btnRelease2, Button2, Button1})
        marks->addWidget(b);
    marks->addStretch();
    listLayout->addLayout(marks);
    layout->addWidget(GroupBox2, 1);

    Label1 = new QLabel(QStringLiteral("Develop By Pelvo"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(Label1);

    connect(m_list, &QAbstractItemModel::modelReset, this, [this] { applyWidths(StringGrid1, fundSourceWidths()); });
    connect(btnShow_Data, &QPushButton::clicked, this, &TfrmRep_Split_Money::btnShow_DataClick);
    connect(btnExit_Form, &QPushButton::clicked, this, &TfrmRep_Split_Money::btnExit_FormClick);
    connect(btnSelect_all, &QPushButton::clicked, this, &TfrmRep_Split_Money::btnSelect_allClick);
    connect(btnRelease_All, &QPushButton::clicked, this, &TfrmRep_Split_Money::btnRelease_AllClick);
    connect(btnSelect2, &QPushButton::clicked, this, &TfrmRep_Split_Money::btnSelect2Click);
    connect(btnRelease2, &QPushButton::clicked, this, &TfrmRep_Split_Money::btnRelease2Click);
    connect(StringGrid1, &QTableView::doubleClicked, this, &TfrmRep_Split_Money::StringGrid1DblClick);
    connect(Button2, &QPushButton::clicked, this, &TfrmRep_Split_Money::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &TfrmRep_Split_Money::Button1Click);
    applyWidths(StringGrid1, fundSourceWidths());
}

void TfrmRep_Split_Money::buildPanel2()
{
    auto* layout = new QVBoxLayout(Panel2);
    Label2 = heading(Panel2, "Label2", QStringLiteral("รายงานเงินชดเชยแยกแหล่งเงิน"));
    layout->addWidget(Label2);
    StringGrid2 = makeTable(Panel2, "StringGrid2", m_selection);
    layout->addWidget(StringGrid2, 1);

    auto* bottom = new QHBoxLayout;
    btnExpExcel = button(Panel2, "btnExpExcel", QStringLiteral("Export MS Excel"));
    btnExit2 = button(Panel2, "btnExit2", QStringLiteral("ออก"));
    GroupBox9 = groupBox(Panel2, "GroupBox9", QStringLiteral("พิมพ์บันทึกข้อความ"));
    auto* memo = new QHBoxLayout(GroupBox9);
    GroupBox8 = groupBox(GroupBox9, "GroupBox8", QString());
    RadioButton3 = radio(GroupBox8, "RadioButton3", QStringLiteral("เพื่อประมวลผลผ่าน Payroll"));
    RadioButton4 = radio(GroupBox8, "RadioButton4", QStringLiteral("ส่งคืนคณะ"));
    RadioGroup1 = groupBox(GroupBox9, "RadioGroup1", QString());
    RadioButton5 = radio(RadioGroup1, "RadioButton5", QStringLiteral("ครบกำหนดระยะเวลาการจ้างตามสัญญา"));
    RadioButton8 = radio(RadioGroup1, "RadioButton8", QStringLiteral("เกษียณอายุงาน ตามข้อบังคับมหาวิทยาลัยกาวิลัน"));
    bntPrint_Doc = button(GroupBox9, "bntPrint_Doc", QStringLiteral("พิมพ์บันทึก"));
    memo->addWidget(GroupBox8);
    memo->addWidget(RadioGroup1);
    memo->addWidget(bntPrint_Doc);
    bottom->addWidget(btnExpExcel);
    bottom->addWidget(GroupBox9, 1);
    bottom->addWidget(btnExit2);
    layout->addLayout(bottom);

    connect(
        m_selection, &QAbstractItemModel::modelReset, this, [this] { applyWidths(StringGrid2, selectionWidths()); });
    connect(btnExpExcel, &QPushButton::clicked, this, &TfrmRep_Split_Money::btnExpExcelClick);
    connect(btnExit2, &QPushButton::clicked, this, &TfrmRep_Split_Money::btnExit2Click);
    connect(bntPrint_Doc, &QPushButton::clicked, this, &TfrmRep_Split_Money::bntPrint_DocClick);
    applyWidths(StringGrid2, selectionWidths());
}

void TfrmRep_Split_Money::FormCreate()
{
    Panel2->hide();
    RadioButton2->setChecked(true);
    RadioButton6->setChecked(true);
    RadioButton9->setChecked(true);
    RadioButton3->setChecked(true);
    RadioButton5->setChecked(true);
    // the first day of the current month to today, Buddhist era
    const app::DefaultDates dates = app::defaultDates(m_session.Server_Date_Text, m_session.Server_Date_Text_BE);
    edtBeg_Cal->setText(dates.firstOfMonthBE);
    edtEnd_Cal->setText(dates.todayBE);
    cmbWork_Type->clear();
    cmbWork_Type->addItems({QStringLiteral("2. มหาวิทยาลัย"), QStringLiteral("3. ส่วนงาน")});
    cmbWork_Type->setEditText(QStringLiteral("2. มหาวิทยาลัย"));
    if (!m_session.db)
        return;
    QStringList names;
    QString error;
    if (!listDepartments(*m_session.db, &names, &error)) {
        inform(error);
        return;
    }
    cmbDapart_Name->clear();
    cmbDapart_Name->addItems(names);
    cmbDapart_Name->setEditText(names.value(0));
}

const ReportGrid& TfrmRep_Split_Money::resultList() const
{
    return m_list->grid();
}

const ReportGrid& TfrmRep_Split_Money::selectionList() const
{
    return m_selection->grid();
}

void TfrmRep_Split_Money::inform(const QString& text)
{
    if (m_session.prompter)
        m_session.prompter->inform(this, text);
}

FundSourceCriteria TfrmRep_Split_Money::criteria() const
{
    FundSourceCriteria c;
    c.from = edtBeg_Cal->text();
    c.to = edtEnd_Cal->text();
    if (RadioButton2->isChecked())
        c.sourceCode = cmbWork_Type->currentText().left(1);
    c.unprintedOnly = RadioButton10->isChecked();
    if (RadioButton7->isChecked())
        c.department = cmbDapart_Name->currentText();
    return c;
}

void TfrmRep_Split_Money::btnShow_DataClick()
{
    if (!m_session.db)
        return;
    const FundSourceResult result = queryFundSource(*m_session.db, criteria());
    if (!result.ok) {
        // no rows of an earlier search stay on screen beside the refusal
        m_found = false;
        m_lines.clear();
        m_list->setGrid(emptyList(fundSourceTitles()));
        inform(result.error);
        return;
    }
    m_found = result.found;
    m_lines = result.lines;
    m_list->setGrid(result.grid); // a new search clears every mark
    // the first line is current, so that "เลือก" acts at once
    StringGrid1->setCurrentIndex(result.found ? m_list->index(0, 0) : QModelIndex());
    if (!result.found)
        inform(notFoundMessage());
}

int TfrmRep_Split_Money::currentLine() const
{
    const QModelIndex current = StringGrid1->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void TfrmRep_Split_Money::btnSelect_allClick()
{
    m_list->changeMarks([](ReportGrid& g) { markAll(g); });
}

void TfrmRep_Split_Money::btnRelease_AllClick()
{
    m_list->changeMarks([](ReportGrid& g) { releaseAll(g); });
}

void TfrmRep_Split_Money::btnSelect2Click()
{
    const int row = currentLine();
    m_list->changeMarks([row](ReportGrid& g) { markLine(g, row); });
}

void TfrmRep_Split_Money::btnRelease2Click()
{
    const int row = currentLine();
    m_list->changeMarks([row](ReportGrid& g) { releaseLine(g, row); });
}

void TfrmRep_Split_Money::StringGrid1DblClick()
{
    const int row = currentLine();
    m_list->changeMarks([row](ReportGrid& g) { toggleLine(g, row); });
}

void TfrmRep_Split_Money::Button2Click()
{
    if (!m_found) {
        m_selection->setGrid(emptyList(selectionTitles()));
        inform(notFoundMessage());
        return;
    }
    m_selection->setGrid(gatherSelection(m_list->grid(), m_lines));
    Panel2->show();
    Panel2->raise();
}

QString TfrmRep_Split_Money::secondTitle() const
{
    if (RadioButton6->isChecked())
        return departmentTitle(std::nullopt);
    return departmentTitle(cmbDapart_Name->currentText());
}

void TfrmRep_Split_Money::exportList(const ReportGrid& grid, const ExportOptions& options)
{
    const QString path = exportAndShow(m_session, grid, options,
        QJsonObject {{QStringLiteral("screen"), windowTitle()}}, [this](const QString& text) { inform(text); });
    if (!path.isEmpty())
        m_lastExport = path;
}

void TfrmRep_Split_Money::Button1Click()
{
    exportList(m_list->grid(), fundSourceExport(secondTitle()));
}

void TfrmRep_Split_Money::btnExpExcelClick()
{
    exportList(m_selection->grid(), selectionExport(secondTitle()));
}

void TfrmRep_Split_Money::btnExit2Click()
{
    Panel2->hide();
}

void TfrmRep_Split_Money::btnExit_FormClick()
{
    app::closeScreen(this);
}

void TfrmRep_Split_Money::bntPrint_DocClick()
{
    if (!m_session.db)
        return;
    // The department of the selected lines; the department box counts only
    // when the filter is on "เฉพาะ" (with "ทั้งหมด" it shows any department).
    std::optional<QString> named;
    if (RadioButton7->isChecked())
        named = cmbDapart_Name->currentText();
    // The calculations are marked before the memo is shown, whether or not
    // it is then printed; all of them or, on a refusal or failure, none.
    const ApprovalMemo memo = prepareApprovalMemo(*m_session.db, m_selection->grid(), named,
        RadioButton4->isChecked() ? QStringLiteral("faculty") : QStringLiteral("payroll"));
    if (!memo.ok) {
        inform(memo.error);
        return;
    }
    print::MemoContent content;
    content.count = memo.count;
    content.department = memo.department;
    content.totalText = memo.totalText;
    content.routing = RadioButton4->isChecked() ? print::MemoRouting::Faculty : print::MemoRouting::Payroll;
    content.reason = RadioButton8->isChecked() ? print::MemoReason::Retirement : print::MemoReason::ContractEnd;
    m_memo = print::buildMemoPage(content, print::OrganisationSettings().load());
    if (showPreview)
        showPreview({m_memo});
    else
        print::preview(this, {m_memo}, QStringLiteral("บันทึกข้อความ"));
}

} // namespace velmora::reports
