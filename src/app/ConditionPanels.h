#pragma once

#include "entry/Conditions.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

#include <functional>

class QWidget;

namespace store {
class DataModule;
class Table;
}

namespace widgets {
class FieldLink;
}

namespace app {

// The construction-condition area of the summary page: builds the six items' panels from the
// definition file for a level-3 code, puts an item's row into edit mode when its check boxes or
// radio buttons are used, checks the ranges, and hands the controls' values to the rows at save.
// The controls are found by their names below `root` (the main window).
class ConditionPanels : public QObject
{
    Q_OBJECT

public:
    struct Hooks
    {
        std::function<bool()> isModified;        // the save button's enabled state
        std::function<void(bool)> setModified;   // MarkModified (true) or MarkSaved (false)
    };

    ConditionPanels(QWidget* root, store::DataModule& dm, Hooks hooks, QObject* parent = nullptr);

    // Rebuilds the condition area for `code` (empty: no classification chosen), under the hourglass.
    void LoadConstConditions(const QString& code);
    // True when the panels were last built for another registration than the current one.
    bool builtForAnotherRegistration() const;
    // The rows were dropped or loaded again: what the last rebuild set up no longer holds, and the
    // next showing of the summary page builds the panels anew.
    void forgetBuild();
    // The registration is left without a change: the rows only the rebuild began or rewrote are
    // abandoned, so that no later save of any registration posts them.
    void abandonRebuiltRows();
    // The code the summary page rebuilds with: LEVEL3_COMBO when the three levels of slot 1 are
    // all filled, empty otherwise.
    QString currentLevel3Code() const;
    // The save step of the conditions: the row clean-up, then every item handed to its row.
    void saveConditions();
    // The check boxes and radio buttons of item n (1 … 6) as they stand.
    conditions::ItemControls controlsOf(int item) const;
    // Saving item n (1 … 6) with the kind in its TYPE box.
    void PutDataConst(int item);
    // After NT_TBL_CONST_CONDITION itself was posted.
    void CdsCnstDataChk();
    // Check box k (1 … 42) or radio button k (1 … 12) is about to change: its item's row edits.
    void checkBoxToggled(int k);
    void radioButtonChosen(int k);
    // A check box or radio button of item n was used: the item's row holds the choices at once, so
    // that a rebuild of the area shows them again and a discard drops them with the row's edit.
    void choiceMade(int item);
    // The focus left the range panel of item n: an upper bound below the lower one is reported.
    void ChkTypR(int item);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <typename T = QWidget>
    T* control(const QString& name) const;
    store::Table* view(int item) const;
    QString currentRegNo() const;
    // The item panels hidden; hideAll also hides and clears the check boxes.
    void hidePanels();
    void hideAll();
    // The summary page's panel fitted to the items now shown.
    void fitPage();
    void showItem(int item, const conditions::ItemDefinition& definition);
    void setItemFields(int item, const conditions::ItemDefinition& definition);
    // The kind box of item n shows `kind` without touching its row.
    void showKind(int item, const QString& kind);
    // Whether item n's row is stored and carries the definition's order, kind, name and unit.
    bool rowMatches(int item, const conditions::ItemDefinition& definition) const;
    void watchControls();
    // The links of the item's value boxes (number, range bounds, text), bound to the item's row.
    QList<widgets::FieldLink*> valueLinks(int item) const;
    void writePendingValues();
    void dropPendingValuesOfHiddenBoxes();
    // The kind in item n's TYPE box, as of the last rebuild.
    QString itemKind(int item) const;
    void onFocusChanged(QWidget* old, QWidget* now);

    QWidget* m_root;
    store::DataModule& m_dm;
    Hooks m_hooks;
    QString m_builtFor; // REG_NO of the registration the panels were last built for
    QSet<int> m_rebuiltOnly; // items whose pending row only the rebuild changed
    QHash<int, QString> m_kinds; // the kind of each item at the last rebuild (empty: not defined)
};

} // namespace app
