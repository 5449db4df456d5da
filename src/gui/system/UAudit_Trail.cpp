#include "gui/system/UAudit_Trail.h"

#include "gui/common/GridModel.h"
#include "gui/common/Prompter.h"
#include "gui/common/ReportScreen.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/common/Widgets.h"
#include "services/AuditView.h"
#include "services/ReportExports.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace velmora::audit {

namespace {

QLineEdit* edit(QWidget* parent, const char* name, const QString& placeholder)
{
    QLineEdit* e = app::lineEdit(parent, name);
    e->setPlaceholderText(placeholder);
    return e;
}

} // namespace

TfrmAudit_Trail::TfrmAudit_Trail(app::Session& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("frmAudit_Trail"));
    setWindowTitle(QStringLiteral("ประวัติการใช้งาน (Audit Trail)"));

    auto* filters = new QGridLayout;
    edtFrom = edit(this, "edtFrom", QStringLiteral("วว/ดด/ปปปป"));
    edtTo = edit(this, "edtTo", QStringLiteral("วว/ดด/ปปปป"));
    edtUser = edit(this, "edtUser", QStringLiteral("ทุกคน"));
    edtSapID = edit(this, "edtSapID", QStringLiteral("ทุกคน"));
    cmbKind = app::make<QComboBox>(this, "cmbKind");
    cmbKind->addItem(QStringLiteral("ทุกเหตุการณ์"), QString());
    for (const QString& k : allKinds())
        cmbKind->addItem(kindTitle(k), k);
    filters->addWidget(new QLabel(QStringLiteral("ตั้งแต่วันที่"), this), 0, 0);
    filters->addWidget(edtFrom, 0, 1);
    filters->addWidget(new QLabel(QStringLiteral("ถึงวันที่"), this), 0, 2);
    filters->addWidget(edtTo, 0, 3);
    filters->addWidget(new QLabel(QStringLiteral("ผู้ใช้"), this), 0, 4);
    filters->addWidget(edtUser, 0, 5);
    filters->addWidget(new QLabel(QStringLiteral("เหตุการณ์"), this), 1, 0);
    filters->addWidget(cmbKind, 1, 1, 1, 3);
    filters->addWidget(new QLabel(QStringLiteral("SAP ID"), this), 1, 4);
    filters->addWidget(edtSapID, 1, 5);

    btnSearch = app::button(this, "btnSearch", QStringLiteral("ค้นหา"));
    btnExport = app::button(this, "btnExport", QStringLiteral("ส่งออกไปยัง Excel"));
    btnVerify = app::button(this, "btnVerify", QStringLiteral("ตรวจสอบความครบถ้วนของประวัติ"));
    btnExit_Form = app::button(this, "btnExit_Form", QStringLiteral("กลับสู่เมนูหลัก"));
    lblCount = app::label(this, "lblCount", QString());
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnSearch);
    buttons->addWidget(btnExport);
    buttons->addWidget(btnVerify);
    buttons->addStretch();
    buttons->addWidget(lblCount);
    buttons->addWidget(btnExit_Form);

    m_model = new reports::GridModel(this);
    // The viewer's own grid: SAP IDs without the spreadsheet's apostrophe (the
    // export keeps it), a summary cut short reads whole in its tooltip and in
    // the details below.
    m_model->setTextMarksShown(false);
    m_model->setCellTips(true);
    grdAudit = app::gridView(this, "grdAudit", m_model, true);
    grdAudit->horizontalHeader()->setStretchLastSection(true);
    app::keepColumnWidths(grdAudit, {40, 120, 80, 70, 90, 180, 70}); // an event's longest name whole
    memDetails = app::make<QPlainTextEdit>(this, "memDetails");
    memDetails->setReadOnly(true);
    memDetails->setTabChangesFocus(true);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(grdAudit);
    splitter->addWidget(memDetails);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    resize(1000, 640);

    connect(btnSearch, &QPushButton::clicked, this, &TfrmAudit_Trail::btnSearchClick);
    connect(btnExport, &QPushButton::clicked, this, &TfrmAudit_Trail::btnExportClick);
    connect(btnVerify, &QPushButton::clicked, this, &TfrmAudit_Trail::btnVerifyClick);
    connect(btnExit_Form, &QPushButton::clicked, this, &TfrmAudit_Trail::btnExit_FormClick);
    app::setEnterButton(this, btnSearch); // Enter in a filter searches
    connect(grdAudit->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TfrmAudit_Trail::rowChosen);
    btnSearchClick();
}

