#include "gui/reports/URep_Berg_Detail.h"
#include "gui/common/DateText.h"

#include "gui/common/Prompter.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/common/Widgets.h"
#include "pages/AnnexPage.h"
#include "pages/PageRenderer.h"
#include "pages/RequestPage.h"
#include "services/SavedCalculations.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmora::print {

TfrmRep_Berg_Detail::TfrmRep_Berg_Detail(app::Session& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_layout(requestPageLayout())
{
    setObjectName(QStringLiteral("frmRep_Berg_Detail"));
    setWindowTitle(QStringLiteral("รายละเอียดการเบิกเงินชดเชย"));
    showPreview = [this](const QList<PageLayout>& pages) {
        preview(this, pages, QStringLiteral("เอกสารขอรับเงินชดเชยพนักงาน"));
    };

    auto* root = new QVBoxLayout(this);
    Label5 = app::label(this, "Label5", QStringLiteral("รายละเอียดการเบิกเงินชดเชย"));
    app::scaleFont(Label5, 1.6, true);
    Label5->setStyleSheet(QStringLiteral("color: green;"));
    root->addWidget(Label5);

    auto* top = new QHBoxLayout;
    auto* GroupBox1 = app::groupBox(this, "GroupBox1", QStringLiteral("1. ค้นหาจ้อมูลโดย"));
    auto* g1 = new QHBoxLayout(GroupBox1);
    CheckBox1 = app::make<QCheckBox>(GroupBox1, "CheckBox1", QStringLiteral("ชื่อ"));
    edtFind_F_Name = app::lineEdit(GroupBox1, "edtFind_F_Name");
    g1->addWidget(CheckBox1);
    g1->addWidget(edtFind_F_Name);

    m_received = app::periodFilter(GroupBox1, QStringLiteral("รับเงินชดเชย"), "edtYear_Mon_Select", "99/0000;_");
    g1->addWidget(m_received.box);

    btnShow_Data = app::button(GroupBox1, "btnShow_Data", QStringLiteral("แสดงข้อมูล"));
    g1->addWidget(btnShow_Data);
    top->addWidget(GroupBox1, 1);
    btnExit_Form = app::button(this, "btnExit_Form", QStringLiteral("กลับสู่เมนูหลัก"));
    top->addWidget(btnExit_Form);
    root->addLayout(top);

    auto* GroupBox2 = app::groupBox(this, "GroupBox2", QStringLiteral("2. เลือกรายการทั่ต้องการ"));
    auto* g2 = new QVBoxLayout(GroupBox2);
    StringGrid1 = app::make<QTableWidget>(GroupBox2, "StringGrid1");
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    g2->addWidget(StringGrid1);
    root->addWidget(GroupBox2, 1);

    auto* bottom = new QHBoxLayout;
    btnPrint_Detail = app::button(this, "btnPrint_Detail", QStringLiteral("3. พิมพ์รายละเอียดการเบิก"));
    btnPrint_Annex = app::button(this, "btnPrint_Annex", QStringLiteral("พิมพ์เอกสารแนบการคำนวณ"));
    btnClear_Rep = app::make<QPushButton>(this, "btnClear_Rep");
    btnClear_Rep->setVisible(false);
    auto* Label1 = app::label(this, "Label1", QStringLiteral("งานการเงิน กองคลัง"));
    bottom->addWidget(btnPrint_Detail);
    bottom->addWidget(btnPrint_Annex);
    bottom->addStretch(1);
    bottom->addWidget(Label1);
    root->addLayout(bottom);

    connect(btnShow_Data, &QPushButton::clicked, this, &TfrmRep_Berg_Detail::btnShow_DataClick);
    connect(btnPrint_Detail, &QPushButton::clicked, this, &TfrmRep_Berg_Detail::btnPrint_DetailClick);
    connect(btnPrint_Annex, &QPushButton::clicked, this, &TfrmRep_Berg_Detail::btnPrint_AnnexClick);
    connect(btnClear_Rep, &QPushButton::clicked, this, &TfrmRep_Berg_Detail::btnClear_RepClick);
    connect(btnExit_Form, &QPushButton::clicked, this, &TfrmRep_Berg_Detail::btnExit_FormClick);

    FormCreate();
}

void TfrmRep_Berg_Detail::FormCreate()
{
    const app::DefaultDates dates = app::defaultDates(m_session.Server_Date_Text, m_session.Server_Date_Text_BE);
    m_received.setDefaults(dates.year, dates.monthYear);
    edtFind_F_Name->clear();
    resetGrid(1);
}

void TfrmRep_Berg_Detail::resetGrid(int lines)
{
    StringGrid1->clear();
    StringGrid1->setColumnCount(9);
    StringGrid1->setRowCount(lines);
    StringGrid1->setHorizontalHeaderLabels(detailListTitles());
    const QList<int> widths = detailListWidths();
    for (int c = 0; c < widths.size(); ++c)
        StringGrid1->setColumnWidth(c, widths.at(c));
}

void TfrmRep_Berg_Detail::btnShow_DataClick()
{
    // the year and month-year choices are shown but take no part in the search
    DetailSearch search;
    search.byFirstName = CheckBox1->isChecked();
    search.firstNamePart = edtFind_F_Name->text();
    QString error;
    const auto lines = listSavedCalculations(*m_session.db, search, &error);
    if (!lines) {
        resetGrid(1);
        m_session.prompter->inform(this, error);
        return;
    }
    resetGrid(lines->isEmpty() ? 1 : int(lines->size()));
    for (int r = 0; r < lines->size(); ++r)
        for (int c = 0; c < lines->at(r).size(); ++c)
            StringGrid1->setItem(r, c, new QTableWidgetItem(lines->at(r).at(c)));
    if (lines->isEmpty()) {
        m_session.prompter->inform(this, QStringLiteral("ไม่พบข้อมูลที่ต้องการ"));
        return;
    }
    StringGrid1->setCurrentCell(0, 1);
}

void TfrmRep_Berg_Detail::btnClear_RepClick()
{
    fillRequestSetItems(m_layout, {}, {});
}

void TfrmRep_Berg_Detail::btnPrint_DetailClick()
{
    const int row = StringGrid1->currentRow() >= 0 ? StringGrid1->currentRow() : 0;
    const QTableWidgetItem* cell = StringGrid1->item(row, 1);
    const QString sapId = cell ? cell->text() : QString();

    btnClear_RepClick();
    RequestDocument document;
    QString error;
    if (!readRequestDocument(*m_session.db, sapId, &document, &error)) {
        m_session.prompter->inform(this, error);
        return;
    }
    fillRequestSetItems(m_layout, document.earlier, document.periods);
    m_page = buildRequestPage(document);
    showPreview({m_page});
}

// The calculation annex of the chosen line, from the same saved rows as its page.
void TfrmRep_Berg_Detail::btnPrint_AnnexClick()
{
    const int row = StringGrid1->currentRow() >= 0 ? StringGrid1->currentRow() : 0;
    const QTableWidgetItem* cell = StringGrid1->item(row, 1);
    AnnexDocument document;
    QString error;
    if (!readAnnexDocument(*m_session.db, cell ? cell->text() : QString(), &document, &error)) {
        m_session.prompter->inform(this, error);
        return;
    }
    if (!document.request.calculation) {
        m_session.prompter->inform(this, QStringLiteral("ไม่มีรายการที่บันทึกการคำนวณไว้สำหรับพิมพ์เอกสารแนบ"));
        return;
    }
    showPreview(buildAnnexPages(document));
}

void TfrmRep_Berg_Detail::btnExit_FormClick()
{
    app::closeScreen(this);
}

} // namespace velmora::print
