#include "gui/system/UBackup.h"

#include "db/Database.h"
#include "gui/common/GridModel.h"
#include "gui/common/Prompter.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/common/Widgets.h"
#include "services/Backup.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace velmora::backup {

namespace {

const QString kEnds = QStringLiteral("\rโปรแกรมจะปิดเดี๋ยวนี้ กรุณาเปิดโปรแกรมใหม่");

// A long step on the bar: its caption, and a busy bar when it has no count.
StepProgress barProgress(QLabel* step, QProgressBar* bar)
{
    return [step, bar, lastPercent = -1](const QString& caption, qint64 done, qint64 total) mutable {
        if (step->text() != caption) {
            step->setText(caption);
            step->repaint();
            lastPercent = -1;
        }
        const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 0;
        if (percent == lastPercent)
            return;
        lastPercent = percent;
        bar->setMaximum(total > 0 ? 100 : 0);
        bar->setValue(percent);
    };
}

} // namespace

TfrmBackup::TfrmBackup(app::Session& session, Mode mode, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
    , m_mode(mode)
{
    const bool backup = mode == Mode::Backup;
    setObjectName(backup ? QStringLiteral("frmBackup") : QStringLiteral("frmRestore"));
    setWindowTitle(backup ? QStringLiteral("สำรองข้อมูล") : QStringLiteral("กู้คืนข้อมูล"));

    Label1 = app::heading(this, "Label1", windowTitle(), "navy");
    lblFolder = app::label(this, "lblFolder", QString());
    m_model = new reports::GridModel(this);
    grdBackups = app::make<QTableView>(this, "grdBackups");
    grdBackups->setModel(m_model);
    grdBackups->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdBackups->setSelectionMode(QAbstractItemView::SingleSelection);
    grdBackups->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdBackups->horizontalHeader()->setStretchLastSection(true);
    m_model->setRightAligned({1, 2, 3});

    auto* buttons = new QHBoxLayout;
    if (backup) {
        btnBackup = app::button(this, "btnBackup", QStringLiteral("สำรองข้อมูลเดี๋ยวนี้"));
        buttons->addWidget(btnBackup);
        connect(btnBackup, &QPushButton::clicked, this, &TfrmBackup::btnBackupClick);
    } else {
        btnRestore = app::button(this, "btnRestore", QStringLiteral("กู้คืนจากสำเนาที่เลือก"));
        btnChooseFile = app::button(this, "btnChooseFile", QStringLiteral("เลือกแฟ้มสำรองอื่น…"));
        buttons->addWidget(btnRestore);
        buttons->addWidget(btnChooseFile);
        connect(btnRestore, &QPushButton::clicked, this, &TfrmBackup::btnRestoreClick);
        connect(btnChooseFile, &QPushButton::clicked, this, &TfrmBackup::btnChooseFileClick);
    }
    btnClose = app::button(this, "btnClose", QStringLiteral("ปิด"));
    buttons->addStretch();
    buttons->addWidget(btnClose);
    connect(btnClose, &QPushButton::clicked, this, &TfrmBackup::btnCloseClick);
    // Enter does the screen's one action (a restore still asks first)
    app::setEnterButton(this, backup ? btnBackup : btnRestore);

    lblStep = app::label(this, "lblStep", QString());
    ProgressBar1 = app::make<QProgressBar>(this, "ProgressBar1");
    ProgressBar1->setValue(0);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(lblFolder);
    layout->addWidget(grdBackups, 1);
    layout->addLayout(buttons);
    layout->addWidget(lblStep);
    layout->addWidget(ProgressBar1);
    resize(900, 520);
    showBackups();
}

TfrmBackup::~TfrmBackup() = default;

void TfrmBackup::inform(const QString& text)
{
    if (m_session.prompter)
        m_session.prompter->inform(this, text);
}

void TfrmBackup::showBackups()
{
    if (!m_session.db)
        return;
    const QString folder = backupFolder(*m_session.db);
    lblFolder->setText(QStringLiteral("โฟลเดอร์สำรองข้อมูล: ") + QDir::toNativeSeparators(folder));
    m_entries = listBackups(folder);
    m_model->setGrid(backupGrid(m_entries));
    grdBackups->resizeColumnsToContents();
    if (!m_entries.empty())
        grdBackups->selectRow(0);
}

void TfrmBackup::btnBackupClick()
{
    if (!m_session.db)
        return;
    const BackupReport r = backupDatabase(*m_session.db, QString(), Check::Full, barProgress(lblStep, ProgressBar1));
    ProgressBar1->setMaximum(100);
    ProgressBar1->setValue(r.ok ? 100 : 0);
    lblStep->clear();
    if (!r.ok) {
        inform(r.error);
        return;
    }
    showBackups();
    inform(QStringLiteral("สำรองข้อมูลแล้ว: %1\rขนาด %2 ไบต์\rค่าห่วงโซ่ล่าสุด (ลำดับที่ %3): %4")
               .arg(QDir::toNativeSeparators(r.file))
               .arg(r.bytes)
               .arg(r.seq)
               .arg(r.chain));
}

void TfrmBackup::btnRestoreClick()
{
    const int row = grdBackups->currentIndex().row();
    if (row < 0 || row >= static_cast<int>(m_entries.size())) {
        inform(QStringLiteral("กรุณาเลือกสำเนาที่จะกู้คืน"));
        return;
    }
    restoreFrom(m_entries[static_cast<size_t>(row)].path);
}

void TfrmBackup::btnChooseFileClick()
{
    const QString path = m_session.prompter->openFileName(
        this, QStringLiteral("เลือกแฟ้มสำรองข้อมูล"), QStringLiteral("สำเนาฐานข้อมูล (*.sqlite);;ทุกแฟ้ม (*)"));
    if (!path.isEmpty())
        restoreFrom(path);
}

void TfrmBackup::restoreFrom(const QString& path)
{
    if (!m_session.db)
        return;
    const QString url = m_session.db->url();
    const StepProgress progress = barProgress(lblStep, ProgressBar1);
    if (m_session.db->backend() != db::Backend::Sqlite) {
        inform(restoreDatabase(url, path).error); // refused: a server is not replaced by a file
        return;
    }
    const FileCheck checked = checkBackupFile(path, Check::Full, progress);
    lblStep->clear();
    if (!checked.ok) {
        inform(QStringLiteral("ไม่กู้คืนข้อมูล: ") + checked.problem);
        return;
    }
    if (!m_session.prompter->confirm(this,
            QStringLiteral("กู้คืนข้อมูลจากสำเนา %1\r(พนักงาน %2 คน การคำนวณที่บันทึก %3 รายการ "
                           "ประวัติการใช้งานถึงลำดับที่ %4)\r"
                           "ฐานข้อมูลปัจจุบันจะถูกเก็บเป็นสำเนาก่อนแล้วจึงถูกแทนที่ เมื่อเสร็จแล้วโปรแกรมจะปิด\r"
                           "กรุณาปิดโปรแกรม Velmora บนเครื่องอื่นที่ใช้ฐานข้อมูลนี้ก่อน")
                .arg(QDir::toNativeSeparators(path))
                .arg(checked.employees)
                .arg(checked.saved)
                .arg(checked.seq)))
        return;
    // The program lets go of the file; it ends whatever the outcome.
    if (m_session.closeDatabase)
        m_session.closeDatabase();
    const RestoreReport r = restoreDatabase(url, path, progress);
    lblStep->clear();
    if (r.ok)
        inform(QStringLiteral("กู้คืนข้อมูลแล้ว\rฐานข้อมูลก่อนกู้คืนเก็บไว้ที่ %1").arg(QDir::toNativeSeparators(r.kept))
            + kEnds);
    else
        inform(r.error + kEnds);
    if (m_session.endProgram)
        m_session.endProgram();
}

void TfrmBackup::btnCloseClick()
{
    app::closeScreen(this);
}

} // namespace velmora::backup