void TfrmAudit_Trail::inform(const QString& text)
{
    if (m_session.prompter)
        m_session.prompter->inform(this, text);
}

void TfrmAudit_Trail::btnSearchClick()
{
    if (!m_session.db)
        return;
    Filter f;
    struct Day
    {
        QLineEdit* box;
        std::optional<QDate>* target;
    };
    for (const Day& d : {Day {edtFrom, &f.from}, Day {edtTo, &f.to}}) {
        const QString typed = d.box->text().trimmed();
        if (typed.isEmpty())
            continue;
        *d.target = parseFilterDate(typed);
        if (!*d.target) {
            inform(QStringLiteral("วันที่ไม่ถูกต้อง กรุณาใส่เป็น วว/ดด/ปปปป: ") + typed);
            d.box->setFocus();
            return;
        }
    }
    f.user = edtUser->text().trimmed();
    f.kind = cmbKind->currentData().toString();
    f.sapid = edtSapID->text().trimmed();
    QString error;
    if (!listAuditTrail(*m_session.db, f, true, &m_entries, &error)) {
        inform(error);
        return;
    }
    m_model->setGrid(viewerGrid(m_entries));
    // A change made outside the program (a server trigger caught it) stands out.
    QList<QColor> colours;
    for (const Entry& e : m_entries)
        colours << (e.kind == QLatin1String(kind::kDirectChange) ? QColor(Qt::red) : QColor());
    m_model->setRowColours(colours);
    lblCount->setText(QStringLiteral("%1 รายการ").arg(m_entries.size()));
    memDetails->clear();
    if (!m_entries.empty())
        grdAudit->selectRow(0);
}

void TfrmAudit_Trail::rowChosen()
{
    const int row = grdAudit->currentIndex().row();
    if (row < 0 || row >= static_cast<int>(m_entries.size())) {
        memDetails->clear();
        return;
    }
    memDetails->setPlainText(readableDetails(m_entries[static_cast<size_t>(row)]));
}

void TfrmAudit_Trail::btnExportClick()
{
    reports::ExportOptions options;
    options.sheetName = QStringLiteral("Audit");
    options.titleRange = QStringLiteral("A1:H1");
    options.title = QStringLiteral("ประวัติการใช้งาน");
    options.lastStyledColumn = QStringLiteral("H");
    options.widths = {8, 20, 14, 12, 14, 24, 12};
    const QJsonObject filters {{QStringLiteral("screen"), windowTitle()}, {QStringLiteral("from"), edtFrom->text()},
        {QStringLiteral("to"), edtTo->text()}, {QStringLiteral("user"), edtUser->text()},
        {QStringLiteral("kind"), cmbKind->currentData().toString()}, {QStringLiteral("sapid"), edtSapID->text()}};
    const QString path = reports::exportAndShow(
        m_session, m_model->grid(), options, filters, [this](const QString& text) { inform(text); });
    if (!path.isEmpty())
        m_lastExport = path;
}

void TfrmAudit_Trail::btnExit_FormClick()
{
    app::closeScreen(this);
}

void TfrmAudit_Trail::btnVerifyClick()
{
    if (!m_session.db)
        return;
    const VerifyResult r = verifyAuditTrail(*m_session.db);
    if (!r.ok) {
        inform(QStringLiteral("ประวัติการใช้งานถูกแก้ไข: ") + r.problem);
        return;
    }
    qint64 seq = 0;
    QString chain;
    QString error;
    chainHead(*m_session.db, &seq, &chain, &error);
    inform(
        QStringLiteral("ประวัติการใช้งานครบถ้วน %1 รายการ\nค่าห่วงโซ่ล่าสุด (ลำดับที่ %2): %3").arg(r.count).arg(seq).arg(chain));
}

} // namespace velmora::audit
