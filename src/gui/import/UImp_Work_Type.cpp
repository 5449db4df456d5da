#include "gui/import/UImp_Work_Type.h"

#include "gui/common/Prompter.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace velmora::import {

TfrmImp_Work_Type::TfrmImp_Work_Type(app::Session& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("frmImp_Work_Type"));
    setWindowTitle(QStringLiteral("frmImp_Work_Type"));
    m_parts = buildImportScreen(this, QStringLiteral("Import ข้อมูลการเปลี่ยนแปลงประเภทการจ้าง"));
    m_model = new reports::GridModel(this);
    StringGrid1 = importGrid(m_parts.GroupBox2, "StringGrid1", m_model, historyGridLayout());
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
    const QString path = chooseWorkbook(m_session, this);
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
    showRows(m_model, m_book.periods);
    warnAboutSsns(m_session, this, ssnWarnings(m_book.periods, 1, m_book.sheetName));
}

void TfrmImp_Work_Type::btnSave_DataClick()
{
    HistoryWorkbook shown = m_book;
    shown.periods = shownRows(m_model);
    if (!confirmSave(m_session, this, hasData(shown.periods)))
        return;
    TableCounts counts;
    QString error;
    if (!saveHistoryWorkbook(*m_session.db, shown, &counts, &error, barProgress(m_parts.ProgressBar1))) {
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
