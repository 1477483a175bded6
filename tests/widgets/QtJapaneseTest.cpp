#include "widgets/QtJapanese.h"

#include <QApplication>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

// Qt's own texts read Japanese whatever the system's locale (the tests run under C.UTF-8).
TEST(QtJapanese, MessageBoxButtonsAndFileDialogCaptionsAreJapaneseUnderAnotherLocale)
{
    ASSERT_NE(QLocale::system().language(), QLocale::Japanese);
    ASSERT_TRUE(widgets::installQtJapanese(*qApp)) << "Qt's Japanese translation is not installed";

    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith(QStringLiteral("はい"))) << box.button(QMessageBox::Yes)->text().toStdString();
    EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith(QStringLiteral("いいえ")));
    EXPECT_TRUE(box.button(QMessageBox::Cancel)->text().startsWith(QStringLiteral("キャンセル")));

    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    for (const auto label : {QFileDialog::LookIn, QFileDialog::FileName, QFileDialog::FileType, QFileDialog::Accept}) {
        const QString text = dialog.labelText(label);
        EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x3000; })) << text.toStdString();
    }

    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}
