#pragma once

#include <QByteArray>
#include <QString>

// The file name a Content-Disposition field offers (RFC 6266): `filename*` in
// the RFC 5987 form (UTF-8 or ISO-8859-1) wins over `filename`, whichever comes
// first; a `filename*` with another charset, or quoted, is ignored. Only the
// last part of a name with "/" or "\" is kept. Empty when the field offers no
// usable name. The name is not yet safe for the disk: FileFolder::SafeFileName.
namespace ContentDisposition {

QString FileName(const QByteArray &field);

} // namespace ContentDisposition
