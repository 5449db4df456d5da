#include "gui/run/URun_Month_End.h"

#include "gui/common/Prompter.h"
#include "gui/common/ReportScreen.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/common/Widgets.h"
#include "pages/AnnexPage.h"
#include "pages/PageRenderer.h"
#include "rules/AmountText.h"
#include "services/ReportQueries.h"
#include "services/SavedCalculations.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace velmora::run {

namespace {

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

QLineEdit* monthBox(QWidget* parent, const char* name)
{
    auto* edit = app::lineEdit(parent, name);
    edit->setInputMask(QStringLiteral("99/9999;_"));
    edit->setMaximumWidth(90);
    return edit;
}

// A masked month: "__/____" untyped places read as blanks, trimmed.
QString monthText(const QLineEdit* edit)
{
    QString text = edit->displayText();
    text.replace(QLatin1Char('_'), QLatin1Char(' '));
    return text.trimmed();
}

constexpr const char* kAllDepartments = "ทุกส่วนงาน";
constexpr const char* kAllTypes = "ทุกประเภทการจ้าง";

} // namespace

TfrmRun_Month_End::TfrmRun_Month_End(app::Session& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("frmRun_Month_End"));
    setWindowTitle(QStringLiteral("frmRun_Month_End"));
    showPreview = [this](const QList<print::PageLayout>& pages) {
        print::preview(this, pages, QStringLiteral("เอกสารขอรับเงินชดเชยและเอกสารแนบการคำนวณ"));
    };

    auto* root = new QVBoxLayout(this);
    Label5 = app::label(this, "Label5", QStringLiteral("ประมวลผลเงินชดเชยประจำเดือน"));
    Label5->setStyleSheet(QStringLiteral("color: green; font-size: 20pt; font-weight: bold;"));
    root->addWidget(Label5);

    auto* GroupBox1 = app::groupBox(this, "GroupBox1", QStringLiteral("1. เลือกพนักงาน"));
    auto* grid = new QVBoxLayout(GroupBox1);
    auto* row1 = new QHBoxLayout;
    row1->addWidget(new QLabel(QStringLiteral("เดือนปีที่ขอรับเงินชดเชย"), GroupBox1));
    edtMMYYYY_Recieve1 = monthBox(GroupBox1, "edtMMYYYY_Recieve1");
    row1->addWidget(edtMMYYYY_Recieve1);
    row1->addStretch(1);
    grid->addLayout(row1);

    auto* row2 = new QHBoxLayout;
    RadioButton1 = app::make<QRadioButton>(GroupBox1, "RadioButton1", QStringLiteral("ครบสัญญาในเดือนปี"));
    edtYear_Mon_Select = monthBox(GroupBox1, "edtYear_Mon_Select");
    cmbDepart = app::make<QComboBox>(GroupBox1, "cmbDepart");
    cmbWork_Type = app::make<QComboBox>(GroupBox1, "cmbWork_Type");
    row2->addWidget(RadioButton1);
    row2->addWidget(edtYear_Mon_Select);
    row2->addWidget(new QLabel(QStringLiteral("ส่วนงาน(คณะ)"), GroupBox1));
    row2->addWidget(cmbDepart, 1);
    row2->addWidget(new QLabel(QStringLiteral("ประเภทการจ้าง"), GroupBox1));
    row2->addWidget(cmbWork_Type);
    grid->addLayout(row2);

    auto* row3 = new QHBoxLayout;
    RadioButton2 = app::make<QRadioButton>(GroupBox1, "RadioButton2", QStringLiteral("ตามรายการ SAP ID"));
    edtSapIDs = app::make<QPlainTextEdit>(GroupBox1, "edtSapIDs");
    edtSapIDs->setPlaceholderText(QStringLiteral("วางหรือพิมพ์ SAP ID คั่นด้วยจุลภาค ช่องว่าง หรือขึ้นบรรทัดใหม่"));
    edtSapIDs->setMaximumHeight(60);
    edtSapIDs->setTabChangesFocus(true); // Tab goes on to the next control, as everywhere
    btnPreview = app::button(GroupBox1, "btnPreview", QStringLiteral("2. แสดงผลการคำนวณ"));
    row3->addWidget(RadioButton2);
    row3->addWidget(edtSapIDs, 1);
    row3->addWidget(btnPreview);
    grid->addLayout(row3);
    root->addWidget(GroupBox1);

    m_lines = new reports::GridModel(this);
    QList<int> amounts;
    for (int c = 0; c < int(Run_Grid_Titles().size()); ++c)
        if (Is_Money_Column(c))
            amounts << c;
    m_lines->setRightAligned(amounts);
    m_lines->setCellTips(true); // a name or a reason cut short reads whole in its tooltip
    StringGrid1 = app::gridView(this, "StringGrid1", m_lines, false);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    root->addWidget(StringGrid1, 1);
    lblLine_Detail = app::make<QLabel>(this, "lblLine_Detail");
    lblLine_Detail->setWordWrap(true);
    lblLine_Detail->setTextInteractionFlags(Qt::TextSelectableByMouse);
    root->addWidget(lblLine_Detail);
    lblTotals = app::make<QLabel>(this, "lblTotals");
    root->addWidget(lblTotals);

    auto* bottom = new QHBoxLayout;
    btnSelect_all = app::button(this, "btnSelect_all", QStringLiteral("เลือกทั้งหมด"));
    btnRelease_All = app::button(this, "btnRelease_All", QStringLiteral("ยกเลิกการเลือกทั้งหมด"));
    btnSave_Marked = app::button(this, "btnSave_Marked", QStringLiteral("3. บันทึกรายการที่เลือก"));
    btnPrint_Run = app::button(this, "btnPrint_Run", QStringLiteral("4. พิมพ์เอกสารขอรับเงินชดเชยและเอกสารแนบ"));
    btnExpExcel = app::button(this, "btnExpExcel", QStringLiteral("ส่งออกไปยัง Excel"));
    btnExit_Form = app::button(this, "btnExit_Form", QStringLiteral("กลับสู่เมนูหลัก"));
    for (QPushButton* b : {btnSelect_all, btnRelease_All, btnSave_Marked, btnPrint_Run, btnExpExcel})
        bottom->addWidget(b);
    bottom->addStretch(1);
    bottom->addWidget(btnExit_Form);
    root->addLayout(bottom);

    connect(btnPreview, &QPushButton::clicked, this, &TfrmRun_Month_End::btnPreviewClick);
    connect(btnSelect_all, &QPushButton::clicked, this, &TfrmRun_Month_End::btnSelect_allClick);
    connect(btnRelease_All, &QPushButton::clicked, this, &TfrmRun_Month_End::btnRelease_AllClick);
    connect(btnSave_Marked, &QPushButton::clicked, this, &TfrmRun_Month_End::btnSave_MarkedClick);
    connect(btnPrint_Run, &QPushButton::clicked, this, &TfrmRun_Month_End::btnPrint_RunClick);
    connect(btnExpExcel, &QPushButton::clicked, this, &TfrmRun_Month_End::btnExpExcelClick);
    connect(btnExit_Form, &QPushButton::clicked, this, &TfrmRun_Month_End::btnExit_FormClick);
    connect(StringGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        &TfrmRun_Month_End::StringGrid1RowChanged);
    connect(m_lines, &QAbstractItemModel::modelReset, this, &TfrmRun_Month_End::StringGrid1RowChanged);
    // Enter in a box shows the calculation of the choice.
    app::setEnterButton(GroupBox1, btnPreview);
    // the two ways of choosing exclude each other
    connect(RadioButton1, &QRadioButton::toggled, this, [this](bool byMonth) {
        edtYear_Mon_Select->setEnabled(byMonth);
        cmbDepart->setEnabled(byMonth);
        cmbWork_Type->setEnabled(byMonth);
        edtSapIDs->setEnabled(!byMonth);
    });
    FormCreate();
}

