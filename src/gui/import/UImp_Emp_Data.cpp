#include "gui/import/UImp_Emp_Data.h"

#include "gui/common/Prompter.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
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
    Label8 = new QLabel(QStringLiteral("รายการข้อมูลที่นำเข้า"), m_parts.GroupBox2);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label_NoItem = new QLabel(m_parts.GroupBox2);
    Label_NoItem->setObjectName(QStringLiteral("Label_NoItem"));
    Label9 = new QLabel(QStringLiteral("รายการ"), m_parts.GroupBox2);
    Label9->setObjectName(QStringLiteral("Label9"));
    counter->addWidget(Label8);
    counter->addWidget(Label_NoItem);
    counter->addWidget(Label9);
    counter->addStretch();
    m_parts.dataLayout->addLayout(counter);

    PageControl1 = new QTabWidget(m_parts.GroupBox2);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    const GridLayout* layouts[] = {&employeeGridLayout(), &reasonGridLayout(), &typeGridLayout(), &departGridLayout()};
    const QString pages[] = {QStringLiteral("Officer Data"), QStringLiteral("เหตุแห่งการออก"),
        QStringLiteral("ประเภทการจ้าง"), QStringLiteral("ส่วนงาน")};
    for (int i = 0; i < 4; ++i) {
        auto* page = new QWidget(PageControl1);
        page->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
        auto* box = new QVBoxLayout(page);
        m_models[i] = new ImportGridModel(*layouts[i], this);
        m_grids[i] = makeImportGrid(QStringLiteral("StringGrid%1").arg(i + 1), m_models[i], page);
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
    const QString path = m_session.prompter->openFileName(this, QStringLiteral("Open"), workbookFilter());
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
        m_models[i]->setRows(*rows[i]);
    int read = 0;
    for (const QStringList& r : m_book.employees)
        read += r.value(0).isEmpty() ? 0 : 1;
    Label_NoItem->setText(QString::number(read));
}

void TfrmImp_Emp_Data::btnSave_DataClick()
{
    // nothing loaded: no question, and no "saved" with 0 rows
    if (!hasData(m_models[0]->rows()) && !hasData(m_models[1]->rows()) && !hasData(m_models[2]->rows())
        && !hasData(m_models[3]->rows())) {
        m_session.prompter->inform(this, nothingToSaveMessage());
        return;
    }
    if (!m_session.prompter->confirm(this, QStringLiteral("ยืนยันการบันทึกข้อมูล ")))
        return;
    // What the grids show is what is saved.
    EmployeeWorkbook shown = m_book;
    shown.employees = m_models[0]->rows();
    shown.reasons = m_models[1]->rows();
    shown.types = m_models[2]->rows();
    shown.departs = m_models[3]->rows();
    QProgressBar* bar = m_parts.ProgressBar1;
    int lastPercent = -1;
    const Progress progress = [&](int position, int maximum) {
        const int percent = maximum > 0 ? position * 100 / maximum : 100;
        if (percent != lastPercent || position == 1) {
            lastPercent = percent;
            bar->setMaximum(maximum);
            bar->setValue(position);
        }
    };
    EmployeeSaveCounts counts;
    QString error;
    if (!saveEmployeeWorkbook(*m_session.db, shown, &counts, &error, progress)) {
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
