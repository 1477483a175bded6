#include "widgets/QtUserInteraction.h"

#include "widgets/BusyIndicator.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace widgets {

namespace {

QMessageBox::Icon boxIcon(UserInteraction::Icon icon)
{
    switch (icon) {
    case UserInteraction::Icon::Information: return QMessageBox::Information;
    case UserInteraction::Icon::Warning: return QMessageBox::Warning;
    case UserInteraction::Icon::Error: return QMessageBox::Critical;
    case UserInteraction::Icon::Question: return QMessageBox::Question;
    case UserInteraction::Icon::None: return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

// "新技術データ|*.lzh" becomes "新技術データ (*.lzh)".
QString qtFilter(const QString& filter)
{
    const qsizetype bar = filter.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return filter;
    QString patterns = filter.mid(bar + 1);
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    return QStringLiteral("%1 (%2)").arg(filter.left(bar), patterns);
}

} // namespace

QtUserInteraction::QtUserInteraction() = default;
QtUserInteraction::~QtUserInteraction() = default;

UserInteraction::Button QtUserInteraction::message(Icon icon, const QString& caption, const QString& text, Buttons buttons)
{
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::NoButton, QApplication::activeWindow());
    const QList<QPair<Button, QMessageBox::StandardButton>> order = {
        {Yes, QMessageBox::Yes}, {No, QMessageBox::No}, {Ok, QMessageBox::Ok}, {Cancel, QMessageBox::Cancel}};
    for (const auto& [ours, theirs] : order) {
        if (buttons.testFlag(ours))
            box.addButton(theirs);
    }
    if (buttons == NoButton)
        box.addButton(QMessageBox::Ok);
    const BusyIndicator::Pause boxHasTheScreen;
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const auto& [ours, theirs] : order) {
        if (theirs == clicked)
            return ours;
    }
    // Closed with Escape or the window's close button.
    return buttons.testFlag(Cancel) ? Cancel : buttons.testFlag(No) ? No : Ok;
}

std::unique_ptr<QMessageBox> QtUserInteraction::choiceBox(Icon icon, const QString& caption, const QString& text, const QString& yesText,
                                                         const QString& noText, QWidget* parent)
{
    auto box = std::make_unique<QMessageBox>(boxIcon(icon), caption, text, QMessageBox::NoButton, parent);
    box->setDefaultButton(box->addButton(yesText, QMessageBox::AcceptRole));
    box->addButton(noText, QMessageBox::RejectRole);
    return box;
}

UserInteraction::Button QtUserInteraction::choose(Icon icon, const QString& caption, const QString& text, const QString& yesText,
                                                  const QString& noText)
{
    const std::unique_ptr<QMessageBox> box = choiceBox(icon, caption, text, yesText, noText, QApplication::activeWindow());
    const BusyIndicator::Pause boxHasTheScreen;
    box->exec();
    return box->clickedButton() == box->defaultButton() ? Yes : No;
}

UserInteraction::FileAnswer QtUserInteraction::fileDialog(FileKind kind, const FileRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.caption,
                       request.folder.isEmpty() ? desktopFolder() : request.folder);
    dialog.setAcceptMode(kind == FileKind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(kind == FileKind::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters;
    for (const QString& filter : request.filters)
        filters.append(qtFilter(filter));
    if (kind == FileKind::Picture && filters.isEmpty())
        filters.append(QStringLiteral("画像 (*.jpg *.jpeg *.gif)"));
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 0 && request.filterIndex < filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex));
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);

    int filterIndex = request.filterIndex;
    // The system dialog cannot be told to put a file name on a filter change; Qt's own can.
    if (!request.fileNameForFilter.isEmpty())
        dialog.setOption(QFileDialog::DontUseNativeDialog);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& chosen) {
        filterIndex = int(filters.indexOf(chosen));
        if (!request.fileNameForFilter.isEmpty())
            dialog.selectFile(request.fileNameForFilter.value(filterIndex));
    });
    const BusyIndicator::Pause boxHasTheScreen;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {QString(), filterIndex};
    return {QDir::toNativeSeparators(dialog.selectedFiles().constFirst()), int(filters.indexOf(dialog.selectedNameFilter()))};
}

void QtUserInteraction::workStarted(const QString& what)
{
    m_work.push_back(std::make_unique<BusyIndicator>(what, QApplication::activeWindow()));
}

void QtUserInteraction::workEnded()
{
    if (!m_work.empty())
        m_work.pop_back();
}

QString QtUserInteraction::desktopFolder()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return QDir(desktop).exists() ? desktop : QDir::homePath();
}

} // namespace widgets
