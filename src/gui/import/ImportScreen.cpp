#include "gui/import/ImportScreen.h"

#include "services/ImportJobs.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora::import {

namespace {

template <typename T>
T* named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

ImportScreenParts buildImportScreen(QWidget* screen, const QString& title)
{
    ImportScreenParts p;
    auto* outer = new QVBoxLayout(screen);

    p.GroupBox3 = named(new QGroupBox(screen), "GroupBox3");
    auto* top = new QVBoxLayout(p.GroupBox3);
    p.Label5 = named(new QLabel(title, p.GroupBox3), "Label5");
    QFont big = p.Label5->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    p.Label5->setFont(big);
    top->addWidget(p.Label5);
    auto* buttons = new QHBoxLayout;
    p.BitBtn1 = named(new QPushButton(QStringLiteral("เปิดแฟ้มข้อมูล"), p.GroupBox3), "BitBtn1");
    p.btnSave_Data = named(new QPushButton(QStringLiteral("บันทึกลงฐานข้อมูล"), p.GroupBox3), "btnSave_Data");
    p.BitBtn2 = named(new QPushButton(QStringLiteral("ออกจากโปรแกรม"), p.GroupBox3), "BitBtn2");
    buttons->addWidget(p.BitBtn1);
    buttons->addWidget(p.btnSave_Data);
    buttons->addWidget(p.BitBtn2);
    buttons->addStretch();
    top->addLayout(buttons);
    auto* file = new QGridLayout;
    p.LF_Name = named(new QLabel(QStringLiteral("แฟ้มข้อมูลที่เปิด :"), p.GroupBox3), "LF_Name");
    p.L_Fname = named(new QLabel(p.GroupBox3), "L_Fname");
    p.L_Name2 = named(new QLabel(p.GroupBox3), "L_Name2");
    p.L_Name3 = named(new QLabel(p.GroupBox3), "L_Name3");
    file->addWidget(p.LF_Name, 0, 0);
    file->addWidget(p.L_Fname, 0, 1);
    file->addWidget(p.L_Name2, 1, 1);
    file->addWidget(p.L_Name3, 2, 1);
    file->setColumnStretch(1, 1);
    top->addLayout(file);
    outer->addWidget(p.GroupBox3);

    p.GroupBox2 = named(new QGroupBox(QStringLiteral("GroupBox2"), screen), "GroupBox2");
    auto* data = new QVBoxLayout(p.GroupBox2);
    auto* period = new QHBoxLayout;
    p.Label6 = named(new QLabel(QStringLiteral("ข้อมูลเดือน"), p.GroupBox2), "Label6");
    p.edtData_M = named(new QLineEdit(p.GroupBox2), "edtData_M");
    p.Label7 = named(new QLabel(QStringLiteral("ปี"), p.GroupBox2), "Label7");
    p.edtData_Y = named(new QLineEdit(p.GroupBox2), "edtData_Y");
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
    p.ProgressBar1 = named(new QProgressBar(p.GroupBox2), "ProgressBar1");
    p.ProgressBar1->setRange(0, 100);
    p.ProgressBar1->setValue(0);
    data->addWidget(p.ProgressBar1);
    outer->addWidget(p.GroupBox2, 1);

    p.Label1 = named(new QLabel(QStringLiteral("โปรแกรมคำนวณเงินชดเชย งานการเงิน มหาวิทยาลัย"), screen), "Label1");
    outer->addWidget(p.Label1);
    return p;
}

QString workbookFilter()
{
    return QStringLiteral("Excel File (*.xlsx *.xls);;Excel 2007 (*.xlsx);;Excel 97-2003 (*.xls);;All files (*.*)");
}

void showChosenFile(const ImportScreenParts& parts, const QString& path)
{
    const QString p = QDir::toNativeSeparators(path);
    const QString d = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    parts.L_Fname->setText(p + QStringLiteral("  ความยาว ") + QString::number(p.size()) + QStringLiteral(" ตัวอักษร"));
    parts.L_Name2->setText(d + QStringLiteral("  ความยาว ") + QString::number(d.size()) + QStringLiteral(" ตัวอักษร"));
    parts.L_Name3->setText(QFileInfo(path).fileName());
}

QString completionText(const QStringList& countLines)
{
    // A carriage return breaks the line in the program's messages.
    return savedMessage() + QLatin1Char('\r') + countLines.join(QLatin1Char('\r'));
}

} // namespace velmora::import
