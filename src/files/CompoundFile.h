#pragma once

// The compound file (the container of an .xls workbook): a file of equal
// sectors, an allocation table chaining them into streams, a directory naming
// the streams, and a mini stream of 64-byte sectors for the small ones.
// Everything in it comes from an untrusted file: every header field, every
// sector index and every chain is checked before it is used, and a chain that
// loops or leaves the file is refused.

#include <QByteArray>
#include <QString>

namespace velmora::import {

// Copies the stream named `streamName` (case-insensitive, as the directory
// compares names) out of the compound file `file`. Returns false, with a short
// reason in *why when given, if the file is not a well-formed compound file or
// holds no such stream.
bool readCompoundStream(const QByteArray& file, const QString& streamName, QByteArray* out, QString* why = nullptr);

} // namespace velmora::import
