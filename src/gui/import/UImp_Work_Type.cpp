#include "gui/import/UImp_Work_Type.h"

#include "gui/common/Prompter.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora::import {

TfrmImp_Work_Type::TfrmImp_Work_Type(app::Session& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("frmImp_Work_Type"));
    setWindowTitle(QStringLiteral("frmImp_Work_Type"));
    m_parts = buildImportScreen(this, QStringLiteral("Import ข้อมูลการเปลี่ยนแปลงประเภทการจ้าง"));
    m_model = new ImportGridModel(historyGridLayout(), this);
    StringGrid1 = makeImportGrid(QStringLiteral("StringGrid1"), m_model, m_parts.GroupBox2);
    m_parts.dataLayout->addWidget(StringGrid1, 1);

    connect(m_parts.BitBtn1, &QPushButton::clicked, this, &TfrmImp_Work_Type::BitBtn1Click);
    connect(m_parts.btnSave_Data, &QPushButton::clicked, this, &TfrmImp_Work_Type::btnSave_DataClick);
    connect(m_parts.BitBtn2, &QPushButton::clicked, this, &TfrmImp_Work_Type::BitBtn2Click);
    FormCreate();
}

void TfrmImp_Work_Type::FormCreate()
{
    m_parts.edtData_M->clear();
    m_parts.edtData_Y->clear();
}

void TfrmImp_Work_Type::BitBtn1Click()
{
    const QString path = m_session.prompter->openFileName(this, QStringLiteral("Open"), workbookFilter());
    if (!path.isEmpty())
        btnOpen2Click(path);
}

void TfrmImp_Work_Type::btnOpen2Click(const QString& path)
{
    showChosenFile(m_parts, path);
    HistoryWorkbook book;
    QString error;
    if (!loadHistoryWorkbook(path, &book, &error)) {
        m_session.prompter->inform(this, error);
        return;
    }
    m_book = std::move(book);
    m_model->setRows(m_book.periods);
}

void TfrmImp_Work_Type::btnSave_DataClick()
{
    // nothing loaded: no question, and no "saved" with 0 rows
    if (!hasData(m_model->rows())) {
        m_session.prompter->inform(this, nothingToSaveMessage());
        return;
    }
    if (!m_session.prompter->confirm(this, QStringLiteral("ยืนยันการบันทึกข้อมูล ")))
        return;
    HistoryWorkbook shown = m_book;
    shown.periods = m_model->rows();
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
    TableCounts counts;
    QString error;
    if (!saveHistoryWorkbook(*m_session.db, shown, &counts, &error, progress)) {
        m_session.prompter->inform(this, error);
        return;
    }
    m_session.prompter->inform(this, completionText(describeCounts(counts)));
}

void TfrmImp_Work_Type::BitBtn2Click()
{
    app::closeScreen(this);
}

} // namespace velmora::import