void TfrmRun_Month_End::FormCreate()
{
    // the server's date "dd/mm/yyyy" (Christian era): this month for both boxes
    const QString month = m_session.Server_Date_Text.mid(3, 7);
    edtMMYYYY_Recieve1->setText(month);
    edtYear_Mon_Select->setText(month);
    RadioButton1->setChecked(true);
    edtSapIDs->setEnabled(false);
    cmbDepart->addItem(QString::fromUtf8(kAllDepartments));
    cmbWork_Type->addItem(QString::fromUtf8(kAllTypes));
    if (m_session.db) {
        QStringList names;
        QString error;
        if (reports::listDepartments(*m_session.db, &names, &error))
            cmbDepart->addItems(names);
        else
            inform(error);
    }
    cmbWork_Type->addItem(QStringLiteral("2 พนักงานมหาวิทยาลัย"));
    cmbWork_Type->addItem(QStringLiteral("3 พนักงานส่วนงาน"));
    showLines();
}

Run_Choice TfrmRun_Month_End::choice() const
{
    Run_Choice c;
    c.request_month = monthText(edtMMYYYY_Recieve1).toStdString();
    if (RadioButton2->isChecked()) {
        const QStringList ids =
            edtSapIDs->toPlainText().split(QRegularExpression(QStringLiteral("[\\s,;]+")), Qt::SkipEmptyParts);
        for (const QString& id : ids)
            c.sapids.push_back(id.toStdString());
        if (c.sapids.empty())
            c.sapids = {" "}; // nothing typed: refused as an empty list
        return c;
    }
    c.ends_month = monthText(edtYear_Mon_Select).toStdString();
    if (cmbDepart->currentIndex() > 0)
        c.department = cmbDepart->currentText().toStdString();
    if (cmbWork_Type->currentIndex() > 0)
        c.work_type = cmbWork_Type->currentText().left(1).toStdString();
    return c;
}

