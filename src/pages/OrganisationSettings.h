#pragma once

// The organisation's own data printed on the approval memo: the seal picture,
// the finance office's telephone number, the document reference code and the
// names of the two signatories. Kept in the program's settings (keys under
// "organisation/"), shared by the desktop program and velmora-cli, and edited
// by an officer from the System menu.

#include <QImage>
#include <QString>

namespace velmora::print {

struct OrganisationData
{
    QString sealPath; // a picture file; empty: the seal built into the program
    QString telephone; // printed after "โทร."
    QString referenceCode; // printed after "ที่ ", followed by "/"
    QString preparerName; // the officer who prepares the memo (นักวิชาการเงินและบัญชี)
    QString sectionHeadName; // the head of the finance section (หัวหน้างานการเงิน)
};

// The seal built into the program.
QImage defaultSeal();
// The seal of the data: its picture file when it can be read, else the built-in seal.
QImage sealPicture(const OrganisationData& data);

class OrganisationSettings
{
public:
    // The settings file the program uses (empty) or another one (tests).
    explicit OrganisationSettings(QString file = fileOverride());

    OrganisationData load() const;
    // False when the settings could not be written.
    bool save(const OrganisationData& data) const;

    // When not empty, the file every OrganisationSettings() uses (tests).
    static QString& fileOverride();

private:
    QString m_file;
};

} // namespace velmora::print
