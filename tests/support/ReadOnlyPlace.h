#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>

#include <unistd.h>

namespace velmora::test {

// Makes a file or a folder unwritable for every process, this one included,
// for the life of the object. An ordinary user loses the write permission;
// for root, whom permissions do not stop, the file gets the immutable
// attribute, which the kernel enforces for everyone. usable() tells whether
// the place really refuses a write (checked, not assumed).
class ReadOnlyPlace
{
public:
    explicit ReadOnlyPlace(QString path)
        : m_path(std::move(path))
        , m_permissions(QFile::permissions(m_path))
    {
        const bool folder = QFileInfo(m_path).isDir();
        QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther;
        if (folder)
            readOnly |= QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther;
        QFile::setPermissions(m_path, readOnly);
        if (geteuid() == 0)
            m_immutable = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), m_path}) == 0;
        if (folder) {
            QFile probe(QDir(m_path).filePath(QStringLiteral(".write-probe")));
            m_usable = !probe.open(QIODevice::WriteOnly);
            if (!m_usable)
                probe.remove();
        } else {
            QFile probe(m_path);
            m_usable = !probe.open(QIODevice::ReadWrite);
        }
    }

    ~ReadOnlyPlace()
    {
        if (m_immutable)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_path});
        QFile::setPermissions(m_path, m_permissions);
    }

    ReadOnlyPlace(const ReadOnlyPlace&) = delete;
    ReadOnlyPlace& operator=(const ReadOnlyPlace&) = delete;

    bool usable() const { return m_usable; }

private:
    QString m_path;
    QFile::Permissions m_permissions;
    bool m_immutable = false;
    bool m_usable = false;
};

} // namespace velmora::test
