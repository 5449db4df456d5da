#include "pages/OrganisationSettings.h"

#include "db/Config.h"

#include <QFileInfo>
#include <QSettings>

#include <memory>

// Resources of a static library are registered by hand, outside any namespace.
static void initPrintAssets()
{
    Q_INIT_RESOURCE(velmora_print_assets);
}

namespace velmora::print {

namespace {

const QString kSeal = QStringLiteral("organisation/sealPicture");
const QString kTelephone = QStringLiteral("organisation/telephone");
const QString kReference = QStringLiteral("organisation/referenceCode");
const QString kPreparer = QStringLiteral("organisation/preparerName");
const QString kSectionHead = QStringLiteral("organisation/sectionHeadName");

std::unique_ptr<QSettings> open(const QString& file)
{
    if (file.isEmpty()) // the settings of the program and of velmora-cli
        return db::openSettings();
    return std::make_unique<QSettings>(file, QSettings::IniFormat);
}

} // namespace

QImage defaultSeal()
{
    static const QImage seal = [] {
        initPrintAssets();
        return QImage(QStringLiteral(":/velmora/print/seal.png"));
    }();
    return seal;
}

QImage sealPicture(const OrganisationData& data)
{
    if (!data.sealPath.isEmpty()) {
        QImage own(data.sealPath);
        if (!own.isNull())
            return own;
    }
    return defaultSeal();
}

QString& OrganisationSettings::fileOverride()
{
    static QString file;
    return file;
}

OrganisationSettings::OrganisationSettings(QString file)
    : m_file(std::move(file))
{ }

OrganisationData OrganisationSettings::load() const
{
    const auto s = open(m_file);
    OrganisationData d;
    d.sealPath = s->value(kSeal).toString();
    d.telephone = s->value(kTelephone).toString();
    d.referenceCode = s->value(kReference).toString();
    d.preparerName = s->value(kPreparer).toString();
    d.sectionHeadName = s->value(kSectionHead).toString();
    return d;
}

bool OrganisationSettings::save(const OrganisationData& data) const
{
    const auto s = open(m_file);
    s->setValue(kSeal, data.sealPath);
    s->setValue(kTelephone, data.telephone);
    s->setValue(kReference, data.referenceCode);
    s->setValue(kPreparer, data.preparerName);
    s->setValue(kSectionHead, data.sectionHeadName);
    s->sync();
    return s->status() == QSettings::NoError;
}

} // namespace velmora::print
