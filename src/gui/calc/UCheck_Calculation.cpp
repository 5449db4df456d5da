#include "gui/calc/UCheck_Calculation.h"

#include "gui/common/GridModel.h"
#include "gui/common/Prompter.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/common/Widgets.h"
#include "pages/AnnexPage.h"
#include "pages/PageRenderer.h"
#include "services/Rights.h"
#include "services/SavedCalculations.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace velmora::calc {

namespace {

const QStringList kTitles = {QStringLiteral("No. "), QStringLiteral("SAP ID "), QStringLiteral("ชื่อ-นามสกุล"),
    QStringLiteral("ส่วนงาน(คณะ)"), QStringLiteral("เดือนปีที่ขอรับ"), QStringLiteral("ยอดเงินรับสุทธิ"), QStringLiteral("ผู้บันทึก"),
    QStringLiteral("วันที่บันทึก")};
const QList<int> kWidths = {60, 90, 200, 160, 90, 110, 90, 130};
constexpr int kSapColumn = 1;

} // namespace

TfrmCheck_Calculation::TfrmCheck_Calculation(app::Session& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("frmCheck_Calculation"));
    setWindowTitle(QStringLiteral("ตรวจสอบการคำนวณเงินชดเชย"));
    showPreview = [this](const QList<print::PageLayout>& pages) {
        print::preview(this, pages, QStringLiteral("เอกสารแนบการคำนวณเงินชดเชย"));
    };

    auto* root = new QVBoxLayout(this);
    root->addWidget(app::heading(this, "Label5", QStringLiteral("ตรวจสอบการคำนวณเงินชดเชย"), "green"));
    m_model = new reports::GridModel(this);
    m_model->setRightAligned({5});
    StringGrid1 = app::gridView(this, "StringGrid1", m_model, false);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    app::keepColumnWidths(StringGrid1, kWidths);
    root->addWidget(StringGrid1, 1);

    auto* actions = new QHBoxLayout;
    btnShow_Data = app::button(this, "btnShow_Data", QStringLiteral("แสดงข้อมูล"));
    btnSelect_all = app::button(this, "btnSelect_all", QStringLiteral("เลือกทั้งหมด"));
    btnPreview_Annex = app::button(this, "btnPreview_Annex", QStringLiteral("แสดงเอกสารแนบการคำนวณ"));
    btnCheck = app::button(this, "btnCheck", QStringLiteral("ตรวจสอบแล้ว"));
    edtReason = app::lineEdit(this, "edtReason");
    edtReason->setPlaceholderText(QStringLiteral("เหตุผลที่ส่งคืน"));
    edtReason->setMaxLength(255);
    btnReturn = app::button(this, "btnReturn", QStringLiteral("ส่งคืนให้แก้ไข"));
    btnExit_Form = app::button(this, "btnExit_Form", QStringLiteral("กลับสู่เมนูหลัก"));
    app::setEnterButton(this, btnShow_Data);
    for (QWidget* w : std::initializer_list<QWidget*> {btnShow_Data, btnSelect_all, btnPreview_Annex, btnCheck})
        actions->addWidget(w);
    actions->addWidget(new QLabel(QStringLiteral("เหตุผล"), this));
    actions->addWidget(edtReason, 1);
    actions->addWidget(btnReturn);
    actions->addWidget(btnExit_Form);
    root->addLayout(actions);

    btnCheck->setEnabled(rights::mayDo(rights::Action::CheckCalculation));
    btnReturn->setEnabled(rights::mayDo(rights::Action::ReturnCalculation));
    connect(btnShow_Data, &QPushButton::clicked, this, &TfrmCheck_Calculation::btnShow_DataClick);
    connect(btnSelect_all, &QPushButton::clicked, this, &TfrmCheck_Calculation::btnSelect_allClick);
    connect(btnPreview_Annex, &QPushButton::clicked, this, &TfrmCheck_Calculation::btnPreview_AnnexClick);
    connect(btnCheck, &QPushButton::clicked, this, &TfrmCheck_Calculation::btnCheckClick);
    connect(btnReturn, &QPushButton::clicked, this, &TfrmCheck_Calculation::btnReturnClick);
    connect(btnExit_Form, &QPushButton::clicked, this, &TfrmCheck_Calculation::btnExit_FormClick);
    btnShow_DataClick();
}

