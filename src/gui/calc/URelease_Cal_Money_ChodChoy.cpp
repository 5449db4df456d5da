#include "gui/calc/URelease_Cal_Money_ChodChoy.h"
#include "gui/common/DateText.h"

#include "gui/calc/Widgets.h"
#include "gui/common/Prompter.h"
#include "gui/common/ScreenParts.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "services/CancelService.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmora::calc {

using namespace widgets;

namespace {

template <typename T>
T* named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TfrmRelease_Cal_Money_ChodChoy::TfrmRelease_Cal_Money_ChodChoy(app::Session& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("frmRelease_Cal_Money_ChodChoy"));
    setWindowTitle(QStringLiteral("frmRelease_Cal_Money_ChodChoy"));

    Label5 = label(this, "Label5", QStringLiteral("การยกเลิกการคำนวณเงินชดเชย"));
    QFont heading = Label5->font();
    heading.setPointSizeF(heading.pointSizeF() * 1.8);
    heading.setBold(true);
    Label5->setFont(heading);
    Label5->setStyleSheet(QStringLiteral("color: green;"));

    GroupBox1 = named(new QGroupBox(QStringLiteral("1. ค้นหาจ้อมูลโดย"), this), "GroupBox1");
    // The receipt-period choice is shown with its defaults; the list does not use it.
    GroupBox5 = named(new QGroupBox(QStringLiteral("รับเงินชดเชย"), GroupBox1), "GroupBox5");
    RadioButton3 = named(new QRadioButton(QStringLiteral("ทั้งหมด"), GroupBox5), "RadioButton3");
    RadioButton4 = named(new QRadioButton(QStringLiteral("เฉพาะปี"), GroupBox5), "RadioButton4");
    edtYear_sel = edit(GroupBox5, "edtYear_sel", false);
    edtYear_sel->setMaximumWidth(80);
    RadioButton5 = named(new QRadioButton(QStringLiteral("เฉพาะเดือนปี"), GroupBox5), "RadioButton5");
    edtYear_Mon_Select = monthYearEdit(GroupBox5, "edtYear_Mon_Select");
    edtYear_Mon_Select->setMaximumWidth(80);
    auto* filter = new QGridLayout(GroupBox5);
    filter->addWidget(RadioButton3, 0, 0);
    filter->addWidget(RadioButton4, 1, 0);
    filter->addWidget(edtYear_sel, 1, 1);
    filter->addWidget(RadioButton5, 2, 0);
    filter->addWidget(edtYear_Mon_Select, 2, 1);
    reports::eraNote(edtYear_sel, reports::Era::Christian);
    reports::eraNote(edtYear_Mon_Select, reports::Era::Christian);

    CheckBox1 = named(new QCheckBox(QStringLiteral("ชื่อ"), GroupBox1), "CheckBox1");
    edtFind_F_Name = edit(GroupBox1, "edtFind_F_Name", false);
    // Shown but never enabled: it has no function.
    CheckBox2 = named(new QCheckBox(QStringLiteral("ลบประวัติการับเงินเดือนทั้งหมด(ลบออกจากระบบ)"), GroupBox1), "CheckBox2");
    CheckBox2->setEnabled(false);
    Label2 = label(GroupBox1, "Label2", QStringLiteral("ลบประวัติรับเงินเดือน + การเปลี่ยนสถานภาพ"));
    btnShow_Data = button(GroupBox1, "btnShow_Data", QStringLiteral("แสดงข้อมูล"));
    btnExit_Form = button(GroupBox1, "btnExit_Form", QStringLiteral("กลับสู่เมนูหลัก"));

    auto* criteria = new QGridLayout(GroupBox1);
    criteria->addWidget(CheckBox1, 0, 0);
    criteria->addWidget(edtFind_F_Name, 0, 1);
    criteria->addWidget(CheckBox2, 1, 0, 1, 2);
    criteria->addWidget(Label2, 2, 0, 1, 2);
    criteria->addWidget(GroupBox5, 0, 2, 3, 1);
    auto* searchButtons = new QVBoxLayout;
    searchButtons->addWidget(btnShow_Data);
    searchButtons->addWidget(btnExit_Form);
    searchButtons->addStretch();
    criteria->addLayout(searchButtons, 0, 3, 3, 1);
    criteria->setColumnStretch(4, 1);

