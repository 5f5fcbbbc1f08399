#include "util/ShippedFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ShippedFiles {

QStringList Candidates(const QString &programDir, const QString &name)
{
    const QString relative = QLatin1String("tidefetch/") + name;
    QStringList candidates{QDir::cleanPath(programDir + QLatin1String("/../share/") + relative)};
    for (const QString &dataDir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        candidates.append(QDir::cleanPath(dataDir + QLatin1Char('/') + relative));
    // An installation in /usr is found both ways.
    candidates.removeDuplicates();
    return candidates;
}

QString Locate(const QString &programDir, const QString &name)
{
    for (const QString &candidate : Candidates(programDir, name)) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return {};
}

} // namespace ShippedFiles
