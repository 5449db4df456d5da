#include "gui/import/ImportScreen.h"

#include "gui/common/Prompter.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/common/Widgets.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace velmora::import {

ImportScreenParts buildImportScreen(QWidget* screen, const QString& title)
{
    ImportScreenParts p;
    auto* outer = new QVBoxLayout(screen);

    p.GroupBox3 = app::make<QGroupBox>(screen, "GroupBox3");
    auto* top = new QVBoxLayout(p.GroupBox3);
    p.Label5 = app::label(p.GroupBox3, "Label5", title);
    QFont big = p.Label5->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    p.Label5->setFont(big);
    top->addWidget(p.Label5);
    auto* buttons = new QHBoxLayout;
    p.BitBtn1 = app::button(p.GroupBox3, "BitBtn1", QStringLiteral("เปิดแฟ้มข้อมูล"));
    p.btnSave_Data = app::button(p.GroupBox3, "btnSave_Data", QStringLiteral("บันทึกลงฐานข้อมูล"));
    p.BitBtn2 = app::button(p.GroupBox3, "BitBtn2", QStringLiteral("ออกจากโปรแกรม"));
    app::setEnterButton(screen, p.BitBtn1); // the screen has no box: Enter opens a workbook
    buttons->addWidget(p.BitBtn1);
    buttons->addWidget(p.btnSave_Data);
    buttons->addWidget(p.BitBtn2);
    buttons->addStretch();
    top->addLayout(buttons);
    auto* file = new QGridLayout;
    p.LF_Name = app::label(p.GroupBox3, "LF_Name", QStringLiteral("แฟ้มข้อมูลที่เปิด :"));
    p.L_Fname = app::make<QLabel>(p.GroupBox3, "L_Fname");
    p.L_Name2 = app::make<QLabel>(p.GroupBox3, "L_Name2");
    p.L_Name3 = app::make<QLabel>(p.GroupBox3, "L_Name3");
    file->addWidget(p.LF_Name, 0, 0);
    file->addWidget(p.L_Fname, 0, 1);
    file->addWidget(p.L_Name2, 1, 1);
    file->addWidget(p.L_Name3, 2, 1);
    file->setColumnStretch(1, 1);
    top->addLayout(file);
    outer->addWidget(p.GroupBox3);

    p.GroupBox2 = app::groupBox(screen, "GroupBox2", QStringLiteral("GroupBox2"));
    auto* data = new QVBoxLayout(p.GroupBox2);
    auto* period = new QHBoxLayout;
    p.Label6 = app::label(p.GroupBox2, "Label6", QStringLiteral("ข้อมูลเดือน"));
    p.edtData_M = app::lineEdit(p.GroupBox2, "edtData_M");
    p.Label7 = app::label(p.GroupBox2, "Label7", QStringLiteral("ปี"));
    p.edtData_Y = app::lineEdit(p.GroupBox2, "edtData_Y");
    p.edtData_M->setEnabled(false);
    p.edtData_Y->setEnabled(false);
    p.edtData_M->setMaximumWidth(80);
    p.edtData_Y->setMaximumWidth(80);
    period->addWidget(p.Label6);
    period->addWidget(p.edtData_M);
    period->addWidget(p.Label7);
    period->addWidget(p.edtData_Y);
    period->addStretch();
    data->addLayout(period);
    p.dataLayout = new QVBoxLayout;
    data->addLayout(p.dataLayout, 1);
    p.ProgressBar1 = app::make<QProgressBar>(p.GroupBox2, "ProgressBar1");
    p.ProgressBar1->setRange(0, 100);
    p.ProgressBar1->setValue(0);
    data->addWidget(p.ProgressBar1);
    outer->addWidget(p.GroupBox2, 1);

    p.Label1 = app::label(screen, "Label1", QStringLiteral("โปรแกรมคำนวณเงินชดเชย งานการเงิน มหาวิทยาลัย"));
    outer->addWidget(p.Label1);
    return p;
}

QString chooseWorkbook(app::Session& session, QWidget* screen)
{
    return session.prompter->openFileName(screen, QStringLiteral("Open"),
        QStringLiteral("Excel File (*.xlsx *.xls);;Excel 2007 (*.xlsx);;Excel 97-2003 (*.xls);;All files (*.*)"));
}

QTableView* importGrid(QWidget* parent, const char* name, reports::GridModel* model, const GridLayout& layout)
{
    model->setCellTips(true);
    model->setGrid(reports::ReportGrid::emptyResult(layout.titles));
    QTableView* view = app::gridView(parent, name, model, false);
    app::setColumnWidths(view, layout.widths);
    return view;
}

void showRows(reports::GridModel* model, const GridRows& rows)
{
    reports::ReportGrid grid;
    grid.titles = model->grid().titles;
    if (rows.empty())
        grid = reports::ReportGrid::emptyResult(grid.titles);
    else
        grid.rows = QList<QStringList>(rows.begin(), rows.end());
    model->setGrid(std::move(grid));
}

GridRows shownRows(const reports::GridModel* model)
{
    const QList<QStringList>& rows = model->grid().rows;
    return GridRows(rows.begin(), rows.end());
}

bool confirmSave(app::Session& session, QWidget* screen, bool loaded)
{
    // nothing loaded: no question, and no "saved" with 0 rows
    if (!loaded) {
        session.prompter->inform(screen, nothingToSaveMessage());
        return false;
    }
    return session.prompter->confirm(screen, QStringLiteral("ยืนยันการบันทึกข้อมูล "));
}

Progress barProgress(QProgressBar* bar)
{
    return [bar, lastPercent = -1](int position, int maximum) mutable {
        const int percent = maximum > 0 ? position * 100 / maximum : 100;
        if (percent != lastPercent || position == 1) {
            lastPercent = percent;
            bar->setMaximum(maximum);
            bar->setValue(position);
        }
    };
}

void showChosenFile(const ImportScreenParts& parts, const QString& path)
{
    const QString p = QDir::toNativeSeparators(path);
    const QString d = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    parts.L_Fname->setText(p + QStringLiteral("  ความยาว ") + QString::number(p.size()) + QStringLiteral(" ตัวอักษร"));
    parts.L_Name2->setText(d + QStringLiteral("  ความยาว ") + QString::number(d.size()) + QStringLiteral(" ตัวอักษร"));
    parts.L_Name3->setText(QFileInfo(path).fileName());
}

void warnAboutSsns(app::Session& session, QWidget* screen, const QStringList& warnings)
{
    if (warnings.isEmpty())
        return;
    constexpr int kShown = 30;
    QStringList lines {ssnWarningsHeading(int(warnings.size()))};
    lines << warnings.mid(0, kShown);
    if (warnings.size() > kShown)
        lines << QStringLiteral("และอีก %1 รายการ").arg(warnings.size() - kShown);
    session.prompter->inform(screen, lines.join(QLatin1Char('\r')));
}

QString completionText(const QStringList& countLines)
{
    // A carriage return breaks the line in the program's messages.
    return savedMessage() + QLatin1Char('\r') + countLines.join(QLatin1Char('\r'));
}

} // namespace velmora::import