void TfrmCheck_Calculation::inform(const QString& text)
{
    if (m_session.prompter)
        m_session.prompter->inform(this, text);
}

void TfrmCheck_Calculation::btnShow_DataClick()
{
    if (!m_session.db)
        return;
    QString error;
    std::vector<checks::Pending> pending;
    if (!checks::listPending(*m_session.db, &pending, &error)) {
        inform(error);
        return;
    }
    m_pending = std::move(pending);
    reports::ReportGrid grid;
    grid.titles = kTitles;
    int n = 0;
    for (const checks::Pending& p : m_pending)
        grid.rows << QStringList {
            QString::number(++n), p.sapid, p.name, p.department, p.requestMonth, p.net, p.savedBy, p.savedAt};
    m_model->setGrid(grid, QList<bool>(grid.rows.size(), true));
    if (!grid.rows.isEmpty())
        StringGrid1->setCurrentIndex(m_model->index(0, kSapColumn));
}

void TfrmCheck_Calculation::btnSelect_allClick()
{
    m_model->setAllTicked(true);
}

QStringList TfrmCheck_Calculation::chosen() const
{
    QStringList ids;
    for (int r = 0; r < m_model->rowCount(); ++r)
        if (m_model->isTicked(r))
            ids << m_model->cell(r, kSapColumn);
    const int current = StringGrid1->currentIndex().row();
    if (ids.isEmpty() && current >= 0 && current < m_model->rowCount())
        ids << m_model->cell(current, kSapColumn);
    return ids;
}

void TfrmCheck_Calculation::btnPreview_AnnexClick()
{
    const int current = StringGrid1->currentIndex().row();
    if (!m_session.db || current < 0 || current >= m_model->rowCount()) {
        inform(QStringLiteral("กรุณาเลือกรายการที่ต้องการดู"));
        return;
    }
    print::AnnexDocument document;
    QString error;
    if (!print::readAnnexDocument(*m_session.db, m_model->cell(current, kSapColumn), &document, &error)) {
        inform(error);
        return;
    }
    showPreview(print::buildCalculationPrint(document));
}

void TfrmCheck_Calculation::btnCheckClick()
{
    const QStringList ids = chosen();
    if (!m_session.db || ids.isEmpty()) {
        inform(QStringLiteral("ไม่มีรายการที่ต้องการตรวจสอบ"));
        return;
    }
    if (!m_session.prompter->confirm(
            this, QStringLiteral("ยืนยันการตรวจสอบ %1 รายการ\r%2").arg(ids.size()).arg(ids.join(QStringLiteral(", ")))))
        return;
    int checked = 0;
    QString error;
    if (!checks::verifyCalculations(*m_session.db, ids, &checked, &error)) {
        inform(error);
        return;
    }
    inform(QStringLiteral("ตรวจสอบแล้ว %1 รายการ").arg(checked));
    btnShow_DataClick();
}

void TfrmCheck_Calculation::btnReturnClick()
{
    const QStringList ids = chosen();
    if (!m_session.db || ids.isEmpty()) {
        inform(QStringLiteral("ไม่มีรายการที่ต้องการส่งคืน"));
        return;
    }
    if (edtReason->text().trimmed().isEmpty()) {
        inform(QStringLiteral("กรุณาระบุเหตุผลที่ส่งคืน"));
        edtReason->setFocus();
        return;
    }
    if (!m_session.prompter->confirm(this,
            QStringLiteral("ยืนยันการส่งคืน %1 รายการ (ยกเลิกการคำนวณ สถานะพนักงานกลับเป็น A)\r%2")
                .arg(ids.size())
                .arg(ids.join(QStringLiteral(", ")))))
        return;
    QString error;
    if (!checks::returnCalculations(*m_session.db, ids, edtReason->text(), &error)) {
        inform(error);
        return;
    }
    inform(QStringLiteral("ส่งคืนแล้ว %1 รายการ").arg(ids.size()));
    edtReason->clear();
    btnShow_DataClick();
}

void TfrmCheck_Calculation::btnExit_FormClick()
{
    app::closeScreen(this);
}

} // namespace velmora::calc
