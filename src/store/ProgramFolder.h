#pragma once

#include <QString>
#include <QStringList>

namespace store {

// The program folder and the system's relative names in it ("FLATT_FILES\\NT_TBL_MAIN.cds",
// "Temp\\NT_TBL_MAIN.Cds"): backslashes become the platform's separator, and each part of the name
// resolves to an existing entry whatever the case of its letters, since the system writes the same
// file as ".cds" and ".Cds".
class ProgramFolder
{
public:
    explicit ProgramFolder(const QString& root = QString());

    QString root() const { return m_root; }
    // The path of a relative name: the existing entry when one matches without regard to case,
    // otherwise the name as given (for files about to be created).
    QString path(const QString& relative) const;

    QString dataFolder() const { return path(QStringLiteral("FLATT_FILES")); }
    QString tablePath(const QString& table) const { return path(QStringLiteral("FLATT_FILES\\") + table + QStringLiteral(".cds")); }
    QString templatePath(const QString& table) const { return path(QStringLiteral("Zero\\") + table + QStringLiteral(".Cds")); }
    QString tempPath(const QString& fileName) const { return path(QStringLiteral("Temp\\") + fileName); }

    // Resolves `name` inside an existing folder without regard to case.
    static QString resolveIn(const QString& folder, const QString& name);

private:
    QString m_root;
};

} // namespace store
