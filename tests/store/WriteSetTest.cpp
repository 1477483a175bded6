#include "store/WriteSet.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <gtest/gtest.h>

using store::WriteSet;

namespace {

WriteSet::Writer writing(const QByteArray& bytes)
{
    return [bytes](QIODevice* device, QString*) { return device->write(bytes) == bytes.size(); };
}

QStringList parts(const testsupport::TempDir& dir)
{
    return QDir(dir.filePath(QStringLiteral("FLATT_FILES"))).entryList({QStringLiteral("*.part")}, QDir::Files | QDir::Hidden);
}

} // namespace

// Sets of one file and of several are put in place whole; a set that cannot be put in place
// reports the file and leaves neither a part nor a journal behind.
TEST(WriteSet, SetsOfOneOrMoreFilesArePutInPlaceOrLeaveNothingBehind)
{
    testsupport::TempDir dir;
    const QString a = dir.write(QStringLiteral("FLATT_FILES/A.cds"), "old a");
    const QString b = dir.write(QStringLiteral("FLATT_FILES/B.cds"), "old b");
    for (const QStringList& targets : {QStringList{a}, QStringList{a, b}}) {
        WriteSet set(dir.path());
        QString error;
        for (const QString& target : targets)
            ASSERT_TRUE(set.stage(target, writing("new " + QFileInfo(target).fileName().toUtf8()), &error));
        EXPECT_TRUE(set.commit(&error)) << error.toStdString();
        for (const QString& target : targets)
            EXPECT_EQ(dir.read(QDir(dir.path()).relativeFilePath(target)), "new " + QFileInfo(target).fileName().toUtf8());
        EXPECT_TRUE(parts(dir).isEmpty());
        EXPECT_FALSE(QFileInfo::exists(WriteSet::journalPath(dir.path())));
    }

    // A folder where the file should be: its rename fails.
    const QString blocked = QFileInfo(dir.write(QStringLiteral("FLATT_FILES/C.cds/inside"), "x")).path();
    {
        WriteSet set(dir.path());
        QString error;
        ASSERT_TRUE(set.stage(blocked, writing("new c"), &error));
        EXPECT_FALSE(set.commit(&error));
        EXPECT_TRUE(error.contains(QStringLiteral("C.cds"))) << error.toStdString();
    }
    EXPECT_TRUE(parts(dir).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(WriteSet::journalPath(dir.path())));
    EXPECT_TRUE(QFileInfo(blocked).isDir());
}
