#include "gui/common/ReportScreen.h"

#include "db/Config.h"
#include "gui/common/Prompter.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/common/Widgets.h"
#include "services/ReportExports.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

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
    QString path = exportReport(
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

QVBoxLayout* ReportScreen::beginScreen(const QString& title, const char* colour)
{
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(app::heading(this, "Label5", title, colour));
    return layout;
}

void ReportScreen::makeButtons()
{
    btnShow_Data = makeButton("btnShow_Data", QStringLiteral("แสดงข้อมูล"));
    btnExit_Form = makeButton("btnExit_Form", QStringLiteral("กลับสู่เมนูหลัก"));
    Button1 = makeButton("Button1", QStringLiteral("Export Ms Excel"));
    connect(btnShow_Data, &QPushButton::clicked, this, &ReportScreen::btnShow_DataClick);
    connect(btnExit_Form, &QPushButton::clicked, this, &ReportScreen::btnExit_FormClick);
    connect(Button1, &QPushButton::clicked, this, &ReportScreen::Button1Click);
    // Enter in a filter box searches.
    app::setEnterButton(this, btnShow_Data);
}

QHBoxLayout* ReportScreen::buttonRow(std::initializer_list<QPushButton*> more)
{
    makeButtons();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnShow_Data);
    buttons->addWidget(Button1);
    for (QPushButton* b : more)
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(btnExit_Form);
    return buttons;
}

QTableView* ReportScreen::makeGrid(const QList<int>& widths, int otherWidth, bool wholeRows)
{
    StringGrid1 = app::gridView(this, "StringGrid1", m_model, wholeRows);
    app::keepColumnWidths(StringGrid1, widths, otherWidth);
    return StringGrid1;
}

QPushButton* ReportScreen::makeButton(const char* name, const QString& caption)
{
    return app::button(this, name, caption);
}

QLabel* ReportScreen::makeLabel(const char* name, const QString& caption)
{
    return app::label(this, name, caption);
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

void ReportScreen::btnShow_DataClick()
{
    if (!m_session.db || !m_search)
        return;
    showResult(m_search(*m_session.db));
}

void ReportScreen::exportGrid(const ReportGrid& grid, const ExportOptions& options)
{
    const QString path = exportAndShow(m_session, grid, options,
        QJsonObject {{QStringLiteral("screen"), windowTitle()}}, [this](const QString& text) { inform(text); });
    if (!path.isEmpty())
        m_lastExport = path;
}

void ReportScreen::Button1Click()
{
    exportGrid(m_model->grid(), exportOptions());
}

void ReportScreen::btnExit_FormClick()
{
    app::closeScreen(this);
}

} // namespace velmora::reports
