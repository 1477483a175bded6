#include "util/HelpWindow.h"

#include "util/HelpText.h"
#include "util/UserInteraction.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

HelpWindow::HelpWindow(const QString& programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_memo(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("HelpFrm"));
    setWindowTitle(QStringLiteral("ヘルプ"));
    resize(640, 480);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->setReadOnly(true);
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_memo);

    QStringList lines;
    m_read = helptext::readHelpLines(programFolder, &lines);
    m_memo->setPlainText(lines.join(QLatin1Char('\n')));
    if (!m_read)
        UserInteraction::current().warn(helptext::kMissingCaption, helptext::kMissingMessage);
}

void HelpWindow::showCentred()
{
    if (!isVisible()) {
        if (QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
}
