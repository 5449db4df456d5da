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
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
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
    Label5 = app::title(this, "Label5", QStringLiteral("รายละเอียดการเบิกเงินชดเชย"), 1.6, "green");
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

    QGroupBox* GroupBox2 = nullptr;
    m_list = new reports::GridModel(this);
    StringGrid1 = app::choiceList(this, m_list, detailListWidths(), &GroupBox2);
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
    // Enter searches from the filters and prints the chosen line's page.
    app::setEnterButton(this, btnShow_Data);
    app::setEnterButton(GroupBox2, btnPrint_Detail);

    FormCreate();
}

void TfrmRep_Berg_Detail::FormCreate()
{
    const app::DefaultDates dates = app::defaultDates(m_session.Server_Date_Text, m_session.Server_Date_Text_BE);
    m_received.setDefaults(dates.year, dates.monthYear);
    edtFind_F_Name->clear();
    m_list->setGrid(reports::ReportGrid::emptyResult(detailListTitles()));
}

void TfrmRep_Berg_Detail::btnShow_DataClick()
{
    // the year and month-year choices are shown but take no part in the search
    DetailSearch search;
    search.byFirstName = CheckBox1->isChecked();
    search.firstNamePart = edtFind_F_Name->text();
    QString error;
    const auto lines = listSavedCalculations(*m_session.db, search, &error);
    if (!lines || lines->isEmpty()) {
        m_list->setGrid(reports::ReportGrid::emptyResult(detailListTitles()));
        m_session.prompter->inform(this, lines ? QStringLiteral("ไม่พบข้อมูลที่ต้องการ") : error);
        return;
    }
    m_list->setGrid({detailListTitles(), *lines});
    StringGrid1->setCurrentIndex(m_list->index(0, 1));
}

void TfrmRep_Berg_Detail::btnClear_RepClick()
{
    fillRequestSetItems(m_layout, {}, {});
}

QString TfrmRep_Berg_Detail::chosenSapId() const
{
    const QModelIndex current = StringGrid1->currentIndex();
    return m_list->cell(current.isValid() ? current.row() : 0, 1);
}

void TfrmRep_Berg_Detail::btnPrint_DetailClick()
{
    const QString sapId = chosenSapId();
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
    AnnexDocument document;
    QString error;
    if (!readAnnexDocument(*m_session.db, chosenSapId(), &document, &error)) {
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
