#pragma once

#include "util/ChoiceQuestion.h"
#include "util/UserInteraction.h"

#include <memory>
#include <vector>

class QMessageBox;
class QWidget;

namespace widgets {

class BusyIndicator;

// The interaction on screen: QMessageBox for the boxes (owned by the active window), QFileDialog
// for the file, save and picture dialogs, QStandardPaths for the desktop folder.
class QtUserInteraction : public UserInteraction, public ChoiceQuestion
{
public:
    QtUserInteraction();
    ~QtUserInteraction() override;
    Button message(Icon icon, const QString& caption, const QString& text, Buttons buttons) override;
    Button choose(Icon icon, const QString& caption, const QString& text, const QString& yesText, const QString& noText) override;
    FileAnswer fileDialog(FileKind kind, const FileRequest& request) override;
    QString desktopFolder() override;
    void workStarted(const QString& what) override;
    void workEnded() override;

    // The box choose() shows: the two answers as buttons with their texts ("復元する" first).
    static std::unique_ptr<QMessageBox> choiceBox(Icon icon, const QString& caption, const QString& text, const QString& yesText,
                                                  const QString& noText, QWidget* parent);

private:
    std::vector<std::unique_ptr<BusyIndicator>> m_work;
};

} // namespace widgets
