#include "gui/calc/URelease_Cal_Money_ChodChoy.h"

#include "gui/calc/Widgets.h"
#include "gui/common/DateText.h"
#include "gui/common/FilterGroups.h"
#include "gui/common/Prompter.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/common/Widgets.h"
#include "services/CancelService.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace velmora::calc {

using namespace widgets;

TfrmRelease_Cal_Money_ChodChoy::TfrmRelease_Cal_Money_ChodChoy(app::Session& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("frmRelease_Cal_Money_ChodChoy"));
    setWindowTitle(QStringLiteral("frmRelease_Cal_Money_ChodChoy"));

    Label5 = app::title(this, "Label5", QStringLiteral("การยกเลิกการคำนวณเงินชดเชย"), 1.8, "green");

    GroupBox1 = app::groupBox(this, "GroupBox1", QStringLiteral("1. ค้นหาจ้อมูลโดย"));
    // The receipt-period choice is shown with its defaults; the list does not use it.
    m_received = app::periodFilter(
        GroupBox1, QStringLiteral("รับเงินชดเชย"), "edtYear_Mon_Select", "99/9999;_", app::PeriodLayout::Stacked);

    const NameSearch search = nameSearch(GroupBox1);
    CheckBox1 = search.byName;
    edtFind_F_Name = search.name;
    btnShow_Data = search.show;
    btnExit_Form = search.exit;
    // Shown but never enabled: it has no function.
    CheckBox2 = app::make<QCheckBox>(GroupBox1, "CheckBox2", QStringLiteral("ลบประวัติการับเงินเดือนทั้งหมด(ลบออกจากระบบ)"));
    CheckBox2->setEnabled(false);
    Label2 = label(GroupBox1, "Label2", QStringLiteral("ลบประวัติรับเงินเดือน + การเปลี่ยนสถานภาพ"));

    auto* criteria = new QGridLayout(GroupBox1);
    criteria->addWidget(CheckBox1, 0, 0);
    criteria->addWidget(edtFind_F_Name, 0, 1);
    criteria->addWidget(CheckBox2, 1, 0, 1, 2);
    criteria->addWidget(Label2, 2, 0, 1, 2);
    criteria->addWidget(m_received.box, 0, 2, 3, 1);
    placeSearchButtons(criteria, btnShow_Data, btnExit_Form);

    StringGrid1 = foundList(this, &GroupBox2, Saved_Grid_Widths());

    btnCancel_Berg = button(this, "btnCancel_Berg", QStringLiteral("3. ยกเลิกการเบิก"));
    CheckBox3 = app::make<QCheckBox>(this, "CheckBox3", QStringLiteral("ลบประวัติการเปลี่ยนแปลงสถานภาพที่ต้องคำนวณ"));
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
    // Enter searches from the filters; on a chosen line it starts the cancel,
    // which asks first.
    app::setEnterButton(this, btnShow_Data);
    app::setEnterButton(GroupBox2, btnCancel_Berg);

    FormCreate();
}

void TfrmRelease_Cal_Money_ChodChoy::FormCreate()
{
    const app::DefaultDates dates = app::defaultDates(m_session.Server_Date_Text, m_session.Server_Date_Text_BE);
    m_received.setDefaults(dates.year, dates.monthYear);
    edtFind_F_Name->clear();
    resetGrid(StringGrid1, qsList(Saved_Grid_Titles()));
}

void TfrmRelease_Cal_Money_ChodChoy::btnShow_DataClick()
{
    resetGrid(StringGrid1, qsList(Saved_Grid_Titles()));
    Saved_Search search;
    search.by_first_name = CheckBox1->isChecked();
    search.first_name_part = us(edtFind_F_Name->text());
    std::vector<Saved_List_Row> rows;
    std::string error;
    if (!Search_Saved_Calculations(*m_session.db, search, &rows, &error)) {
        m_session.prompter->inform(this, qs(error));
        return;
    }
    QList<QStringList> shown;
    for (size_t i = 0; i < rows.size(); ++i)
        shown << qsList(Saved_Grid_Cells(rows[i], int(i) + 1));
    showRows(StringGrid1, shown);
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
