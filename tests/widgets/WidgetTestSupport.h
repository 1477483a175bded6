#pragma once

#include "store/DataSource.h"
#include "store/Table.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

#include <memory>

namespace widgettest {

// A small registration table in memory, positioned on its first row.
inline std::unique_ptr<store::Table> makeTable(const QList<store::Table::RowValues>& rows)
{
    auto table = std::make_unique<store::Table>(QStringLiteral("NT_TBL_TEST"));
    table->setDeclaredFields({store::fixedText("REG_NO", 10), store::text("TECH_TITLE", 20), store::floatField("RESULTS_MOC"),
                              store::fixedText("FLAG", 1), store::text("KIND", 1), store::memo("NOTE")});
    table->setInitialRows(rows);
    table->createDataSet();
    table->first();
    return table;
}

// Shows a window and makes it the active one, so that focus changes happen as on a desktop.
inline bool showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// Moves the keyboard focus to `widget` and waits until it has it.
inline bool focus(QWidget* widget)
{
    widget->setFocus(Qt::TabFocusReason);
    return QTest::qWaitFor([widget] { return widget->hasFocus(); }, 1000);
}

// Types text the way an input method delivers it: one key press per character, any script.
inline void typeText(QWidget* widget, const QString& text)
{
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(widget, &press);
    }
}

} // namespace widgettest
