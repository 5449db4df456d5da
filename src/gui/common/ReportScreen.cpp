#include "gui/common/ReportScreen.h"

#include "db/Config.h"
#include "gui/common/Prompter.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "services/ReportExports.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QHeaderView>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QUrl>

namespace velmora::reports {

ExportHooks& exportHooks()
{
    static ExportHooks hooks;
    return hooks;
}

QString exportTargetFolder()
{
    const ExportHooks& hooks = exportHooks();
    return hooks.folder.isEmpty() ? db::exportFolder() : hooks.folder;
}

void showExport(const QString& path, const std::function<void(const QString&)>& inform)
{
    const ExportHooks& hooks = exportHooks();
    if (hooks.open)
        hooks.open(path);
    else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        inform(QStringLiteral("บันทึกไฟล์แล้วที่ ") + path + QStringLiteral(" แต่เปิดด้วยโปรแกรมตารางคำนวณไม่ได้"));
}

QString exportAndShow(app::Session& session, const ReportGrid& grid, const ExportOptions& options,
    const QJsonObject& filters, const std::function<void(const QString&)>& inform)
{
    QString error;
    const QString path = exportReport(
        session.db, grid, options, filters, {QString(), exportTargetFolder(), session.machineNow()}, &error);
    if (path.isEmpty()) {
        inform(QStringLiteral("ส่งออกไปยัง Excel ไม่สำเร็จ: ") + error);
        return {};
    }
    showExport(path, inform);
    return path;
}

ReportScreen::ReportScreen(app::Session& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    m_model = new GridModel(this);
}

QTableView* ReportScreen::makeGrid()
{
    StringGrid1 = new QTableView(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setModel(m_model);
    StringGrid1->verticalHeader()->hide(); // column 0 holds the row number
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(StringGrid1->fontMetrics().height() + 6);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->setWordWrap(false);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_model, &QAbstractItemModel::modelReset, this, &ReportScreen::applyColumnWidths);
    return StringGrid1;
}

QPushButton* ReportScreen::makeButton(const char* name, const QString& caption)
{
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QLatin1String(name));
    return b;
}

QLabel* ReportScreen::makeLabel(const char* name, const QString& caption)
{
    auto* l = new QLabel(caption, this);
    l->setObjectName(QLatin1String(name));
    return l;
}

void ReportScreen::applyColumnWidths()
{
    const QList<int> widths = reportColumnWidths();
    const int columns = m_model->columnCount();
    for (int c = 0; c < columns; ++c)
        StringGrid1->setColumnWidth(c, c < widths.size() ? widths.at(c) : 100);
}

void ReportScreen::inform(const QString& text)
{
    if (m_session.prompter)
        m_session.prompter->inform(this, text);
}

void ReportScreen::fillChoices(QComboBox* combo, bool workTypes)
{
    if (!m_session.db)
        return;
    QStringList names;
    QString error;
    const bool ok =
        workTypes ? listWorkTypes(*m_session.db, &names, &error) : listDepartments(*m_session.db, &names, &error);
    if (!ok) {
        inform(error);
        return;
    }
    combo->clear();
    combo->addItems(names);
    combo->setEditText(names.value(0));
}

void ReportScreen::showResult(const ReportResult& result)
{
    if (!result.ok) {
        // no rows of an earlier search stay on screen beside the refusal
        m_model->setGrid(ReportGrid::emptyResult(m_model->grid().titles));
        inform(result.error);
        return;
    }
    m_model->setGrid(result.grid);
    if (!result.found)
        inform(notFoundMessage());
}

void ReportScreen::Button1Click()
{
    const QString path = exportAndShow(m_session, m_model->grid(), exportOptions(),
        QJsonObject {{QStringLiteral("screen"), windowTitle()}}, [this](const QString& text) { inform(text); });
    if (!path.isEmpty())
        m_lastExport = path;
}

void ReportScreen::btnExit_FormClick()
{
    app::closeScreen(this);
}

} // namespace velmora::reports
