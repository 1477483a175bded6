#include "widgets/NamedChild.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <gtest/gtest.h>

using widgets::namedChild;

// A remembered control is given only while findChild would still give it.
TEST(NamedChild, FindsWhatFindChildFindsAfterEveryChangeOfTheWidgets)
{
    QWidget root;
    auto* page = new QWidget(&root);
    auto* edit = new QLineEdit(page);
    edit->setObjectName(QStringLiteral("TECH_TITLE"));
    auto* label = new QLabel(page);
    label->setObjectName(QStringLiteral("TECH_TITLE"));

    EXPECT_EQ(namedChild<QLineEdit>(&root, QStringLiteral("TECH_TITLE")), edit);
    EXPECT_EQ(namedChild<QLabel>(&root, QStringLiteral("TECH_TITLE")), label) << "the type is part of the name";
    EXPECT_EQ(namedChild<QWidget>(&root, QStringLiteral("TECH_TITLE")), root.findChild<QWidget*>(QStringLiteral("TECH_TITLE")));
    EXPECT_EQ(namedChild<QLineEdit>(page, QStringLiteral("TECH_TITLE")), edit) << "each root remembers its own";

    delete edit;
    EXPECT_EQ(namedChild<QLineEdit>(&root, QStringLiteral("TECH_TITLE")), nullptr);
    auto* again = new QLineEdit(page);
    again->setObjectName(QStringLiteral("TECH_TITLE"));
    EXPECT_EQ(namedChild<QLineEdit>(&root, QStringLiteral("TECH_TITLE")), again) << "a control made after a miss is found";

    again->setObjectName(QStringLiteral("TECH_TITLE2"));
    EXPECT_EQ(namedChild<QLineEdit>(&root, QStringLiteral("TECH_TITLE")), nullptr);
    EXPECT_EQ(namedChild<QLineEdit>(&root, QStringLiteral("TECH_TITLE2")), again);

    QWidget elsewhere;
    again->setParent(&elsewhere);
    EXPECT_EQ(namedChild<QLineEdit>(&root, QStringLiteral("TECH_TITLE2")), nullptr) << "moved out of the root";
    EXPECT_EQ(namedChild<const QLabel>(static_cast<const QWidget*>(&root), QStringLiteral("TECH_TITLE")), label);
}
