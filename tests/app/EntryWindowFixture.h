#pragma once

#include "app/MainWindow.h"
#include "store/Table.h"
#include "support/ScriptedUserInteraction.h"
#include "support/TempDir.h"

#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>

#include <memory>

// The main window over a copy of the shipped program folder (with its classification hierarchy),
// for the tests of the entry pages' rules.
class EntryWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString shipped = QStringLiteral(VORDELL_SOURCE_DIR "/data/program");
        QDirIterator it(shipped, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString source = it.next();
            const QString target = dir.filePath(QDir(shipped).relativeFilePath(source));
            QDir().mkpath(QFileInfo(target).path());
            QFile::copy(source, target);
            QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
        }
        QDir(dir.path()).mkpath(QStringLiteral("Images"));
        QDir(dir.path()).mkpath(QStringLiteral("Temp"));
        window = std::make_unique<app::MainWindow>(dir.path());
        ASSERT_TRUE(window->start());
    }

    template <typename T = QWidget>
    T* find(const QString& name) const
    {
        T* control = window->control<T>(name);
        EXPECT_TRUE(control) << name.toStdString();
        return control;
    }
    QString mainField(const QString& name) const
    {
        return window->dm().table(QStringLiteral("NT_TBL_MAIN"))->field(name).asString().trimmed();
    }
    QStringList items(const QString& listName) const
    {
        QStringList result;
        auto* list = find<QComboBox>(listName);
        for (int i = 0; i < list->count(); ++i)
            result.append(list->itemText(i));
        return result;
    }
    // The user picks `title` from a list box (as from its opened list).
    void pick(const QString& listName, const QString& title) const
    {
        auto* list = find<QComboBox>(listName);
        const int index = list->findText(title, Qt::MatchExactly);
        ASSERT_GE(index, 0) << title.toStdString();
        list->setCurrentIndex(index);
        emit list->activated(index);
    }

    testsupport::TempDir dir;
    testsupport::ScriptedUserInteraction ui;
    std::unique_ptr<app::MainWindow> window;
};
