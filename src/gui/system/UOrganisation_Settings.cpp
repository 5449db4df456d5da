#include "gui/system/UOrganisation_Settings.h"

#include "gui/common/Prompter.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/common/Widgets.h"
#include "services/OfficeSettings.h"
#include "services/Rights.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace velmora::print {

namespace {

QLineEdit* edit(QWidget* parent, const char* name, const QString& text)
{
    auto* e = app::make<QLineEdit>(parent, name, text);
    e->setMinimumWidth(280);
    return e;
}

} // namespace

TfrmOrganisation_Settings::TfrmOrganisation_Settings(app::Session& session, QWidget* parent)
    : QDialog(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("frmOrganisation_Settings"));
    setWindowTitle(QStringLiteral("ข้อมูลหน่วยงานสำหรับบันทึกข้อความ"));
    const OrganisationData d = OrganisationSettings().load();
    m_sealPath = d.sealPath;

    auto* layout = new QVBoxLayout(this);
    auto* sealRow = new QHBoxLayout;
    imgSeal = app::label(this, "imgSeal", QString());
    imgSeal->setFixedSize(106, 100);
    imgSeal->setScaledContents(true);
    btnChoose_Seal = app::button(this, "btnChoose_Seal", QStringLiteral("เลือกรูปตราสัญลักษณ์..."));
    btnDefault_Seal = app::button(this, "btnDefault_Seal", QStringLiteral("ใช้ตราสัญลักษณ์ของโปรแกรม"));
    auto* sealButtons = new QVBoxLayout;
    sealButtons->addWidget(btnChoose_Seal);
    sealButtons->addWidget(btnDefault_Seal);
    sealButtons->addStretch();
    sealRow->addWidget(imgSeal);
    sealRow->addLayout(sealButtons);
    sealRow->addStretch();
    layout->addLayout(sealRow);

    auto* form = new QFormLayout;
    edtTelephone = edit(this, "edtTelephone", d.telephone);
    edtReference_Code = edit(this, "edtReference_Code", d.referenceCode);
    edtPreparer_Name = edit(this, "edtPreparer_Name", d.preparerName);
    edtSection_Head_Name = edit(this, "edtSection_Head_Name", d.sectionHeadName);
    form->addRow(QStringLiteral("โทรศัพท์ (โทร.)"), edtTelephone);
    form->addRow(QStringLiteral("รหัสเลขที่หนังสือ (ที่)"), edtReference_Code);
    form->addRow(QStringLiteral("นักวิชาการเงินและบัญชี"), edtPreparer_Name);
    form->addRow(QStringLiteral("หัวหน้างานการเงิน"), edtSection_Head_Name);
    layout->addLayout(form);
    // the office's setting, kept in the database for every desktop
    chkFour_Eyes = app::make<QCheckBox>(this, "chkFour_Eyes", QStringLiteral("ต้องตรวจสอบก่อนพิมพ์บันทึกข้อความ"));
    bool fourEyes = true;
    QString ignored;
    m_fourEyes = !m_session.db || office::fourEyesRequired(*m_session.db, &fourEyes, &ignored) ? fourEyes : true;
    chkFour_Eyes->setChecked(m_fourEyes);
    chkFour_Eyes->setEnabled(rights::mayDo(rights::Action::FourEyesSetting));
    layout->addWidget(chkFour_Eyes);

    auto* buttons = new QHBoxLayout;
    btnSave = app::button(this, "btnSave", QStringLiteral("บันทึก"));
    btnCancel = app::button(this, "btnCancel", QStringLiteral("ยกเลิก"));
    buttons->addStretch();
    buttons->addWidget(btnSave);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);

    connect(btnChoose_Seal, &QPushButton::clicked, this, &TfrmOrganisation_Settings::btnChoose_SealClick);
    connect(btnDefault_Seal, &QPushButton::clicked, this, &TfrmOrganisation_Settings::btnDefault_SealClick);
    connect(btnSave, &QPushButton::clicked, this, &TfrmOrganisation_Settings::btnSaveClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    // Enter in a box saves, Esc cancels (as any dialog).
    app::setEnterButton(this, btnSave);
    showSeal();
}

OrganisationData TfrmOrganisation_Settings::data() const
{
    OrganisationData d;
    d.sealPath = m_sealPath;
    d.telephone = edtTelephone->text().trimmed();
    d.referenceCode = edtReference_Code->text().trimmed();
    d.preparerName = edtPreparer_Name->text().trimmed();
    d.sectionHeadName = edtSection_Head_Name->text().trimmed();
    return d;
}

void TfrmOrganisation_Settings::showSeal()
{
    imgSeal->setPixmap(QPixmap::fromImage(sealPicture(data())));
}

void TfrmOrganisation_Settings::btnChoose_SealClick()
{
    if (!m_session.prompter)
        return;
    const QString path = m_session.prompter->openFileName(
        this, QStringLiteral("เลือกรูปตราสัญลักษณ์"), QStringLiteral("รูปภาพ (*.png *.jpg *.jpeg *.bmp)"));
    if (path.isEmpty())
        return;
    if (QImage(path).isNull()) {
        m_session.prompter->inform(this, QStringLiteral("อ่านรูปภาพไม่ได้: ") + path);
        return;
    }
    m_sealPath = path;
    showSeal();
}

void TfrmOrganisation_Settings::btnDefault_SealClick()
{
    m_sealPath.clear();
    showSeal();
}

namespace {

// Old and new value of every field that changed, for the audit log.
QJsonObject settingsChange(const OrganisationData& before, const OrganisationData& after)
{
    const std::pair<const char*, QString OrganisationData::*> fields[] = {{"seal_path", &OrganisationData::sealPath},
        {"telephone", &OrganisationData::telephone}, {"reference_code", &OrganisationData::referenceCode},
        {"preparer_name", &OrganisationData::preparerName}, {"section_head_name", &OrganisationData::sectionHeadName}};
    QJsonObject changes;
    for (const auto& [name, member] : fields) {
        if (before.*member != after.*member)
            changes.insert(QLatin1String(name),
                QJsonObject {{QStringLiteral("old"), before.*member}, {QStringLiteral("new"), after.*member}});
    }
    return QJsonObject {{QStringLiteral("changes"), changes}};
}

} // namespace

void TfrmOrganisation_Settings::btnSaveClick()
{
    const OrganisationSettings settings;
    const OrganisationData after = data();
    const auto save = [&](QString*) { return settings.save(after); };
    QString error;
    bool saved = m_session.db
        ? office::recordOrganisationChange(*m_session.db, settingsChange(settings.load(), after), save, &error)
        : save(&error);
    if (saved && m_session.db && chkFour_Eyes->isChecked() != m_fourEyes) {
        saved = office::setFourEyesRequired(*m_session.db, chkFour_Eyes->isChecked(), &error);
        if (saved)
            m_fourEyes = chkFour_Eyes->isChecked();
    }
    if (!saved) {
        if (m_session.prompter)
            m_session.prompter->inform(this,
                error.isEmpty() ? QStringLiteral("บันทึกการตั้งค่าไม่สำเร็จ")
                                : QStringLiteral("บันทึกการตั้งค่าไม่สำเร็จ: ") + error);
        return;
    }
    accept();
}

} // namespace velmora::print
