#include "app/MainWindowPages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace app {

// The preview page: the template selector, the print button and the note; the browser that shows
// the generated document joins them with the report generation.
QWidget* buildPreviewPage(QWidget* parent)
{
    auto* page = new QWidget(parent);
    page->setObjectName(QStringLiteral("TabSheet5"));
    auto* layout = new QVBoxLayout(page);
    auto* head = new QHBoxLayout;
    head->addWidget(form::label(QStringLiteral("印刷プレビュー"), page, QStringLiteral("Label22")));
    head->addStretch(1);
    QPushButton* print = form::button(QStringLiteral("Button6"), QStringLiteral("印刷"), page);
    print->setEnabled(false);
    head->addWidget(print);
    layout->addLayout(head);
    auto* selector = new QTabBar(page);
    selector->setObjectName(QStringLiteral("TabControl1"));
    for (const char* caption : {"　　　一括印刷　　　", "　　名称・分類等　　", "　　概　　　　要　　", "　従来技術との比較　", "　　施工実績等　　"})
        selector->addTab(QString::fromUtf8(caption));
    layout->addWidget(selector);
    QLabel* note = form::label(QStringLiteral("※  実際のシステムでは、画面が若干異なります。"), page, QStringLiteral("Label280"));
    note->setStyleSheet(QStringLiteral("color: red;"));
    layout->addWidget(note);
    layout->addStretch(1);
    return page;
}

} // namespace app