void TfrmRun_Month_End::btnPreviewClick()
{
    Run_Preview preview;
    std::string error;
    if (!Preview_Run(*m_session.db, choice(), &preview, &error)) {
        inform(Q(error));
        return;
    }
    m_preview = std::move(preview);
    showLines();
    setAllMarks(true);
}

void TfrmRun_Month_End::showLines()
{
    // only a ready line carries a mark; refused, saved and the totals row never
    QList<bool> markable;
    for (const Run_Line& line : m_preview.lines)
        markable << (line.state == Line_State::Ready);
    m_lines->setGrid(Run_Report_Grid(m_preview.lines), markable);
    StringGrid1->resizeColumnsToContents();
    // A long name or reason stops at a set width: it reads whole in its
    // tooltip and in the line's detail below the grid.
    const int widest = app::layoutWidth(220, StringGrid1->font());
    for (int c = 0; c < m_lines->columnCount(); ++c)
        StringGrid1->setColumnWidth(c, std::min(StringGrid1->columnWidth(c), widest));
    const Run_Totals t = Compute_Run_Totals(m_preview.lines);
    lblTotals->setText(
        QStringLiteral("พร้อมบันทึก %1 รายการ  คำนวณไม่ได้ %2 รายการ  บันทึกแล้ว %3 รายการ  ยอดเงินรับสุทธิรวม %4 บาท")
            .arg(t.ready)
            .arg(t.refused)
            .arg(t.saved)
            .arg(Q(velmora::Amount_Text(t.net))));
}

std::vector<bool> TfrmRun_Month_End::marks() const
{
    std::vector<bool> out(m_preview.lines.size(), false);
    for (std::size_t r = 0; r < out.size(); ++r)
        out[r] = m_lines->isTicked(int(r));
    return out;
}

void TfrmRun_Month_End::setAllMarks(bool marked)
{
    m_lines->setAllTicked(marked);
}

void TfrmRun_Month_End::btnSelect_allClick()
{
    setAllMarks(true);
}

void TfrmRun_Month_End::btnRelease_AllClick()
{
    setAllMarks(false);
}

