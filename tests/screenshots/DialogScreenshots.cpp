#include "DialogScreenshots.h"

#include "app/MainWindow.h"
#include "dialogs/EvaluationResultDialog.h"
#include "dialogs/MocRecordDialog.h"
#include "dialogs/OtherContactDialog.h"
#include "dialogs/PrivateRecordDialog.h"
#include "store/Table.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace screenshots {

namespace {

using Fill = std::function<void(app::MainWindow&, QDialog&)>;

void setText(QDialog& dialog, const char* name, const QString& text)
{
    if (auto* edit = dialog.findChild<QLineEdit*>(QLatin1String(name)))
        edit->setText(text);
    else if (auto* memo = dialog.findChild<QPlainTextEdit*>(QLatin1String(name)))
        memo->setPlainText(text);
}

void choose(QDialog& dialog, const char* name, const QString& title)
{
    auto* list = dialog.findChild<QComboBox*>(QLatin1String(name));
    const int index = list->findText(title);
    list->setCurrentIndex(index);
    emit list->activated(index);
}

// Rows of a table of the new registration, each with its identifier and one text.
void addRows(app::MainWindow& window, const QString& tableName, const QString& field, const QStringList& texts)
{
    store::Table* t = window.dm().table(tableName);
    for (int i = 0; i < texts.size(); ++i) {
        t->append();
        t->field(0).setInteger(i + 1);
        t->field(field).setString(texts.at(i));
        t->post();
    }
}

// The dialog of type T taken out of a main window kept for the rest of the tool's run, with the
// row `fill` puts in, as the user sees it while entering.
template <typename T>
Renderer dialogRenderer(const QString& name, const QString& description,
                        std::function<std::unique_ptr<QWidget>(const QString&)> entryWindow, Fill fill)
{
    return {name, description, [entryWindow, fill](const QString& folder) -> std::unique_ptr<QWidget> {
                auto* window = static_cast<app::MainWindow*>(entryWindow(folder).release()); // lives to the end of the run
                auto* dialog = window->findChild<T*>();
                dialog->setParent(nullptr, dialog->windowFlags());
                fill(*window, *dialog);
                return std::unique_ptr<QWidget>(dialog);
            }};
}

} // namespace

std::vector<Renderer> dialogRenderers(std::function<std::unique_ptr<QWidget>(const QString&)> entryWindow)
{
    return {
        dialogRenderer<dialogs::MocRecordDialog>(
            "dialog-moc", QStringLiteral("construction record (ministry) being added, a bureau chosen"), entryWindow,
            [](app::MainWindow& window, QDialog& d) {
                window.dm().table(QStringLiteral("PL_TBL_PROJECT_MOC"))->append();
                setText(d, "PJT_NAME", QStringLiteral("高松港岸壁改良工事"));
                choose(d, "DBLookupComboBox1", QStringLiteral("一般工事"));
                choose(d, "DBLookupComboBox2", QStringLiteral("四国地方整備局"));
                choose(d, "CLIENT_MOC_OFFICE", d.findChild<QComboBox*>(QStringLiteral("CLIENT_MOC_OFFICE"))->itemText(0));
                setText(d, "TALVEN_NO", QStringLiteral("0012345"));
                setText(d, "PJT_START_DATE", QStringLiteral("2004/04/01"));
                setText(d, "PJT_END_DATE", QStringLiteral("2005/03/31"));
            }),
        dialogRenderer<dialogs::PrivateRecordDialog>(
            "dialog-private", QStringLiteral("construction record (other clients) being edited"), entryWindow,
            [](app::MainWindow& window, QDialog& d) {
                addRows(window, QStringLiteral("PL_TBL_PROJECT_PRIVATE"), QStringLiteral("PJT_NAME"),
                        {QStringLiteral("県営港湾整備工事"), QStringLiteral("民間桟橋補修工事")});
                choose(d, "DBLookupComboBox1", d.findChild<QComboBox*>(QStringLiteral("DBLookupComboBox1"))->itemText(0));
                setText(d, "CLIENT_NAME", QStringLiteral("○○県土木部"));
                setText(d, "PJT_START_DATE", QStringLiteral("2006/10/01"));
            }),
        dialogRenderer<dialogs::OtherContactDialog>(
            "dialog-contact", QStringLiteral("other contact being edited, with its post code and position"), entryWindow,
            [](app::MainWindow& window, QDialog& d) {
                addRows(window, QStringLiteral("NT_TBL_COMPANY"), QStringLiteral("SALES_COMPANY_OTHER"),
                        {QStringLiteral("港湾建設株式会社"), QStringLiteral("海洋技研株式会社")});
                store::Table* t = window.dm().table(QStringLiteral("NT_TBL_COMPANY"));
                t->first();
                t->edit();
                t->field(QStringLiteral("SALES_ORDER_OTHER")).setInteger(1);
                t->field(QStringLiteral("SALES_POST_CODE_OTHER")).setString(QStringLiteral("〒105-0001"));
                t->post();
                setText(d, "SALES_SECTION_OTHER", QStringLiteral("技術営業部"));
                setText(d, "SALES_STUFF_OTHER", QStringLiteral("山田 太郎"));
                setText(d, "SALES_ADDRESS_OTHER", QStringLiteral("東京都港区虎ノ門1-1-1"));
                setText(d, "SALES_TEL_NO_OTHER", QStringLiteral("03-1234-5678"));
                setText(d, "SALES_FAX_NO_OTHER", QStringLiteral("03-1234-5679"));
                setText(d, "SALES_E_MAIL_OTHER", QStringLiteral("info@example.jp"));
            }),
        dialogRenderer<dialogs::EvaluationResultDialog>(
            "dialog-evaluation", QStringLiteral("evaluation result being added"), entryWindow,
            [](app::MainWindow& window, QDialog& d) {
                window.dm().table(QStringLiteral("NT_TBL_EVALUATE_RESULT"))->append();
                setText(d, "ITEM", QStringLiteral("耐久性"));
                setText(d, "CONTENTS", QStringLiteral("促進劣化試験（1000時間）により、被覆材の付着強度の変化を確認した。"));
                setText(d, "RESULTS", QStringLiteral("付着強度の低下は10%以内であり、基準を満たした。"));
            }),
    };
}

} // namespace screenshots
