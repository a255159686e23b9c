#pragma once

#include "record/recordentry.h"

#include <QByteArray>
#include <QString>

namespace veltra {

// A commissioning certificate for one entry of the record: a one-page PDF
// with the model, its production date, every setting with its unit (as
// read before, as written and as read back), the verdict, when, where and
// by whom, the program's version and a line for a signature. Needs a
// QGuiApplication (fonts).
QByteArray certificatePdf(const RecordEntry &entry);

// The file name a certificate gets in a folder: model, production time and
// the entry's short id, "DVT-14C01_2026-12-09T101530_1a2b3c4d.pdf".
QString certificateFileName(const RecordEntry &entry);

// Writes the certificate to `path`, whole or not at all; false with the
// reason otherwise.
bool writeCertificate(const RecordEntry &entry, const QString &path, QString *why);

} // namespace veltra