void TfrmRun_Month_End::btnSave_MarkedClick()
{
    const std::vector<bool> marked = marks();
    const int count = int(std::count(marked.begin(), marked.end(), true));
    if (count == 0) {
        inform(QStringLiteral("ไม่มีรายการที่เลือกไว้สำหรับบันทึก"));
        return;
    }
    if (!m_session.prompter->confirm(this,
            QStringLiteral("ยืนยันการบันทึกข้อมูล %1 รายการ (เดือนปีที่ขอรับเงินชดเชย %2)")
                .arg(count)
                .arg(Q(m_preview.request_month))))
        return;
    QProgressDialog progress(QStringLiteral("กำลังบันทึกข้อมูล..."), QStringLiteral("หยุด"), 0, count, this);
    progress.setObjectName(QStringLiteral("dlgSaveProgress"));
    progress.setWindowModality(Qt::WindowModal); // setValue then lets the officer press "หยุด"
    progress.setMinimumDuration(500);
    Save_Control control;
    control.go_on = [&progress](int done, int) {
        progress.setValue(done);
        return !progress.wasCanceled();
    };
    control.go_on_after_failure = [this](const Run_Line& line) {
        return m_session.prompter->confirm(
            this, QStringLiteral("บันทึก SAP ID %1 ไม่สำเร็จ: %2\rทำรายการถัดไปต่อหรือไม่").arg(Q(line.sapid), Q(line.reason)));
    };
    const Save_Outcome outcome = Save_Run(*m_session.db, m_preview, marked, control);
    progress.reset();
    showLines();
    if (!outcome.error.empty()) {
        inform(Q(outcome.error));
        return;
    }
    QString text = QStringLiteral("บันทึกข้อมูลเรียบร้อยแล้ว %1 รายการ").arg(outcome.saved);
    if (outcome.stopped)
        text += QStringLiteral("\rหยุดก่อนครบทุกรายการ: รายการที่ยังไม่บันทึกไม่มีการเปลี่ยนแปลง");
    if (outcome.refused > 0) {
        text += QStringLiteral("\rบันทึกไม่ได้ %1 รายการ:").arg(outcome.refused);
        for (std::size_t i = 0; i < m_preview.lines.size(); ++i)
            if (marked[i] && m_preview.lines[i].state == Line_State::Refused)
                text +=
                    QStringLiteral("\rSAP ID %1: %2").arg(Q(m_preview.lines[i].sapid), Q(m_preview.lines[i].reason));
    }
    inform(text);
}

void TfrmRun_Month_End::btnPrint_RunClick()
{
    QList<print::PageLayout> pages;
    for (const Run_Line& l : m_preview.lines) {
        if (l.state != Line_State::Saved)
            continue;
        print::AnnexDocument document;
        QString error;
        if (!print::readAnnexDocument(*m_session.db, Q(l.sapid), &document, &error)) {
            inform(error);
            return;
        }
        pages << print::buildCalculationPrint(document);
    }
    if (pages.isEmpty()) {
        inform(QStringLiteral("ไม่มีรายการที่บันทึกแล้วสำหรับพิมพ์"));
        return;
    }
    if (showPreview)
        showPreview(pages);
}

void TfrmRun_Month_End::btnExpExcelClick()
{
    const QString path =
        reports::exportAndShow(m_session, Run_Report_Grid(m_preview.lines), Run_Export_Options(m_preview.request_month),
            QJsonObject {{QStringLiteral("screen"), windowTitle()},
                {QStringLiteral("month"), QString::fromStdString(m_preview.request_month)}},
            [this](const QString& text) { inform(text); });
    if (!path.isEmpty())
        m_lastExport = path;
}

void TfrmRun_Month_End::StringGrid1RowChanged()
{
    const int row = StringGrid1->currentIndex().row();
    if (row < 0 || row >= int(m_preview.lines.size())) {
        lblLine_Detail->setText(QStringLiteral("เลือกรายการเพื่อดูสถานะและเหตุผลทั้งหมด"));
        app::colour(lblLine_Detail, "black");
        return;
    }
    const Run_Line& line = m_preview.lines[std::size_t(row)];
    const std::string said = line.reason.empty() ? Line_Note(line) : line.reason;
    QString text = QStringLiteral("SAP ID %1 %2: %3").arg(Q(line.sapid), Q(line.name), Q(State_Text(line.state)));
    if (!said.empty())
        text += QStringLiteral(" — ") + Q(said);
    lblLine_Detail->setText(text);
    app::colour(lblLine_Detail, said.empty() ? "black" : "red");
}

void TfrmRun_Month_End::btnExit_FormClick()
{
    app::closeScreen(this);
}

void TfrmRun_Month_End::inform(const QString& text)
{
    m_session.prompter->inform(this, text);
}

} // namespace velmora::run
