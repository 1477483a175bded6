#pragma once

#include "app/EditingCycle.h"

#include <QString>

namespace app {

class MainWindow;

// The editing cycle's steps as the main window shows them: the list or the entry pages, the parts
// of the entry pages told of a new, opened, saved or dropped registration, the post-code boxes
// filled from the rows, and the save check of what the pages show.
class EntryPagesScreen : public RegistrationScreen
{
public:
    explicit EntryPagesScreen(MainWindow& window);

    bool showsList() const override;
    void showList() override;
    void showEntryPages() override;
    void clearClassification() override;
    void showNewRegistrationDefaults() override;
    void comparisonCreated() override;
    void showNewRegistration() override;
    void classificationOpened() override;
    void comparisonOpened() override;
    void showPhotoSlots() override;
    void showOpenedRegistration() override;
    void openedRegistrationShown() override;
    bool saveCheckFails() override;
    store::SaveInputs saveInputs() const override;
    void registrationSaved() override;
    QString comparisonTitle() const override;
    void photosSaved(const QString& number) override;
    void photosAbandoned(const QString& number) override;
    void changesDropped() override;
    void putPendingValuesIn(QList<store::TableRows>* tables) const override;
    int entryPage() const override;
    void showEntryPage(int page) override;
    void adoptSetAsidePhotos(const QString& number) override;

    // The entry rules of the save check: the first failing rule's box, its page brought into view,
    // a failing photo's slot emptied and the focus on the rule's control; true when a rule failed.
    bool entryRuleFails();

private:
    void clearPostCodes();
    void fillPostCodes();
    // Sets the text of a box or label; a list is emptied.
    void setText(const QString& name, const QString& text);

    MainWindow& m_window;
};

} // namespace app
