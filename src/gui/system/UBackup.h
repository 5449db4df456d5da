#pragma once

// The backups of the database (System menu): "สำรองข้อมูล" makes a checked
// backup now, "กู้คืนข้อมูล" puts a chosen backup in the place of the
// database. Both list the backups of the backup folder (date, size,
// employees, saved calculations, the chain's last value) and show a long
// step on a progress bar.

#include "services/Backup.h"

#include <QWidget>

#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;

namespace velmora::reports {
class GridModel;
}

namespace velmora::app {
struct Session;
}

namespace velmora::backup {

class TfrmBackup : public QWidget
{
    Q_OBJECT
public:
    enum class Mode { Backup, Restore };
    TfrmBackup(app::Session& session, Mode mode, QWidget* parent = nullptr);
    ~TfrmBackup() override;

public slots:
    void btnBackupClick();
    void btnRestoreClick();
    void btnChooseFileClick();
    void btnCloseClick();

private:
    void showBackups();
    void restoreFrom(const QString& path);
    void inform(const QString& text);

    app::Session& m_session;
    Mode m_mode;
    std::vector<BackupEntry> m_entries;

    QLabel* Label1 = nullptr;
    QLabel* lblFolder = nullptr;
    QTableView* grdBackups = nullptr;
    QPushButton* btnBackup = nullptr;
    QPushButton* btnRestore = nullptr;
    QPushButton* btnChooseFile = nullptr;
    QPushButton* btnClose = nullptr;
    QLabel* lblStep = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    reports::GridModel* m_model = nullptr;
};

} // namespace velmora::backup