    GroupBox2 = named(new QGroupBox(QStringLiteral("2. เลือกรายการทั่ต้องการ"), this), "GroupBox2");
    StringGrid1 = named(new QTableWidget(GroupBox2), "StringGrid1");
    setupGrid(StringGrid1);
    auto* listLayout = new QVBoxLayout(GroupBox2);
    listLayout->addWidget(StringGrid1);

    btnCancel_Berg = button(this, "btnCancel_Berg", QStringLiteral("3. ยกเลิกการเบิก"));
    CheckBox3 = named(new QCheckBox(QStringLiteral("ลบประวัติการเปลี่ยนแปลงสถานภาพที่ต้องคำนวณ"), this), "CheckBox3");
    Label1 = label(this, "Label1", QStringLiteral("พัฒนาโดย งานคลัง"));

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btnCancel_Berg);
    bottom->addWidget(CheckBox3);
    bottom->addStretch();
    bottom->addWidget(Label1);

    auto* root = new QVBoxLayout(this);
    root->addWidget(Label5);
    root->addWidget(GroupBox1);
    root->addWidget(GroupBox2, 1);
    root->addLayout(bottom);

    connect(btnShow_Data, &QPushButton::clicked, this, &TfrmRelease_Cal_Money_ChodChoy::btnShow_DataClick);
    connect(btnCancel_Berg, &QPushButton::clicked, this, &TfrmRelease_Cal_Money_ChodChoy::btnCancel_BergClick);
    connect(btnExit_Form, &QPushButton::clicked, this, &TfrmRelease_Cal_Money_ChodChoy::btnExit_FormClick);

    FormCreate();
}

void TfrmRelease_Cal_Money_ChodChoy::FormCreate()
{
    RadioButton3->setChecked(true);
    const app::DefaultDates dates = app::defaultDates(m_session.Server_Date_Text, m_session.Server_Date_Text_BE);
    edtYear_sel->setText(dates.year);
    edtYear_Mon_Select->setText(dates.monthYear);
    edtFind_F_Name->clear();
    resetGrid(StringGrid1, qsList(Saved_Grid_Titles()), Saved_Grid_Widths());
}

void TfrmRelease_Cal_Money_ChodChoy::btnShow_DataClick()
{
    resetGrid(StringGrid1, qsList(Saved_Grid_Titles()), Saved_Grid_Widths());
    Saved_Search search;
    search.by_first_name = CheckBox1->isChecked();
    search.first_name_part = us(edtFind_F_Name->text());
    std::vector<Saved_List_Row> rows;
    std::string error;
    if (!Search_Saved_Calculations(*m_session.db, search, &rows, &error)) {
        m_session.prompter->inform(this, qs(error));
        return;
    }
    for (size_t i = 0; i < rows.size(); ++i)
        setGridRow(StringGrid1, int(i), qsList(Saved_Grid_Cells(rows[i], int(i) + 1)));
    StringGrid1->setCurrentCell(0, 1);
}

void TfrmRelease_Cal_Money_ChodChoy::btnCancel_BergClick()
{
    // An empty list or no chosen line: nothing to cancel, nothing to confirm.
    const QString sapid = cellText(StringGrid1, selectedRow(StringGrid1), 1).trimmed();
    if (sapid.isEmpty()) {
        m_session.prompter->inform(this, QString::fromUtf8(kMessage_Nothing_To_Cancel));
        return;
    }
    // the question names whose calculation is cancelled
    const int row = selectedRow(StringGrid1);
    const QString who =
        QStringLiteral("\rSAP ID ") + sapid + QLatin1Char(' ') + cellText(StringGrid1, row, 2).trimmed();
    if (!m_session.prompter->confirm(this, QStringLiteral("ยืนยันการลบข้อมูล ") + who))
        return;
    std::string error;
    if (!Cancel_Calculation(*m_session.db, us(sapid), CheckBox3->isChecked(), &error)) {
        m_session.prompter->inform(this, qs(error));
        return;
    }
    m_session.prompter->inform(this, QString::fromUtf8(kMessage_Cancelled));
    btnShow_DataClick();
}

void TfrmRelease_Cal_Money_ChodChoy::btnExit_FormClick()
{
    app::closeScreen(this);
}

} // namespace velmora::calc
