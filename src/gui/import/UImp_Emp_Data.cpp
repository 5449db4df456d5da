#include "gui/import/UImp_Emp_Data.h"

#include "gui/common/Prompter.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/common/Widgets.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace velmora::import {

TfrmImp_Emp_Data::TfrmImp_Emp_Data(app::Session& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("frmImp_Emp_Data"));
    setWindowTitle(QStringLiteral("frmImp_Emp_Data"));
    m_parts = buildImportScreen(this, QStringLiteral("Import ข้อมูล "));

    auto* counter = new QHBoxLayout;
    Label8 = app::label(m_parts.GroupBox2, "Label8", QStringLiteral("รายการข้อมูลที่นำเข้า"));
    Label_NoItem = app::label(m_parts.GroupBox2, "Label_NoItem", QString());
    Label9 = app::label(m_parts.GroupBox2, "Label9", QStringLiteral("รายการ"));
    counter->addWidget(Label8);
    counter->addWidget(Label_NoItem);
    counter->addWidget(Label9);
    counter->addStretch();
    m_parts.dataLayout->addLayout(counter);

    PageControl1 = app::make<QTabWidget>(m_parts.GroupBox2, "PageControl1");
    const GridLayout* layouts[] = {&employeeGridLayout(), &reasonGridLayout(), &typeGridLayout(), &departGridLayout()};
    const QString pages[] = {QStringLiteral("Officer Data"), QStringLiteral("เหตุแห่งการออก"),
        QStringLiteral("ประเภทการจ้าง"), QStringLiteral("ส่วนงาน")};
    for (int i = 0; i < 4; ++i) {
        auto* page = new QWidget(PageControl1);
        page->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
        auto* box = new QVBoxLayout(page);
        m_models[i] = new reports::GridModel(this);
        const QByteArray name = "StringGrid" + QByteArray::number(i + 1);
        m_grids[i] = importGrid(page, name.constData(), m_models[i], *layouts[i]);
        box->addWidget(m_grids[i]);
        PageControl1->addTab(page, pages[i]);
    }
    m_parts.dataLayout->addWidget(PageControl1, 1);

    connect(m_parts.BitBtn1, &QPushButton::clicked, this, &TfrmImp_Emp_Data::BitBtn1Click);
    connect(m_parts.btnSave_Data, &QPushButton::clicked, this, &TfrmImp_Emp_Data::btnSave_DataClick);
    connect(m_parts.BitBtn2, &QPushButton::clicked, this, &TfrmImp_Emp_Data::BitBtn2Click);
    FormCreate();
}

void TfrmImp_Emp_Data::FormCreate()
{
    m_parts.edtData_M->clear();
    m_parts.edtData_Y->clear();
    Label_NoItem->setText(QStringLiteral("0"));
    PageControl1->setCurrentIndex(3); // the departments' page shows first
}

void TfrmImp_Emp_Data::BitBtn1Click()
{
    const QString path = chooseWorkbook(m_session, this);
    if (!path.isEmpty())
        btnOpen2Click(path);
}

void TfrmImp_Emp_Data::btnOpen2Click(const QString& path)
{
    showChosenFile(m_parts, path);
    EmployeeWorkbook book;
    QString error;
    if (!loadEmployeeWorkbook(path, &book, &error)) {
        // The grids keep what they held.
        m_session.prompter->inform(this, error);
        return;
    }
    m_book = std::move(book);
    m_parts.edtData_M->setText(m_book.dataMonth);
    m_parts.edtData_Y->setText(m_book.dataYear);
    const GridRows* rows[] = {&m_book.employees, &m_book.reasons, &m_book.types, &m_book.departs};
    for (int i = 0; i < 4; ++i)
        showRows(m_models[i], *rows[i]);
    int read = 0;
    for (const QStringList& r : m_book.employees)
        read += r.value(0).isEmpty() ? 0 : 1;
    Label_NoItem->setText(QString::number(read));
    warnAboutSsns(m_session, this, ssnWarnings(m_book.employees, 1, m_book.sheetNames.value(0)));
}

void TfrmImp_Emp_Data::btnSave_DataClick()
{
    // What the grids show is what is saved.
    EmployeeWorkbook shown = m_book;
    shown.employees = shownRows(m_models[0]);
    shown.reasons = shownRows(m_models[1]);
    shown.types = shownRows(m_models[2]);
    shown.departs = shownRows(m_models[3]);
    const bool loaded =
        hasData(shown.employees) || hasData(shown.reasons) || hasData(shown.types) || hasData(shown.departs);
    if (!confirmSave(m_session, this, loaded))
        return;
    EmployeeSaveCounts counts;
    QString error;
    if (!saveEmployeeWorkbook(*m_session.db, shown, &counts, &error, barProgress(m_parts.ProgressBar1))) {
        m_session.prompter->inform(this, error);
        return;
    }
    m_session.prompter->inform(this, completionText(describeCounts(counts)));
}

void TfrmImp_Emp_Data::BitBtn2Click()
{
    app::closeScreen(this);
}

} // namespace velmora::import
